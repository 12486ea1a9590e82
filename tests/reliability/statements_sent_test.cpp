// What an open and an OK send, as the connection's statement hook sees them:
// every read the load makes and one write of each kind per saved zone, each
// in one round trip once the session has prepared it, and savepoints only
// where a failure would otherwise cost the transaction (PostgreSQL), one per
// batch of statements.
#include "tests/reliability/HostFixture.h"

#include <QSet>

using namespace reliability;
using Statement = database::Connection::Statement;

namespace {

class StatementsSent : public HostTest {
protected:
    // The statements `operation` sends, the connection's own included.
    QList<Statement> record(const std::function<void()>& operation) {
        QList<Statement> sent;
        conn->setStatementHook([&](const Statement& s) { return sent << s, false; });
        operation();
        conn->setStatementHook(nullptr);
        return sent;
    }
    // How many of the caller's statements match.
    static int count(const QList<Statement>& sent, const QString& pattern) {
        const QRegularExpression re(pattern, QRegularExpression::CaseInsensitiveOption);
        return static_cast<int>(std::count_if(sent.begin(), sent.end(), [&](const Statement& s) { return !s.own && re.match(s.sql).hasMatch(); }));
    }
    QString procedure(const char* name) {
        const QString sql = QStringLiteral("select sql_text from sys_procedures where name = '%1' and engine = '%2'");
        return QRegularExpression::escape(db().scalar(sql.arg(QLatin1String(name), pick("sqlite", "postgresql"))).toString());
    }
};

TEST_P(StatementsSent, AnOpenMakesEveryReadOfTheLoadInOneRoundTripEachAndAddsNoObjects) {
    // The session reads its procedures, then prepares what it calls again (the Server Room's type: two base relays).
    for (int controller : {hostdb::demo::ServerRoom, Warehouse}) open(controller), cancel();
    const qsizetype objects = host->findChildren<QObject*>().size();  // the window's widgets included
    const QList<Statement> sent = record([&] { open(), cancel(); });
    EXPECT_EQ(host->findChildren<QObject*>().size(), objects) << "the per-tab rights each load asks for are the same objects every time";
    const int mapRows = db().scalar(QStringLiteral("select count(*) from controllertimezoneslots where controllerid = %1").arg(Warehouse)).toInt();
    ASSERT_GT(mapRows, 10);
    EXPECT_EQ(count(sent, procedure("sp_fetchgenerictimezoneid") + QLatin1Char('$')), mapRows);
    EXPECT_EQ(count(sent, procedure("sp_fetchallgenerictimezonenames")), 2) << "the catalogue and the pick list read it each";
    // The host reads its resource texts once and the user's rights once per open.
    EXPECT_EQ(count(sent, QStringLiteral("from resources")), 0);
    EXPECT_EQ(count(sent, QStringLiteral("from userrights ")), 1);
    for (const Statement& s : sent) EXPECT_EQ(s.roundTrips, 1) << s.sql.toStdString();
    EXPECT_LE(sent.size(), 45) << "round trips";
}

TEST_P(StatementsSent, AnOkWritesEachZoneWithOneUpdatePreparedOnceAndSavepointsOnlyWhereTheyKeepSomething) {
    const auto save = [&](const QList<int>& zones, const QString& name) {
        open();
        for (int z : zones) rename(z, name.arg(z));
        ok();
    };
    for (const char* name : {"First %1", "Second %1"}) save({3, 230}, QLatin1String(name));  // prepares what every later save sends
    const QList<Statement> sent = record([&] { save({3, 40, 41, 200}, QStringLiteral("Renamed %1")); });
    EXPECT_EQ(stored(200), QStringLiteral("Renamed 200"));
    QSet<QString> updates;
    for (const Statement& s : sent)
        if (!s.own && s.sql.startsWith(QLatin1String("update "), Qt::CaseInsensitive)) updates << s.sql;
    EXPECT_EQ(count(sent, QStringLiteral("^update ")), 4);
    EXPECT_EQ(updates.size(), 2) << "one UPDATE per zone kind, rebound per row";
    EXPECT_EQ(count(sent, QStringLiteral("^insert into downloadqueue")), 4);
    EXPECT_EQ(count(sent, QStringLiteral("^insert into eventlog")), 4);
    EXPECT_EQ(count(sent, QStringLiteral("from resources")), 0) << "the event text is read once per host";

    // Each zone kind's save is one transaction: it reads its rows, then writes; on
    // PostgreSQL one savepoint covers a batch of writes (these are short: one
    // each, none released alone), so a failure costs no earlier write.
    QStringList shape;
    for (const Statement& s : sent) {
        EXPECT_TRUE(s.own || s.roundTrips == 1) << s.sql.toStdString();
        if (s.sql == QLatin1String("BEGIN") || s.sql == QLatin1String("COMMIT")) shape << s.sql;
        else if (s.own && s.sql.contains(QLatin1String("SAVEPOINT"))) shape << (s.sql.startsWith(QLatin1String("RELEASE")) ? "RELEASE" : "SAVEPOINT");
        else if (!s.own && shape.value(shape.size() - 1) != QLatin1String("w")) shape << "w";
    }
    const QString tx = isPostgres() ? QStringLiteral(" BEGIN w SAVEPOINT w COMMIT") : QStringLiteral(" BEGIN w COMMIT");
    EXPECT_EQ(shape.join(' '), QLatin1Char('w') + tx + tx);
}

// A load that logs many field errors has them written together once it is
// over, in one transaction of their own.
TEST_P(StatementsSent, TheFieldErrorsOfALoadAreWrittenTogetherWhenItIsOver) {
    db().runScript(QStringLiteral("update controllerstdcontrolzones set xry5 = null, xry6 = null where controllerid = %1 and controlzoneindex < 10").arg(Warehouse));
    QStringList mine;
    for (const Statement& s : record([&] { open(); }))
        if (!s.own) mine << (s.sql.startsWith(QLatin1String("insert into errorlog")) ? QStringLiteral("insert") : s.sql);
    // Each NULL is one row, written by the time the dialog is up, all of them in one transaction.
    EXPECT_EQ(db().count(QStringLiteral("errorlog"), QStringLiteral("location = 'LoadSCZArray'")), 20);
    EXPECT_EQ(mine.count(QStringLiteral("insert")), 20);
    EXPECT_EQ(mine.mid(mine.indexOf(QStringLiteral("insert")) - 1, 22), QStringList{"BEGIN"} + QStringList(20, QStringLiteral("insert")) + QStringList{"COMMIT"});
}

TAMRIK_ON_BOTH_ENGINES(StatementsSent);

}  // namespace
