// PostgreSQL stopped hard while the dialog is open: OK saves nothing, and the
// operator hears of it; the host never opens the dialog on a dead connection;
// once the server is back the host reconnects and the save goes through.
// The server is a cluster of this test's own, so stopping it disturbs no
// test running beside it.
#include "tests/reliability/HostFixture.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <unistd.h>

using namespace reliability;

namespace {

class OwnServer {
public:
    OwnServer() {
        const QString bin = qEnvironmentVariable("PGBIN", QStringLiteral("/usr/lib/postgresql/15/bin"));
        pgCtl_ = bin + QStringLiteral("/pg_ctl");
        if (!QFileInfo::exists(pgCtl_)) return;
        dir_ = std::make_unique<QTemporaryDir>();
        if (geteuid() == 0) run({QStringLiteral("chown"), QStringLiteral("postgres:"), dir_->path()}, false);
        port_ = 20000 + static_cast<int>(QRandomGenerator::global()->bounded(40000));
        ready_ = server({bin + QStringLiteral("/initdb"), QStringLiteral("-D"), data(), QStringLiteral("-A"), QStringLiteral("trust"),
                         QStringLiteral("-U"), QStringLiteral("postgres"), QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--no-sync")}) &&
                 start();
    }
    ~OwnServer() {
        if (ready_) stopImmediately();
    }
    bool ready() const { return ready_; }
    bool start() {
        return server({pgCtl_, QStringLiteral("-D"), data(), QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("60"), QStringLiteral("-o"),
                       QStringLiteral("-k %1 -c listen_addresses='' -p %2 -c fsync=off").arg(dir_->path()).arg(port_), QStringLiteral("start")});
    }
    // As a crash would: no checkpoint, every connection cut.
    bool stopImmediately() {
        return server({pgCtl_, QStringLiteral("-D"), data(), QStringLiteral("-m"), QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
    }
    QString connectionString(const QString& db) const {
        return QStringLiteral("postgresql://postgres@/%1?host=%2&port=%3").arg(db, dir_->path()).arg(port_);
    }

private:
    QString data() const { return dir_->filePath(QStringLiteral("data")); }
    // As the server's own user when we are root (it refuses to run as root).
    bool server(QStringList args) {
        if (geteuid() == 0) args = QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")} + args;
        return run(geteuid() == 0 ? QStringList{QStringLiteral("runuser")} + args : args, true);
    }
    static bool run(QStringList args, bool quietOutput) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        const QString program = args.takeFirst();
        p.start(program, args);
        if (!p.waitForFinished(120000)) return false;
        if (p.exitCode() != 0 || !quietOutput) std::fprintf(stderr, "%s", p.readAll().constData());
        return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    }

    QString pgCtl_;
    std::unique_ptr<QTemporaryDir> dir_;
    int port_ = 0;
    bool ready_ = false;
};

class ServerRestart : public ::testing::Test, public HostDriver {
protected:
    void TearDown() override { closeHost(); }
};

TEST_F(ServerRestart, TheSaveFailsLoudlyAndTheHostReconnectsOnceTheServerIsBack) {
    OwnServer server;
    if (!server.ready()) {
        if (testsupport::postgresRequired()) FAIL() << "no PostgreSQL cluster could be started";
        GTEST_SKIP() << "no PostgreSQL here";
    }
    {
        database::Connection admin;
        admin.Open(server.connectionString(QStringLiteral("postgres")));
        admin.execute(QStringLiteral("create database zones"));
    }
    database::Connection conn;
    conn.Open(server.connectionString(QStringLiteral("zones")));
    hostdb::createSchema(conn);
    hostdb::seedDemo(conn);
    czhost::registerStandIns();
    startHost(&conn);
    const QString before = conn.fetchAll(nameQuery(3)).rows.value(0).value(0).toString();

    open();
    renameSCZ(3, QStringLiteral("Lost in the crash"));
    renameMCZ(200, QStringLiteral("Lost too"));
    ASSERT_TRUE(server.stopImmediately());
    ok();
    EXPECT_FALSE(form().isLoaded()) << "OK closes the dialog after the saves, whatever they met";
    EXPECT_FALSE(conn.inTransaction());
    ASSERT_EQ(reports().size(), 1);
    EXPECT_TRUE(reports().first().contains(QStringLiteral("save step(s) failed"))) << reports().first().toStdString();
    EXPECT_FALSE(fallbackLines().isEmpty()) << "the error rows the dead database refused are in the host's file";

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
    EXPECT_EQ(form().state().SCZArray(3).Name, before) << "nothing of the first OK was saved";
    renameSCZ(3, QStringLiteral("Saved after the restart"));
    ok();
    EXPECT_TRUE(boxes.boxes.isEmpty());
    EXPECT_EQ(conn.fetchAll(nameQuery(3)).rows.value(0).value(0).toString(), QStringLiteral("Saved after the restart"));
    EXPECT_EQ(conn.fetchAll(QStringLiteral("select count(*) from downloadqueue")).rows.value(0).value(0).toInt(), 1);
}

}  // namespace
