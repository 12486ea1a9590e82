// What an open and an OK send, as the connection's statement hook sees them:
// every read the load makes and one write of each kind per saved zone, each
// in one round trip once the session has prepared it, and savepoints only
// where a failure would otherwise cost the transaction (PostgreSQL), one per
// batch of statements. And the save's carry-on path: the k-th statement of
// an OK fails inside the database, for every k across a save of two standard
// and two master zones, COMMITs included. Whatever fails: no transaction left
// open, one report, and the rows, commands, events and error rows the
// carry-on rule implies.
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


enum class Op { Begin, Open, Update, Command, Text, Event, Commit };
struct Step {  // save: 0 standard zones, 1 master zones; zone: whose write it belongs to, or -1
    Op op;
    int save, zone;
};
struct Outcome {
    QStringList names, commands, events;  // "name 3", "STD_CONTROL_ZONE 3", "(SCZ3) name|text"
    int logged = 0, rolledBack = 0;       // LogError calls, failed commits
};
const QList<int> kZones[2] = {{3, 40}, {192, 230}}, kAll = kZones[0] + kZones[1];
QString newName(int zone) { return QStringLiteral("Renamed %1").arg(zone); }

class FaultInjection : public HostTest {
protected:
    void prepareDatabase() override {
        HostTest::prepareDatabase();
        for (int z : kAll) oldNames[z] = stored(z);
        eventText = db().scalar(QStringLiteral("select text from resources where resourceid = 661")).toString();
    }

    // Puts the site back, renames the four zones and presses OK; statement k from the press on fails (none: 0).
    QStringList runOk(int k) {
        db().runScript(QStringLiteral("delete from downloadqueue; delete from eventlog; delete from errorlog"));
        for (auto it = oldNames.cbegin(); it != oldNames.cend(); ++it)
            store(it.key(), QStringLiteral("name = '%1'").arg(QString(it.value()).replace(QLatin1Char('\''), QLatin1String("''"))));
        boxes.boxes.clear();
        QStringList seen;
        open();
        for (int z : kAll) rename(z, newName(z));
        conn->setStatementHook([&](const Statement& s) { return !s.own && (seen << s.sql).size() == k; });
        ok();
        conn->setStatementHook(nullptr);
        return seen;
    }

    // Each statement's step, in the save's order.
    static QList<Step> classify(const QStringList& sqls) {
        const QList<std::pair<const char*, Op>> steps{
            {"^begin$", Op::Begin}, {"^commit$", Op::Commit}, {"select text from resources", Op::Text},
            {"insert into downloadqueue", Op::Command}, {"insert into eventlog", Op::Event},
            {"^update |pragma_table_info|typeof\\(", Op::Update}, {"controlzones", Op::Open}};
        QList<Step> out;
        int save = -1, zone = -1;
        for (const QString& sql : sqls) {
            const auto step = std::find_if(steps.begin(), steps.end(), [&](const auto& p) {
                return QRegularExpression(QLatin1String(p.first)).match(sql.simplified().toLower()).hasMatch();
            });
            if (step == steps.end()) {
                ADD_FAILURE() << "a statement the save's steps do not explain: " << sql.toStdString();
                continue;
            }
            const Op op = step->second;
            if (op == Op::Begin) ++save, zone = -1;
            if (op == Op::Update && (out.isEmpty() || out.last().op != Op::Update)) ++zone;  // the next zone's write
            const bool ofAZone = op != Op::Begin && op != Op::Open && op != Op::Commit;
            out << Step{op, save, ofAZone ? kZones[save].value(zone, -1) : -1};
        }
        return out;
    }

