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
    QString sql;
    Op op;
    int zone = -1;  // the zone whose write it belongs to
};

struct Outcome {
    QSet<int> renamed;           // zones whose new name is stored
    QStringList commands;        // "STD_CONTROL_ZONE 3", in order
    QStringList events;          // "(SCZ3) name|event text", in order
    int failures = 0;            // LogError calls
    int rolledBack = 0;          // commits that failed
};

const QList<int> kStd{3, 40};
const QList<int> kMaster{192, 230};
QString newName(int zone) { return QStringLiteral("Renamed %1").arg(zone); }

class FaultInjection : public HostTest {
protected:
    void prepareDatabase() override {
        HostTest::prepareDatabase();
        for (int z : kStd + kMaster) oldNames[z] = storedName(z);
        eventText = db().scalar(QStringLiteral("select text from resources where resourceid = 661")).toString();
    }

    // Opens the dialog, edits the four zones and presses OK; the statement
    // hook sees every statement from the press on and fails number `k` (none: 0).
    QStringList runOk(int k) {
        QStringList seen;
        open();
        for (int z : kStd) renameSCZ(z, newName(z));
        for (int z : kMaster) renameMCZ(z, newName(z));
        conn->setStatementHook([&](const QString& sql, const QVariantList&) {
            seen << sql;
            return seen.size() == k;
        });
        ok();
        conn->setStatementHook(nullptr);
        return seen;
    }

    // Gives every statement its step, following the save's order.
    static QList<Statement> classify(const QStringList& sqls) {
        QList<Statement> out;
        int begins = 0, zoneIndex = -1;
        Op last = Op::Begin;
        for (const QString& sql : sqls) {
            const QString s = sql.simplified().toLower();
            Op op;
            if (s == QLatin1String("begin")) op = Op::Begin;
            else if (s == QLatin1String("commit")) op = Op::Commit;
            else if (s.contains(QLatin1String("select text from resources"))) op = Op::Text;
            else if (s.contains(QLatin1String("insert into downloadqueue"))) op = Op::Command;
            else if (s.contains(QLatin1String("insert into eventlog"))) op = Op::Event;
            else if (s.startsWith(QLatin1String("update ")) || s.contains(QLatin1String("pragma_table_info")) || s.contains(QLatin1String("typeof(")))
                op = Op::Update;
            else if (s.contains(QLatin1String("controlzones"))) op = Op::Open;
            else {
                ADD_FAILURE() << "a statement the save's steps do not explain: " << sql.toStdString();
                continue;
            }
            if (op == Op::Begin) {
                ++begins;
                zoneIndex = -1;
            }
            if (op == Op::Update && last != Op::Update) ++zoneIndex;  // the next changed zone's write begins
            const QList<int>& zones = begins <= 1 ? kStd : kMaster;
            const bool ofAZone = op != Op::Begin && op != Op::Open && op != Op::Commit;
            out << Statement{sql, op, ofAZone && zoneIndex >= 0 ? zones.value(zoneIndex, -1) : -1};
            last = op;
        }
        return out;
    }

    // The carry-on rule, walked over both saves with statement `failed` failing.
    static Outcome expected(const QList<Statement>& plan, int failed) {
        Outcome o;
        for (const bool master : {false, true}) {
            const QList<int>& zones = master ? kMaster : kStd;
            const int begin = [&] {
                int n = 0;
                for (int i = 0; i < plan.size(); ++i)
                    if (plan[i].op == Op::Begin && n++ == int(master)) return i;
                return -1;
            }();
            // Statement i of this save fails?
            auto fails = [&](Op op, int zone) {
                for (int i = begin; i < plan.size(); ++i) {
                    if (i > begin && plan[i].op == Op::Begin) break;
                    if (plan[i].op == op && plan[i].zone == zone && i == failed) return true;
                }
                return false;
            };
            bool inTx = false, held = false, fetched = false;
            Outcome pending;
            auto keep = [&](Outcome& from) {
                for (int z : from.renamed) o.renamed.insert(z);
                o.commands << from.commands;
                o.events << from.events;
                from = Outcome();
            };
            auto endtran = [&](bool commitFails) {
                if (inTx && commitFails) {
                    pending = Outcome();
                    ++o.rolledBack;
                } else {
                    keep(pending);
                }
                inTx = false;
            };
            // A failing step is logged, ends the transaction (its COMMIT does
            // not fail: the fault was spent) and drops the controller object.
            auto failure = [&] {
                ++o.failures;
                endtran(false);
                held = false;
            };
            Outcome& sink = pending;
            auto write = [&](auto&& add) {
                add(inTx ? sink : o);
            };
            if (fails(Op::Begin, -1)) failure();
            else inTx = true;
            if (fails(Op::Open, -1)) {
                failure();
            } else {
                for (int z : zones) {
                    const bool updated = !fails(Op::Update, z);
                    if (updated) write([&](Outcome& t) { t.renamed.insert(z); });
                    else failure();
                    if (!fetched) {
                        fetched = true;
                        held = true;
                    }
                    if (!held || fails(Op::Command, z)) failure();  // a released controller object fails too
                    else write([&](Outcome& t) { t.commands << QStringLiteral("%1 %2").arg(master ? "MASTER_CONTROL_ZONE" : "STD_CONTROL_ZONE").arg(z); });
                    const bool text = !fails(Op::Text, z);
                    if (!text) ++o.failures;  // the resource text logs its own failure; the event goes on with an empty text
                    if (fails(Op::Event, z)) {
                        failure();
                    } else {
                        write([&](Outcome& t) {
                            t.events << QStringLiteral("(%1%2) %3|%4").arg(master ? "MCZ" : "SCZ").arg(z).arg(updated ? newName(z) : QStringLiteral("\x01old")).arg(text ? "\x01text" : "");
                        });
                    }
                }
            }
            endtran(fails(Op::Commit, -1));
        }
        return o;
    }

