// The host's objects as the component meets them: by member name, against a
// real host database on both engines.
#include "host/lib/HostObjects.h"
#include "host/lib/StandIns.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/ErrObject.h"
#include "platform/automation/Registry.h"
#include "platform/controls/WindowHandle.h"
#include "tests/support/HostDatabase.h"
#include "tests/support/MessageBoxRecorder.h"

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace automation;

// Stands where the control-zone dialog stands for the sibling components: a
// window with a handle and the public callback, recording each call.
class RecordingDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(int hwnd READ hwnd)
public:
    int hwnd() { return controls::windowHandle(&window); }
    Q_INVOKABLE void Callback(QString& component, int& id, QVariant& action, QString& name) {
        calls << QStringLiteral("Callback(%1,%2,%3,%4)").arg(component).arg(id).arg(action.toString(), name);
        lastId = id;
    }
    QWidget window;
    QStringList calls;
    int lastId = 0;
};

namespace {

class HostObjects : public testsupport::HostDatabaseTest {
protected:
    void prepareDatabase() override {
        content = Content::Schema;
        HostDatabaseTest::prepareDatabase();
        db().runScript(QStringLiteral(R"(
            insert into users (username) values ('alice');
            insert into users (username) values ('bob');
            insert into userrights (username, componenttype, canview, cansave) values ('alice', 32, %1, %2);
            insert into usertabrights (username, componenttype, tabcaption, canview) values ('alice', 32, '&Master Control Zones', %2);
            insert into controllertypes (controller_type, type_name, base_relays) select 99, 'test', 4 where not exists (select 1 from controllertypes where controller_type = 99);
            insert into controllers (controller_id, controller_type, controller_name) values (5, 99, 'Dock');
        )").arg(pick("1", "true"), pick("0", "false")));
        comm = std::make_unique<czhost::Communication>(conn.get(), QStringLiteral("alice"));
        czhost::registerStandIns();
        nt = ObjectRef::borrowed(comm.get());
    }

    std::unique_ptr<czhost::Communication> comm;
    ObjectRef nt;
    testsupport::MessageBoxRecorder boxes;
};

TEST_P(HostObjects, SecurityAnswersFromTheSignedInUsersRights) {
    ObjectRef security = nt.getObject(QStringLiteral("Security"));
    security.set(QStringLiteral("ComponentType"), QVariant::fromValue<short>(32));
    EXPECT_TRUE(security.get(QStringLiteral("CanView")).toBool());
    EXPECT_FALSE(security.get(QStringLiteral("CanSave")).toBool());
    const auto tab = [&](const char* caption) {
        QVariantList args{QString::fromLatin1(caption)};
        return getProperty(toObject(security.callByRef(QStringLiteral("SubPermissions"), args)), QStringLiteral("CanView")).toBool();
    };
    EXPECT_FALSE(tab("&Master Control Zones"));
    EXPECT_TRUE(tab("&Standard Control Zones")) << "a tab without a row of its own follows the view right";
    security.set(QStringLiteral("ComponentType"), 33);
    EXPECT_FALSE(security.get(QStringLiteral("CanView")).toBool()) << "no row, no right";
    czhost::Communication stranger(conn.get(), QStringLiteral("bob"));
    setProperty(stranger.security(), QStringLiteral("ComponentType"), 32);
    EXPECT_FALSE(getProperty(stranger.security(), QStringLiteral("CanView")).toBool());
}

TEST_P(HostObjects, ErrorRowsAndHelp) {
    automation::ErrObject err(13, QStringLiteral("Type mismatch"));
    QVariantList log{5, fromObject(&err), QStringLiteral("LoadSCZArray"), QStringLiteral("120"), QVariant::fromValue<short>(0)};
    nt.callByRef(QStringLiteral("LogError"), log);
    EXPECT_EQ(db().count(QStringLiteral("errorlog"), QStringLiteral("controllerid = 5 and errornumber = 13 and location = 'LoadSCZArray' and line = '120'")), 1);
    nt.call(QStringLiteral("ShowHelp"), {QVariant::fromValue<short>(11)});
    ASSERT_EQ(boxes.boxes.size(), 1);
    EXPECT_FALSE(boxes.boxes[0].text.isEmpty());
}

// Launched from the dialog, the door group editor reports an added group or the cancel through Callback.
TEST_P(HostObjects, TheDoorGroupComponentReportsAnAddOrTheCancel) {
    RecordingDialog dialog;
    ObjectRef groups = Registry::create(QStringLiteral("DoorGroups.TamrikDoorgroup"));
    groups.set(QStringLiteral("DBConnectionString"), db().connectionString());
    groups.set(QStringLiteral("NTConnection"), fromObject(comm.get()));
    groups.set(QStringLiteral("Parent"), fromObject(&dialog));
    groups.set(QStringLiteral("DoorGroupID"), 0);
    groups.call(QStringLiteral("RaiseForm"));
    QDialog* editor = qobject_cast<czhost::DoorGroupComponent*>(groups.get())->editor();
    editor->findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("Loading bay"));
    QTest::mouseClick(editor->findChild<QPushButton*>(QStringLiteral("cmdOK")), Qt::LeftButton);
    EXPECT_EQ(dialog.calls.value(0), QStringLiteral("Callback(DOOR_GROUP,%1,ADD,Loading bay)").arg(dialog.lastId));
    EXPECT_EQ(db().count(QStringLiteral("doorgroups"), QStringLiteral("doorgroupname = 'Loading bay'")), 1);
    groups.call(QStringLiteral("RaiseForm"));
    qobject_cast<czhost::DoorGroupComponent*>(groups.get())->editor()->close();
    EXPECT_EQ(dialog.calls.value(1), QStringLiteral("Callback(DOOR_GROUP,0,CANCEL,)"));
}

TAMRIK_ON_BOTH_ENGINES(HostObjects);

}  // namespace

#include "objects_test.moc"
