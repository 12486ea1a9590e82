// The k-th statement of an OK fails, for every k across a save of two
// standard and two master zones. Whatever fails: no crash, no transaction left
// open, the host tells the operator, and the rows, commands, events and error
// rows afterwards are exactly what the carry-on rule implies. The expectation
// is computed by walking that rule over the save's steps, not recorded.
#include "tests/reliability/HostFixture.h"

#include <QRegularExpression>

using namespace reliability;

namespace {

// What one statement of a save is for; the save's steps issue them in order.
enum class Op { Begin, Open, Update, Command, Text, Event, Commit };

struct Statement {
    Op op;
    int save;       // 0 standard zones, 1 master zones
    int zone = -1;  // the zone whose write it belongs to
};

// What stays in the database: "name 3", "STD_CONTROL_ZONE 3", "(SCZ3) name|text".
struct Outcome {
    QStringList names, commands, events;
    int failures = 0;    // LogError calls
    int rolledBack = 0;  // commits that failed
};

const QList<int> kZones[2] = {{3, 40}, {192, 230}};
const char* const kCommandSet[2] = {"STD_CONTROL_ZONE", "MASTER_CONTROL_ZONE"};
const char* const kPrefix[2] = {"SCZ", "MCZ"};
QString newName(int zone) { return QStringLiteral("Renamed %1").arg(zone); }

class FaultInjection : public HostTest {
protected:
    void prepareDatabase() override {
        HostTest::prepareDatabase();
        for (const auto& zones : kZones)
            for (int z : zones) oldNames[z] = storedName(z);
        eventText = db().scalar(QStringLiteral("select text from resources where resourceid = 661")).toString();
    }

    // Opens the dialog, edits the four zones and presses OK; the statement
    // hook sees every statement from the press on and fails number `k` (none: 0).
    QStringList runOk(int k) {
        QStringList seen;
        open();
        for (int z : kZones[0]) renameSCZ(z, newName(z));
        for (int z : kZones[1]) renameMCZ(z, newName(z));
        conn->setStatementHook([&](const database::Connection::Statement& s) {
            if (s.own) return false;
            seen << s.sql;
            return seen.size() == k;
        });
        ok();
        conn->setStatementHook(nullptr);
        return seen;
    }

    // Gives every statement its step, following the save's order.
    static QList<Statement> classify(const QStringList& sqls) {
        const QList<std::pair<const char*, Op>> patterns{
            {"^begin$", Op::Begin}, {"^commit$", Op::Commit}, {"select text from resources", Op::Text},
            {"insert into downloadqueue", Op::Command}, {"insert into eventlog", Op::Event},
            {"^update |pragma_table_info|typeof\\(", Op::Update}, {"controlzones", Op::Open}};
        QList<Statement> out;
        int save = -1, zoneIndex = -1;
        for (const QString& sql : sqls) {
            const QString s = sql.simplified().toLower();
            const auto match = std::find_if(patterns.begin(), patterns.end(), [&](const auto& p) {
                return QRegularExpression(QLatin1String(p.first)).match(s).hasMatch();
            });
            if (match == patterns.end()) {
                ADD_FAILURE() << "a statement the save's steps do not explain: " << sql.toStdString();
                continue;
            }
            const Op op = match->second;
            if (op == Op::Begin) ++save, zoneIndex = -1;
            if (op == Op::Update && (out.isEmpty() || out.last().op != Op::Update)) ++zoneIndex;  // the next zone's write
            const bool ofAZone = op != Op::Begin && op != Op::Open && op != Op::Commit;
            out << Statement{op, save, ofAZone ? kZones[save].value(zoneIndex, -1) : -1};
        }
        return out;
    }

    // The carry-on rule, walked over both saves with statement `failed` failing.
    static Outcome expected(const QList<Statement>& plan, int failed) {
        Outcome o;
        for (int save = 0; save < 2; ++save) {
            auto fails = [&](Op op, int zone = -1) {
                return failed >= 0 && plan[failed].save == save && plan[failed].op == op && plan[failed].zone == zone;
            };
            bool inTx = false, held = false, fetched = false;
            Outcome pending;
            auto endtran = [&](bool commitFails) {
                if (inTx && commitFails) ++o.rolledBack;
                if (inTx && !commitFails) o.names << pending.names, o.commands << pending.commands, o.events << pending.events;
                pending = Outcome();
                inTx = false;
            };
            // A failing step is logged, ends the transaction (its COMMIT does
            // not fail: the fault was spent) and drops the controller object.
            auto failure = [&] {
                ++o.failures;
                endtran(false);
                held = false;
            };
            auto into = [&]() -> Outcome& { return inTx ? pending : o; };
            if (fails(Op::Begin)) failure();
            else inTx = true;
            if (fails(Op::Open)) {
                failure();
            } else {
                for (int z : kZones[save]) {
                    const bool updated = !fails(Op::Update, z);
                    if (updated) into().names << QStringLiteral("name %1").arg(z);
                    else failure();
                    if (!fetched) fetched = held = true;
                    if (!held || fails(Op::Command, z)) failure();  // a released controller object fails too
                    else into().commands << QStringLiteral("%1 %2").arg(QLatin1String(kCommandSet[save])).arg(z);
                    // The resource text logs its own failure; the event goes on with an empty text.
                    const bool text = !fails(Op::Text, z);
                    if (!text) ++o.failures;
                    if (fails(Op::Event, z)) failure();
                    else into().events << QStringLiteral("(%1%2) %3|%4").arg(QLatin1String(kPrefix[save])).arg(z).arg(updated ? newName(z) : QStringLiteral("\x01old"), text ? QStringLiteral("\x01text") : QString());
                }
            }
            endtran(fails(Op::Commit));
        }
        return o;
    }

