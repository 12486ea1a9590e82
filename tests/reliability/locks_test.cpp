// A database another user holds locked, or one that cannot be written at all:
// the save waits for a lock once, ends every transaction it opened, leaves no
// zone half-written, and the operator hears of it from the host.
#include "tests/reliability/HostFixture.h"

#include <QStatusBar>

using namespace reliability;

namespace {

class LockedDatabase : public HostTest {
protected:
    // Three standard and two master zones changed; none of them may land.
    void editFiveZones() {
        for (int n : {3, 40, 191}) renameSCZ(n, QStringLiteral("Renamed %1").arg(n));
        for (int n : {192, 230}) renameMCZ(n, QStringLiteral("Renamed %1").arg(n));
    }
    void expectNothingSaved() {
        for (int n : {3, 40, 191, 192, 230}) EXPECT_NE(storedName(n), QStringLiteral("Renamed %1").arg(n)) << "zone " << n;
        EXPECT_EQ(db().count(QStringLiteral("eventlog")), 0);
        EXPECT_EQ(db().count(QStringLiteral("downloadqueue")), 0);
    }
    std::unique_ptr<database::Connection> other;
};

// A second writer holds the zone tables: the first update waits once; every
// later statement that meets the lock fails at once.
TEST_P(LockedDatabase, AWriterHoldingTheZoneTablesCostsOneWait) {
    open();
    other = std::make_unique<database::Connection>();
    other->Open(db().connectionString());
    if (isPostgres()) {
        other->beginTransaction();
        other->execute(QStringLiteral("LOCK TABLE controllerstdcontrolzones, controllermastercontrolzones IN EXCLUSIVE MODE"));
    } else {
        other->execute(QStringLiteral("BEGIN IMMEDIATE"));
    }
    editFiveZones();
    ok();
    EXPECT_FALSE(form().isLoaded());
    EXPECT_EQ(conn->lockWaits(), 1);
    // Every zone update met the lock (on SQLite the commands, events and error rows too).
    if (isPostgres()) EXPECT_EQ(conn->lockFailures(), 5);
    else EXPECT_GE(conn->lockFailures(), 5);
    other.reset();  // the lock goes; the error rows that could not wait are where the report says
    if (isPostgres()) {
        // Only the zone tables are locked. The save's carry-on rule: each save's
        // first failure ends its transaction and drops the controller object,
        // which its first written row then fetches, so that row's command is
        // queued and no later one; every changed zone gets its event.
        for (int n : {3, 40, 191, 192, 230}) EXPECT_NE(storedName(n), QStringLiteral("Renamed %1").arg(n)) << "zone " << n;
        EXPECT_EQ(db().count(QStringLiteral("eventlog")), 5);
        EXPECT_EQ(db().count(QStringLiteral("downloadqueue")), 2);
        EXPECT_TRUE(reports().value(0).contains(QStringLiteral("Download commands queued for: SCZ 3, MCZ 192"))) << reports().value(0).toStdString();
    } else {
        expectNothingSaved();
    }
    ASSERT_EQ(reports().size(), 1);
    const QString report = reports().first();
    EXPECT_TRUE(report.contains(QStringLiteral("locked by another user"))) << report.toStdString();
    // Each logged failure is one error row, in the database or, refused there, in the host's file.
    const qlonglong logged = db().count(QStringLiteral("errorlog")) + fallbackLines().size();
    EXPECT_TRUE(report.contains(QStringLiteral("%1 save step(s) failed").arg(logged))) << report.toStdString();
    if (!isPostgres()) {
        EXPECT_FALSE(fallbackLines().isEmpty()) << "SQLite refuses the error rows too: they go to the host's file";
    }
}

// A reader holds its read lock past the timeout: each COMMIT fails, is rolled
// back (the master zone save then opens its own transaction as usual), and
// the commands and events go with it.
// A reader's lock and a read-only file are SQLite's (PostgreSQL readers do not block a commit).
class SQLiteFile : public LockedDatabase {};

TEST_P(SQLiteFile, AReaderHoldingTheFileRollsBothSavesBack) {
    open();
    other = std::make_unique<database::Connection>();
    other->Open(db().connectionString());
    other->execute(QStringLiteral("BEGIN"));
    other->fetchAll(QStringLiteral("select count(*) from controllerstdcontrolzones"));
    editFiveZones();
    ok();
    EXPECT_EQ(conn->lockWaits(), 1);
    other.reset();
    expectNothingSaved();
    ASSERT_EQ(reports().size(), 1);
    const QString report = reports().first();
    EXPECT_EQ(report.count(QStringLiteral("could not be committed and was rolled back")), 2) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Taken back by a rollback (not saved): SCZ 3, SCZ 40, SCZ 191, MCZ 192, MCZ 230")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Download commands queued for: none"))) << report.toStdString();
    EXPECT_FALSE(conn->inTransaction());

    // The lock gone, the next save waits normally again and goes through.
    boxes.boxes.clear();
    open();
    renameSCZ(3, QStringLiteral("Renamed 3"));
    ok();
    EXPECT_EQ(storedName(3), QStringLiteral("Renamed 3"));
    EXPECT_TRUE(reports().isEmpty());
}

// A file the host may only read: every write is refused without a wait.
TEST_P(SQLiteFile, AReadOnlyFileSavesNothingAndSaysSo) {
    database::Connection readOnly;
    readOnly.Open(db().connectionString() + QStringLiteral("?mode=ro"));
    startHost(&readOnly);
    open();
    editFiveZones();
    ok();
    EXPECT_EQ(readOnly.lockWaits(), 0);
    EXPECT_FALSE(readOnly.inTransaction());
    expectNothingSaved();
    ASSERT_EQ(reports().size(), 1);
    EXPECT_TRUE(reports().first().contains(QStringLiteral("readonly"))) << reports().first().toStdString();
    EXPECT_FALSE(fallbackLines().isEmpty());
    EXPECT_TRUE(host->statusBar()->currentMessage().contains(QStringLiteral("could not be written to the database")))
        << host->statusBar()->currentMessage().toStdString();
    EXPECT_EQ(db().count(QStringLiteral("errorlog")), 0);
    host.reset();
}

TAMRIK_ON_BOTH_ENGINES(LockedDatabase);
INSTANTIATE_TEST_SUITE_P(Engines, SQLiteFile, ::testing::Values(testsupport::Engine::SQLite), testsupport::EngineParamName());

}  // namespace
