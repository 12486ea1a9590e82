// From a relay column to the sibling component's property dialog, on the demo
// site of both engines, with the real dialog as the component's "Parent".
#include "tests/dialog/DialogFixture.h"

#include "component/contracts/HostContracts.h"
#include "platform/automation/Registry.h"
#include "standard_zones/ComponentLaunch.h"


using namespace dialogtest;
namespace progid = cz::host::progid;
using hostdb::demo::LoadingBay;
using hostdb::demo::MainEntrance;
using hostdb::demo::Warehouse;

// Stands in for every property component and records, in order, what it is given.
class Probe : public QObject {
    Q_OBJECT
    Q_PROPERTY(int DoorId READ zero WRITE setDoorId)
    Q_PROPERTY(int OutputId READ zero WRITE setOutputId)
    Q_PROPERTY(int ExpOutputId READ zero WRITE setExpOutputId)
    Q_PROPERTY(int InputId READ zero WRITE setInputId)
    Q_PROPERTY(int ReaderId READ zero WRITE setReaderId)
    Q_PROPERTY(QObject* DBConnection READ none WRITE setDBConnection)
    Q_PROPERTY(QObject* NTConnection READ none WRITE setNTConnection)
    Q_PROPERTY(QObject* Parent READ none WRITE setParentObject)
public:
    explicit Probe(const QString& progId) { log << progId; }
    static inline QStringList log;
    static inline QList<QObject*> handed;  // DBConnection, NTConnection, Parent
    static inline bool failRaise = false;
    int zero() const { return 0; }
    QObject* none() const { return nullptr; }
    void setDoorId(int v) { log << QStringLiteral("DoorId=%1").arg(v); }
    void setOutputId(int v) { log << QStringLiteral("OutputId=%1").arg(v); }
    void setExpOutputId(int v) { log << QStringLiteral("ExpOutputId=%1").arg(v); }
    void setInputId(int v) { log << QStringLiteral("InputId=%1").arg(v); }
    void setReaderId(int v) { log << QStringLiteral("ReaderId=%1").arg(v); }
    void setDBConnection(QObject* o) { log << QStringLiteral("DBConnection"); handed << o; }
    void setNTConnection(QObject* o) { log << QStringLiteral("NTConnection"); handed << o; }
    void setParentObject(QObject* o) { log << QStringLiteral("Parent"); handed << o; }
    Q_INVOKABLE void RaiseForm() {
        log << QStringLiteral("RaiseForm");
        if (failRaise) automation::raise(automation::err::UserDefined, QStringLiteral("device busy"));
    }
};