    QStringList actualCommands() {
        database::Connection c;
        c.Open(db().connectionString());
        QStringList out;
        const auto rows = c.fetchAll(QStringLiteral(
            "select d.commandset, coalesce(s.controlzoneindex, m.mastercontrolzoneindex) from downloadqueue d "
            "left join controllerstdcontrolzones s on d.commandset = 'STD_CONTROL_ZONE' and s.controllercontrolzoneid = d.objectid "
            "left join controllermastercontrolzones m on d.commandset = 'MASTER_CONTROL_ZONE' and m.controllermastercontrolzoneid = d.objectid "
            "order by d.downloadqueueid"));
        for (const auto& r : rows.rows) out << QStringLiteral("%1 %2").arg(r[0].toString(), r[1].toString());
        return out;
    }
    QStringList actualEvents() {
        database::Connection c;
        c.Open(db().connectionString());
        QStringList out;
        for (const auto& r : c.fetchAll(QStringLiteral("select description, eventtext from eventlog order by eventlogid")).rows)
            out << r[0].toString() + QLatin1Char('|') + r[1].toString();
        return out;
    }
    // The expectation's placeholders, filled in.
    QStringList resolve(QStringList events) {
        for (QString& e : events) {
            static const QRegularExpression zone(QStringLiteral("^\\((?:SCZ|MCZ)(\\d+)\\)"));
            const int z = zone.match(e).captured(1).toInt();
            e.replace(QStringLiteral("\x01old"), oldNames.value(z)).replace(QStringLiteral("\x01text"), eventText);
        }
        return events;
    }
    void reset() {
        db().runScript(QStringLiteral("delete from downloadqueue; delete from eventlog; delete from errorlog"));
        for (int z : kStd + kMaster) {
            const bool master = z >= 192;
            db().runScript(QStringLiteral("update %1 set name = '%2' where controllerid = %3 and %4 = %5")
                               .arg(master ? "controllermastercontrolzones" : "controllerstdcontrolzones", QString(oldNames[z]).replace("'", "''"))
                               .arg(Warehouse)
                               .arg(master ? "mastercontrolzoneindex" : "controlzoneindex")
                               .arg(z));
        }
        boxes.boxes.clear();
        QFile::remove(logDir.filePath(QStringLiteral("errors.log")));
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
    // Without a fault: everything saved, nothing to tell.
    const Outcome clean = expected(plan, -1);
    EXPECT_EQ(clean.renamed.size(), 4);
    EXPECT_EQ(actualCommands(), clean.commands);
    EXPECT_TRUE(reports().isEmpty());

    for (int k = 1; k <= plan.size(); ++k) {
        reset();
        SCOPED_TRACE(QStringLiteral("statement %1 of %2 fails: %3").arg(k).arg(plan.size()).arg(plan[k - 1].sql.left(70)).toStdString());
        runOk(k);
        const Outcome want = expected(plan, k - 1);
        EXPECT_FALSE(form().isLoaded());
        EXPECT_FALSE(conn->inTransaction());
        for (int z : kStd + kMaster) EXPECT_EQ(storedName(z), want.renamed.contains(z) ? newName(z) : oldNames[z]) << "zone " << z;
        EXPECT_EQ(actualCommands(), want.commands);
        EXPECT_EQ(actualEvents(), resolve(want.events));
        // Each failure and each rolled-back commit is one error row, written after its transaction.
        EXPECT_EQ(db().count(QStringLiteral("errorlog")), want.failures + want.rolledBack);
        EXPECT_TRUE(fallbackLines().isEmpty());
        ASSERT_EQ(reports().size(), 1) << "the host tells the operator once";
        if (want.failures > 0) {
            EXPECT_TRUE(reports().first().contains(QStringLiteral("%1 save step(s) failed").arg(want.failures))) << reports().first().toStdString();
        }
        if (want.rolledBack > 0) {
            EXPECT_TRUE(reports().first().contains(QStringLiteral("could not be committed and was rolled back"))) << reports().first().toStdString();
        }
    }
}

TAMRIK_ON_BOTH_ENGINES(FaultInjection);

}  // namespace
