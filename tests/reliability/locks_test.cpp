// A database another user holds locked (busy SQLite, a PostgreSQL table lock)
// or that rolls a transaction back itself: one lock wait per save, every
// transaction ended, no zone half-written, and the host tells the operator.
#include "tests/reliability/HostFixture.h"

using namespace reliability;

namespace {

const QList<int> kFive{3, 40, 191, 192, 230};

class LockedDatabase : public HostTest {
protected:
    static void editFive() { for (int n : kFive) rename(n, QStringLiteral("Renamed %1").arg(n)); }
    void expectNoZoneSaved(int events = 0, int commands = 0) {
        for (int n : kFive) EXPECT_NE(stored(n), QStringLiteral("Renamed %1").arg(n)) << "zone " << n;
        EXPECT_EQ(db().count(QStringLiteral("eventlog")), events);
        EXPECT_EQ(db().count(QStringLiteral("downloadqueue")), commands);
    }
    database::Connection other;
};

// A second writer holds the zone tables: the first update waits once, every later statement that meets the lock fails at once.
TEST_P(LockedDatabase, AWriterHoldingTheZoneTablesCostsOneWait) {
    open();
    other.Open(db().connectionString());
    if (isPostgres()) other.beginTransaction();
    other.execute(pick("BEGIN IMMEDIATE", "LOCK TABLE controllerstdcontrolzones, controllermastercontrolzones IN EXCLUSIVE MODE"));
    editFive();
    ok();
    EXPECT_EQ(conn->lockWaits(), 1);
    // Every zone update met the lock (on SQLite the commands, events and error rows too).
    EXPECT_TRUE(isPostgres() ? conn->lockFailures() == 5 : conn->lockFailures() >= 5) << conn->lockFailures();
    other.Close();
    // PostgreSQL locks only the zone tables. Each save's first failure ends its transaction and drops the
    // controller object, which its first written row then fetches: that row's command is queued, no later
    // one; every changed zone gets its event.
    isPostgres() ? expectNoZoneSaved(5, 2) : expectNoZoneSaved();
    const QString text = report();
    EXPECT_TRUE(!isPostgres() || text.contains(QStringLiteral("Download commands queued for: SCZ 3, MCZ 192"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("locked by another user"))) << text.toStdString();
}

TAMRIK_ON_BOTH_ENGINES(LockedDatabase);

// A reader's lock and a trigger's ROLLBACK are SQLite's.
class SQLiteFile : public LockedDatabase {};

// A reader holds its lock past the timeout: each COMMIT fails and is rolled
// back with the commands and events (the master zones' save opens its own
// transaction as usual). Then a trigger's ROLLBACK takes the standard zones'
// earlier writes along, while the master zones' transaction is untouched.
TEST_P(SQLiteFile, FailedCommitsAndEngineRollbacksAreToldWithWhatTheyTookAlong) {
    open();
    other.Open(db().connectionString());
    other.execute(QStringLiteral("BEGIN"));
    other.fetchAll(QStringLiteral("select count(*) from controllerstdcontrolzones"));
    editFive();
    ok();
    EXPECT_EQ(conn->lockWaits(), 1);
    other.Close();
    expectNoZoneSaved();
    QString text = report();
    EXPECT_EQ(text.count(QStringLiteral("could not be committed and was rolled back")), 2) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Taken back by a rollback (not saved): SCZ 3, SCZ 40, SCZ 191, MCZ 192, MCZ 230"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Download commands queued for: none"))) << text.toStdString();

    boxes.boxes.clear();
    conn->write(QStringLiteral("create trigger refuse before update on controllerstdcontrolzones when new.controlzoneindex = 40 "
                               "begin select raise(rollback, 'refused by a trigger'); end"));
    open();
    rename(3, QStringLiteral("Taken back"));
    rename(40, QStringLiteral("Refused"));
    rename(200, QStringLiteral("Kept"));
    ok();
    EXPECT_EQ(conn->lockWaits(), 1) << "no lock left to wait for";
    EXPECT_FALSE(conn->inTransaction());
    EXPECT_EQ(QStringList({stored(3), stored(40), stored(200)}).filter(QRegularExpression("^(Taken back|Refused|Kept)$")), QStringList{"Kept"});
    text = report();
    EXPECT_TRUE(text.contains(QStringLiteral("refused by a trigger"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Taken back by a rollback (not saved): SCZ 3"))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Engines, SQLiteFile, ::testing::Values(testsupport::Engine::SQLite), testsupport::EngineParamName());

}  // namespace
