// What an open and an OK send, as the connection's statement hook sees them:
// every read the load makes and one write of each kind per saved zone, each
// in one round trip once the session has prepared it, and savepoints only
// where a failure would otherwise cost the transaction (PostgreSQL), one per
// batch of statements.
#include "tests/reliability/HostFixture.h"

#include <QRegularExpression>
#include <QSet>

using namespace reliability;
using Statement = database::Connection::Statement;

namespace {

class StatementsSent : public HostTest {
protected:
    QList<Statement> record(const std::function<void()>& operation) {
        QList<Statement> sent;
        conn->setStatementHook([&](const Statement& s) {
            sent << s;
            return false;
        });
        operation();
        conn->setStatementHook(nullptr);
        return sent;
    }
    // The caller's statements whose SQL matches.
    static QList<Statement> matching(const QList<Statement>& sent, const QString& pattern) {
        const QRegularExpression re(pattern, QRegularExpression::CaseInsensitiveOption);
        QList<Statement> out;
        for (const Statement& s : sent)
            if (!s.own && re.match(s.sql).hasMatch()) out << s;
        return out;
    }
    QString procedureSql(const QString& name) {
        return db().scalar(QStringLiteral("select sql_text from sys_procedures where name = '%1' and engine = '%2'")
                               .arg(name, isPostgres() ? QStringLiteral("postgresql") : QStringLiteral("sqlite")))
            .toString();
    }
    static void cancel() {
        form().CmdCancel_Click();
        settle();
    }
};

TEST_P(StatementsSent, AnOpenMakesEveryReadOfTheLoadInOneRoundTripEach) {
    for (int i = 0; i < 2; ++i) {  // the session reads its procedures, then prepares what it calls again
        open();
        cancel();
    }
    const QList<Statement> sent = record([&] {
        open();
        cancel();
    });
    const int mapRows = db().scalar(QStringLiteral("select count(*) from controllertimezoneslots where controllerid = %1").arg(Warehouse)).toInt();
    ASSERT_GT(mapRows, 10);
    EXPECT_EQ(matching(sent, QRegularExpression::escape(procedureSql(QStringLiteral("sp_fetchgenerictimezoneid"))) + QLatin1Char('$')).size(), mapRows);
    EXPECT_EQ(matching(sent, QRegularExpression::escape(procedureSql(QStringLiteral("sp_fetchallgenerictimezonenames")))).size(), 2)
        << "the catalogue and the pick list read it each";
    // The host reads its resource texts once and the user's rights once per open.
    EXPECT_TRUE(matching(sent, QStringLiteral("from resources")).isEmpty());
    EXPECT_EQ(matching(sent, QStringLiteral("from userrights ")).size(), 1);
    int roundTrips = 0;
    for (const Statement& s : sent) {
        EXPECT_EQ(s.roundTrips, 1) << s.sql.toStdString();
        roundTrips += s.roundTrips;
    }
    EXPECT_LE(roundTrips, 45);
}

TEST_P(StatementsSent, AnOkWritesEachZoneWithOneUpdatePreparedOnceAndSavepointsOnlyWhereTheyKeepSomething) {
    for (int i = 0; i < 2; ++i) {  // the first saves prepare the statements of every later one
        open();
        renameSCZ(3, QStringLiteral("First standard %1").arg(i));
        renameMCZ(230, QStringLiteral("First master %1").arg(i));
        ok();
        ASSERT_FALSE(form().isLoaded());
    }
    const QList<Statement> sent = record([&] {
        open();
        for (int z : {3, 40, 41}) renameSCZ(z, QStringLiteral("Renamed %1").arg(z));
        renameMCZ(200, QStringLiteral("Renamed 200"));
        ok();
    });
    EXPECT_EQ(storedName(41), QStringLiteral("Renamed 41"));
    QStringList updates;
    for (const Statement& s : matching(sent, QStringLiteral("^update "))) updates << s.sql;
    EXPECT_EQ(updates.size(), 4);
    EXPECT_EQ(QSet<QString>(updates.begin(), updates.end()).size(), 2) << "one UPDATE per zone kind, rebound per row";
    EXPECT_EQ(matching(sent, QStringLiteral("^insert into downloadqueue")).size(), 4);
    EXPECT_EQ(matching(sent, QStringLiteral("^insert into eventlog")).size(), 4);
    EXPECT_TRUE(matching(sent, QStringLiteral("from resources")).isEmpty()) << "the event text is read once per host";

    int inTransaction = 0, savepoints = 0, releasedAlone = 0, busyTransactions = 0, sinceBegin = 0;
    bool open = false;
    for (const Statement& s : sent) {
        if (!s.own) {
            EXPECT_EQ(s.roundTrips, 1) << s.sql.toStdString();
        }
        if (s.sql == QLatin1String("BEGIN") || s.sql == QLatin1String("COMMIT")) {
            open = s.sql == QLatin1String("BEGIN");
            busyTransactions += !open && sinceBegin > 0;
            sinceBegin = 0;
        } else if (s.own && s.sql.contains(QLatin1String("SAVEPOINT"))) {
            savepoints += s.sql.startsWith(QLatin1String("SAVEPOINT")) || s.sql.contains(QLatin1String("; SAVEPOINT"));
            releasedAlone += !s.sql.contains(QLatin1String("; SAVEPOINT")) && s.sql.startsWith(QLatin1String("RELEASE"));
        } else if (open && !s.own) {
            ++inTransaction;
            ++sinceBegin;
        }
    }
    EXPECT_GT(inTransaction, 12);
    // PostgreSQL: one savepoint covers a batch of statements (these
    // transactions are short: one each), so a failure costs no earlier write.
    EXPECT_EQ(savepoints, isPostgres() ? busyTransactions : 0);
    EXPECT_EQ(releasedAlone, 0);
}

// A load that logs many field errors has them written together once it is
// over, in one transaction of their own.
TEST_P(StatementsSent, TheFieldErrorsOfALoadAreWrittenTogetherWhenItIsOver) {
    db().runScript(QStringLiteral("update controllerstdcontrolzones set xry5 = null, xry6 = null where controllerid = %1 and controlzoneindex < 10")
                       .arg(Warehouse));
    const qlonglong before = db().count(QStringLiteral("errorlog"));
    QList<Statement> callers;
    for (const Statement& s : record([&] { open(); }))
        if (!s.own) callers << s;
    // Each NULL is one row, written by the time the dialog is up.
    EXPECT_EQ(db().count(QStringLiteral("errorlog"), QStringLiteral("location = 'LoadSCZArray'")), 20);
    const qsizetype inserts = matching(callers, QStringLiteral("^insert into errorlog")).size();
    EXPECT_EQ(db().count(QStringLiteral("errorlog")) - before, inserts);
    const qsizetype first = std::find_if(callers.begin(), callers.end(), [](const Statement& s) {
                                return s.sql.startsWith(QLatin1String("insert into errorlog"));
                            }) - callers.begin();
    ASSERT_GT(first, 0);
    ASSERT_LT(first + inserts, callers.size());
    EXPECT_EQ(callers.at(first - 1).sql, QStringLiteral("BEGIN"));
    EXPECT_EQ(callers.at(first + inserts).sql, QStringLiteral("COMMIT")) << "all of them in one transaction";
}

TAMRIK_ON_BOTH_ENGINES(StatementsSent);

// SQLite rolls the whole transaction back on some failures (here a trigger's
// ROLLBACK): the save's earlier writes are gone, and the host says so.
class EngineRollback : public HostTest {};

TEST_P(EngineRollback, TheHostTellsTheOperatorWhatTheRolledBackTransactionTookAlong) {
    conn->write(QStringLiteral("create trigger refuse before update on controllerstdcontrolzones when new.controlzoneindex = 40 "
                                  "begin select raise(rollback, 'refused by a trigger'); end"));
    open();
    renameSCZ(3, QStringLiteral("Taken back"));
    renameSCZ(40, QStringLiteral("Refused"));
    renameMCZ(200, QStringLiteral("Kept"));
    ok();
    EXPECT_FALSE(conn->inTransaction());
    EXPECT_NE(storedName(3), QStringLiteral("Taken back"));
    EXPECT_NE(storedName(40), QStringLiteral("Refused"));
    EXPECT_EQ(storedName(200), QStringLiteral("Kept")) << "the master zones' own transaction is untouched";
    ASSERT_EQ(reports().size(), 1);
    const QString report = reports().first();
    EXPECT_TRUE(report.contains(QStringLiteral("refused by a trigger"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("rolled back"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Taken back by a rollback (not saved): SCZ 3"))) << report.toStdString();
}

TAMRIK_ON_ONE_ENGINE(EngineRollback);

}  // namespace