namespace {

const QStringList kContext{QStringLiteral("DBConnection"), QStringLiteral("NTConnection"), QStringLiteral("Parent"), QStringLiteral("RaiseForm")};

class Launch : public DialogTest {
protected:
    void open(int controllerId) {
        DialogTest::open(controllerId);
        for (const QString& id : {progid::Door, progid::Output, progid::ExpOutput, progid::Input, progid::ExpInput, progid::Reader})
            automation::Registry::registerClass(id, [id] { return new Probe(id); });
        // Main Entrance's load tells of its time zone slot without a generic time zone.
        boxes.boxes.clear();
        host.journal->errors.clear();
    }
    cz::LaunchContext lc() { return {form(), form().state().ControllerType, &form(), form().window()}; }
    // The popup entry over a standard grid column; what the probes were given.
    QStringList popup(int entry, int sczColumn) {
        Probe::log.clear();
        Probe::handed.clear();
        cz::LaunchFromSCZPopup(lc(), entry, static_cast<qint16>(sczColumn));
        return Probe::log;
    }
    static QStringList raised(const QString& progId, const QString& idProperty, const QVariant& id) {
        return QStringList{progId, QStringLiteral("%1=%2").arg(idProperty, id.toString())} + kContext;
    }
    // The id of a hardware row ("outputs", "expoutputs", "inputs", "expinputs", "readers") by its index.
    QVariant rowId(const QString& table, int index) {
        static const QHash<QString, QStringList> columns{{"outputs", {"outputid", "\"index\""}}, {"expoutputs", {"expoutputid", "outputindex"}},
                                                         {"inputs", {"inputid", "\"index\""}}, {"expinputs", {"expinputid", "inputindex"}},
                                                         {"readers", {"readerid", "readerindex"}}};
        return db().scalar(QStringLiteral("select %1 from %2 where controllerid = %3 and %4 = %5")
                               .arg(columns[table][0], table).arg(form().m_ControllerId).arg(columns[table][1]).arg(index));
    }
};

TEST_P(Launch, RelayEntryOpensTheRelayItsDoorOrTheExpansionRelayAndNothingWithoutARow) {
    open(MainEntrance);  // type 3: base relays at grdSCZ 3..6, X1 at 7
    db().runScript(QStringLiteral("update outputs set belongtodoor = 1, belongto = 'D12' where controllerid = 4 and \"index\" = 3;"
                                  "update outputs set belongtodoor = 0, belongto = 'D99' where controllerid = 4 and \"index\" = 4"));
    EXPECT_EQ(popup(1, 7 + 16), QStringList{progid::ExpOutput} << QStringLiteral("ExpOutputId=0")) << "X17 has no row: made, never raised";
    EXPECT_TRUE(window().isEnabled()) << "nothing raised, nothing to wait for; the wait itself is the grid's case";
    const QString relay1Door = db().scalar(QStringLiteral("select belongto from outputs where controllerid = 4 and \"index\" = 1")).toString();
    EXPECT_EQ(popup(1, 3), raised(progid::Door, QStringLiteral("DoorId"), relay1Door.mid(1)));
    EXPECT_EQ(Probe::handed, (QList<QObject*>{conn.get(), host.comm.get(), &form()}));
    EXPECT_EQ(popup(1, 5), raised(progid::Door, QStringLiteral("DoorId"), 12));
    EXPECT_EQ(popup(1, 6), raised(progid::Output, QStringLiteral("OutputId"), rowId("outputs", 4)));
    EXPECT_EQ(popup(1, 7), raised(progid::ExpOutput, QStringLiteral("ExpOutputId"), rowId("expoutputs", 1)));
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_P(Launch, InputEntryKeepsToTheInputsTheControllerHas) {
    open(MainEntrance);  // type 3: base inputs 1 and 2 only; the seed wires both to doors
    db().runScript(QStringLiteral("update inputs set belongtodoor = 0 where controllerid = 4 and \"index\" = 1;"
                                  "insert into inputs (controllerid, \"index\", name, belongtodoor, belongto) values (4, 4, 'Sensor', 1, 'D7')"));
    EXPECT_EQ(popup(0, 3), raised(progid::Input, QStringLiteral("InputId"), rowId("inputs", 1)));
    EXPECT_EQ(popup(0, 5), QStringList()) << "input 3";
    EXPECT_EQ(popup(0, 6), raised(progid::Door, QStringLiteral("DoorId"), 7)) << "input 4 belongs to a door";
    EXPECT_EQ(popup(0, 7), raised(progid::ExpInput, QStringLiteral("InputId"), rowId("expinputs", 1)));
    EXPECT_EQ(popup(0, 7 + 8), raised(progid::ExpInput, QStringLiteral("InputId"), 0)) << "no row: raised all the same";
    EXPECT_EQ(popup(0, 7 + 32), QStringList()) << "expansion input 33";
    EXPECT_EQ(boxes.shown(), (QStringList{"64 R290: R2807", "64 R290: R2801"}));
}

TEST_P(Launch, Type7HasNoExpansionInputsAndReadersSitOverTheFirst16ExpansionColumns) {
    open(LoadingBay);  // type 7: base 3..6, X1 at 7
    db().runScript(QStringLiteral("delete from inputs where controllerid = 6 and \"index\" = 3"));
    EXPECT_EQ(popup(0, 5), raised(progid::Input, QStringLiteral("InputId"), 0));
    EXPECT_EQ(popup(0, 7), QStringList());
    EXPECT_EQ(popup(0, 7 + 32), QStringList());
    const QVariant reader1 = rowId("readers", 1);
    EXPECT_EQ(popup(2, 7), (QStringList{progid::Reader, kContext[0], kContext[1], QStringLiteral("ReaderId=%1").arg(reader1.toInt()), kContext[2], kContext[3]}));
    EXPECT_EQ(popup(2, 7 + 15).value(3), QStringLiteral("ReaderId=0")) << "reader 16 has no row";
    EXPECT_EQ(popup(2, 7 + 16), QStringList());
    EXPECT_EQ(popup(2, 6), QStringList());
    EXPECT_EQ(boxes.shown(), (QStringList{"64 R290: R2802", "64 R290: R2801", "64 R290: R289", "64 R290: R289"}));
}

TEST_P(Launch, MasterGridDoubleClickLaunchesByActionRow) {
    open(Warehouse);  // type 4: grdMCZ column 10 is expansion relay, input and reader 1
    QString kinds;
    for (qint16 row = 0; row <= 22; ++row) {
        Probe::log.clear();
        cz::LaunchActionComponent(lc(), row, 10);
        const QString made = Probe::log.value(0);
        kinds += made == progid::ExpOutput ? 'R' : made == progid::ExpInput ? 'I' : made == progid::Reader ? 'K' : '-';
    }
    EXPECT_EQ(kinds, QStringLiteral("-RRIIRRRRRRRRRRKIIII---"));
}

// Failures are logged under the launch; a database error in the lookup is
// shown once instead and launches nothing; the dialog stays enabled.
TEST_P(Launch, FailuresAreLoggedOrShownAndLeaveTheDialogEnabled) {
    open(MainEntrance);
    automation::Registry::unregisterClass(progid::Output);
    automation::Registry::unregisterClass(progid::Reader);
    db().runScript(QStringLiteral("update outputs set belongtodoor = 1, belongto = 'Dx' where controllerid = 4 and \"index\" = 3"));
    popup(1, 6);
    popup(2, 7);
    EXPECT_EQ(popup(1, 5), QStringList()) << "'x' is no door id";
    Probe::failRaise = true;
    EXPECT_EQ(popup(0, 7).last(), QStringLiteral("RaiseForm"));
    Probe::failRaise = false;
    QStringList logged;
    for (const auto& e : host.journal->errors) logged << QStringLiteral("%1 %2 %3").arg(e.location).arg(e.number).arg(e.controllerId.toInt());
    EXPECT_EQ(logged, (QStringList{QStringLiteral("LaunchRelayObject 429 4"), QStringLiteral("LaunchReaderObject 429 4"),
                                   QStringLiteral("LaunchRelayObject 13 4"), QStringLiteral("LaunchInputObject 1000 4")}));
    EXPECT_TRUE(boxes.boxes.isEmpty());

    host.journal->errors.clear();
    automation::Registry::registerClass(progid::Output, [] { return new Probe(progid::Output); });
    db().runScript(QStringLiteral("alter table outputs rename to outputs_gone"));
    EXPECT_EQ(popup(1, 6), QStringList{progid::Output} << QStringLiteral("OutputId=0"));
    EXPECT_EQ(boxes.shown(), QStringList{QStringLiteral("frmMain.GetComponentIdStr %1").arg(automation::err::ProviderError)});
    EXPECT_TRUE(host.journal->errors.isEmpty() && window().isEnabled());
}

TAMRIK_ON_BOTH_ENGINES(Launch);

}  // namespace

#include "launch_test.moc"
