// A database another user holds locked (busy SQLite, a PostgreSQL table lock)
// or that rolls a transaction back itself: one lock wait per save, every
// transaction ended, no zone half-written, and the host tells the operator.
// The database gone: a file that is no database is named so and left alone;
// with PostgreSQL stopped hard mid-dialog OK saves nothing and says so, no
// dialog opens on the dead connection, and once it is back the host reconnects.
#include "tests/reliability/HostFixture.h"

#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <unistd.h>

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

TEST(CorruptFile, IsReportedAsNoDatabaseAndLeftAsItWas) {
    QTemporaryDir dir;
    QFile f(dir.filePath(QStringLiteral("site.db")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(QByteArray(4096, 'x')) == 4096);  // not SQLite's header
    f.close();
    QProcess czhost;
    czhost.start(QCoreApplication::applicationDirPath() + QStringLiteral("/czhost"),
                 {QStringLiteral("--database"), f.fileName(), QStringLiteral("--screenshot"), dir.filePath(QStringLiteral("shot.png"))});
    ASSERT_TRUE(czhost.waitForFinished(60000));
    const QString err = QString::fromLocal8Bit(czhost.readAllStandardError());
    EXPECT_EQ(czhost.exitCode(), 1);
    EXPECT_TRUE(err.contains(QStringLiteral("is not a database")) && !err.contains(QStringLiteral("creating the demo database"))) << err.toStdString();
    EXPECT_EQ(f.size(), 4096);
}

// A cluster of the test's own, so stopping it disturbs no test beside it, with
// a database "zones"; run as the server's user when we are root.
class OwnServer {
public:
    OwnServer() {
        if (!QFileInfo::exists(bin("pg_ctl"))) return;
        if (geteuid() == 0) QProcess::execute(QStringLiteral("chown"), {QStringLiteral("postgres:"), dir_.path()});
        ready_ = run({bin("initdb"), "-D", data(), "-A", "trust", "-U", "postgres", "-E", "UTF8", "--no-sync"}) && start() &&
                 run({bin("createdb"), "-h", dir_.path(), "-p", QString::number(port_), "-U", "postgres", "zones"});
    }
    ~OwnServer() { if (QFileInfo::exists(data() + QStringLiteral("/postmaster.pid"))) stopImmediately(); }
    bool start() {
        const QString options = QStringLiteral("-k %1 -c listen_addresses='' -p %2 -c fsync=off").arg(dir_.path()).arg(port_);
        return run({bin("pg_ctl"), "-D", data(), "-w", "-t", "60", "-o", options, "start"});
    }
    // As a crash would: no checkpoint, every connection cut.
    bool stopImmediately() { return run({bin("pg_ctl"), "-D", data(), "-m", "immediate", "-w", "stop"}); }
    QString zones() const { return QStringLiteral("postgresql://postgres@/zones?host=%1&port=%2").arg(dir_.path()).arg(port_); }
    bool ready_ = false;

private:
    static QString bin(const char* tool) { return qEnvironmentVariable("PGBIN", QStringLiteral("/usr/lib/postgresql/15/bin")) + QLatin1Char('/') + QLatin1String(tool); }
    QString data() const { return dir_.filePath(QStringLiteral("data")); }
    static bool run(QStringList args) {
        if (geteuid() == 0) args = QStringList{"runuser", "-u", "postgres", "--"} + args;
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(args.takeFirst(), args);
        const bool ok = p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
        if (!ok) std::fprintf(stderr, "%s", p.readAll().constData());
        return ok;
    }
    QTemporaryDir dir_;
    int port_ = 20000 + static_cast<int>(QRandomGenerator::global()->bounded(40000));
};

class ServerRestart : public ::testing::Test, public HostDriver {};

TEST_F(ServerRestart, TheSaveFailsLoudlyAndTheHostReconnectsOnceTheServerIsBack) {
    OwnServer server;
    if (!server.ready_) {
        if (testsupport::postgresRequired()) FAIL() << "no PostgreSQL cluster could be started";
        GTEST_SKIP() << "no PostgreSQL here";
    }
    database::Connection conn;
    conn.Open(server.zones());
    hostdb::createSchema(conn);
    hostdb::seedDemo(conn);
    czhost::registerStandIns();
    startHost(&conn);
    const auto name3 = [&] { return conn.fetchAll(QStringLiteral("select name from controllerstdcontrolzones where controllerid = 5 and controlzoneindex = 3")).rows.value(0).value(0).toString(); };

    open();
    rename(3, QStringLiteral("Lost in the crash"));
    rename(200, QStringLiteral("Lost too"));
    ASSERT_TRUE(server.stopImmediately());
    ok();
    EXPECT_FALSE(form().isLoaded()) << "OK closes the dialog after the saves, whatever they met";
    EXPECT_FALSE(conn.inTransaction());
    EXPECT_TRUE(report().contains(QStringLiteral("save step(s) failed"))) << report().toStdString();
    EXPECT_TRUE(fallbackWritten()) << "the error rows the dead database refused are in the host's file";

    // Still down: one clear message, and no dialog on a dead connection.
    boxes.boxes.clear();
    host->openControlZones(Warehouse);
    EXPECT_FALSE(form().isLoaded());
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_TRUE(boxes.boxes.first().text.startsWith(QLatin1String("The control zones cannot be opened: the connection to the database was lost")))
        << boxes.boxes.first().text.toStdString();

    ASSERT_TRUE(server.start());
    boxes.boxes.clear();
    open();
    EXPECT_NE(form().state().SCZArray(3).Name, QStringLiteral("Lost in the crash"));
    rename(3, QStringLiteral("Saved after the restart"));
    ok();
    EXPECT_TRUE(boxes.boxes.isEmpty());
    EXPECT_EQ(name3(), QStringLiteral("Saved after the restart"));
    EXPECT_EQ(conn.fetchAll(QStringLiteral("select count(*) from downloadqueue")).rows.value(0).value(0).toInt(), 1) << "nothing of the first OK was saved";
}

}  // namespace