    // The carry-on rule with statement `failed` failing (-1: none). A failing step is
    // logged, ends its save's transaction (whose COMMIT then succeeds: the fault is
    // spent) and drops the controller object, so the save's later commands fail too;
    // a failing resource text logs itself and empties the event's text; a failing
    // COMMIT takes its transaction's writes along.
    Outcome expected(const QList<Step>& plan, int failed) const {
        Outcome o;
        for (int save = 0; save < 2; ++save) {
            const auto fails = [&](Op op, int zone = -1) {
                return failed >= 0 && plan[failed].save == save && plan[failed].op == op && plan[failed].zone == zone;
            };
            Outcome pending;
            bool inTx = true, held = false;
            const auto end = [&](bool commitFails) {
                if (inTx && commitFails) ++o.rolledBack;
                if (inTx && !commitFails) o.names << pending.names, o.commands << pending.commands, o.events << pending.events;
                pending = Outcome(), inTx = false;
            };
            const auto failure = [&] { ++o.logged, end(false), held = false; };
            const auto into = [&]() -> Outcome& { return inTx ? pending : o; };
            if (fails(Op::Begin)) failure();
            if (fails(Op::Open)) failure();
            else
                for (int z : kZones[save]) {
                    const bool updated = !fails(Op::Update, z), text = !fails(Op::Text, z);
                    if (updated) into().names << QStringLiteral("name %1").arg(z);
                    else failure();
                    held = held || z == kZones[save].first();  // the first zone fetches the controller object
                    if (!held || fails(Op::Command, z)) failure();
                    else into().commands << QStringLiteral("%1_CONTROL_ZONE %2").arg(save ? "MASTER" : "STD").arg(z);
                    o.logged += !text;
                    if (fails(Op::Event, z)) failure();
                    else into().events << QStringLiteral("(%1%2) %3|%4").arg(save ? "MCZ" : "SCZ").arg(z)
                                                  .arg(updated ? newName(z) : oldNames[z], text ? eventText : QString());
                }
            end(fails(Op::Commit));
        }
        return o;
    }

    QHash<int, QString> oldNames;
    QString eventText;
};

TEST_P(FaultInjection, EveryStatementOfAnOkFailingLeavesWhatTheCarryOnRuleSays) {
    runOk(0);  // the connection learns the tables' columns at its first save: later OKs send what the second sends
    const QList<Step> plan = classify(runOk(0));
    ASSERT_GT(plan.size(), 10);
    for (int k = 0; k <= plan.size(); ++k) {
        SCOPED_TRACE(QStringLiteral("statement %1 of %2 fails").arg(k).arg(plan.size()).toStdString());
        runOk(k);
        const Outcome want = expected(plan, k - 1);
        EXPECT_FALSE(form().isLoaded());
        EXPECT_FALSE(conn->inTransaction());
        QStringList names;
        for (int z : kAll)
            if (stored(z) == newName(z)) names << QStringLiteral("name %1").arg(z);
        EXPECT_EQ(names, want.names);
        EXPECT_EQ(db().rows(QStringLiteral(
                      "select d.commandset || ' ' || coalesce(s.controlzoneindex, m.mastercontrolzoneindex) from downloadqueue d "
                      "left join controllerstdcontrolzones s on d.commandset = 'STD_CONTROL_ZONE' and s.controllercontrolzoneid = d.objectid "
                      "left join controllermastercontrolzones m on d.commandset = 'MASTER_CONTROL_ZONE' and m.controllermastercontrolzoneid = d.objectid "
                      "order by d.downloadqueueid")),
                  want.commands);
        EXPECT_EQ(db().rows(QStringLiteral("select description, eventtext from eventlog order by eventlogid")), want.events);
        // One error row per failure and per rolled-back commit, written after its transaction.
        EXPECT_EQ(db().count(QStringLiteral("errorlog")), want.logged + want.rolledBack);
        ASSERT_EQ(reports().size(), k ? 1 : 0) << "the host tells the operator once, and only of trouble";
        const QString report = reports().value(0);
        EXPECT_TRUE(want.logged == 0 || report.contains(QStringLiteral("%1 save step(s) failed").arg(want.logged))) << report.toStdString();
        EXPECT_EQ(report.count(QStringLiteral("could not be committed and was rolled back")), want.rolledBack) << report.toStdString();
    }
}

TAMRIK_ON_BOTH_ENGINES(FaultInjection);

}  // namespace