    // The rows a query returns, columns joined by '|'.
    QStringList rows(const QString& sql) {
        database::Connection c;
        c.Open(db().connectionString());
        QStringList out;
        for (const auto& r : c.fetchAll(sql).rows) {
            QStringList cells;
            for (const QVariant& v : r) cells << v.toString();
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    QStringList actual() {
        QStringList names;
        for (const auto& zones : kZones)
            for (int z : zones)
                if (storedName(z) == newName(z)) names << QStringLiteral("name %1").arg(z);
        return names;
    }
    QStringList actualCommands() {
        return rows(QStringLiteral(
            "select d.commandset || ' ' || coalesce(s.controlzoneindex, m.mastercontrolzoneindex) from downloadqueue d "
            "left join controllerstdcontrolzones s on d.commandset = 'STD_CONTROL_ZONE' and s.controllercontrolzoneid = d.objectid "
            "left join controllermastercontrolzones m on d.commandset = 'MASTER_CONTROL_ZONE' and m.controllermastercontrolzoneid = d.objectid "
            "order by d.downloadqueueid"));
    }
    // The expectation's placeholders, filled in.
    QStringList resolve(QStringList events) {
        static const QRegularExpression zone(QStringLiteral("^\\((?:SCZ|MCZ)(\\d+)\\)"));
        for (QString& e : events)
            e.replace(QStringLiteral("\x01old"), oldNames.value(zone.match(e).captured(1).toInt())).replace(QStringLiteral("\x01text"), eventText);
        return events;
    }
    void reset() {
        db().runScript(QStringLiteral("delete from downloadqueue; delete from eventlog; delete from errorlog"));
        for (auto it = oldNames.cbegin(); it != oldNames.cend(); ++it)
            db().runScript(QStringLiteral("update %1 set name = '%2' where controllerid = %3 and %4 = %5")
                               .arg(it.key() >= 192 ? "controllermastercontrolzones" : "controllerstdcontrolzones", QString(it.value()).replace("'", "''"))
                               .arg(Warehouse)
                               .arg(it.key() >= 192 ? "mastercontrolzoneindex" : "controlzoneindex")
                               .arg(it.key()));
        boxes.boxes.clear();
    }

    QHash<int, QString> oldNames;
    QString eventText;
};

TEST_P(FaultInjection, EveryStatementOfAnOkFailingLeavesWhatTheCarryOnRuleSays) {
    // The connection learns the tables' columns at its first save: the
    // statements of every later OK are those of the second.
    runOk(0);
    reset();
    const QList<Statement> plan = classify(runOk(0));
    ASSERT_FALSE(plan.isEmpty());
    EXPECT_EQ(actual().size(), 4) << "without a fault everything is saved";
    EXPECT_TRUE(reports().isEmpty());

    for (int k = 1; k <= plan.size(); ++k) {
        reset();
        SCOPED_TRACE(QStringLiteral("statement %1 of %2 fails").arg(k).arg(plan.size()).toStdString());
        runOk(k);
        const Outcome want = expected(plan, k - 1);
        EXPECT_FALSE(form().isLoaded());
        EXPECT_FALSE(conn->inTransaction());
        EXPECT_EQ(actual(), want.names);
        EXPECT_EQ(actualCommands(), want.commands);
        EXPECT_EQ(rows(QStringLiteral("select description || '|' || eventtext from eventlog order by eventlogid")), resolve(want.events));
        // Each failure and each rolled-back commit is one error row, written after its transaction.
        EXPECT_EQ(db().count(QStringLiteral("errorlog")), want.failures + want.rolledBack);
        ASSERT_EQ(reports().size(), 1) << "the host tells the operator once";
        const QString report = reports().first();
        EXPECT_TRUE(want.failures == 0 || report.contains(QStringLiteral("%1 save step(s) failed").arg(want.failures))) << report.toStdString();
        EXPECT_EQ(report.count(QStringLiteral("could not be committed and was rolled back")), want.rolledBack) << report.toStdString();
    }
}

TAMRIK_ON_BOTH_ENGINES(FaultInjection);

}  // namespace
