// The host's objects as the component meets them: by member name, against a
// real host database on both engines.
#include "host/lib/HostObjects.h"
#include "platform/automation/Dispatch.h"
#include "platform/automation/ErrObject.h"
#include "tests/support/HostDatabase.h"
#include "tests/support/RecordingHost.h"

using namespace automation;

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
    EXPECT_TRUE(boxes.boxes.size() == 1 && !boxes.boxes[0].text.isEmpty()) << "the help text in a box";
}

TAMRIK_ON_BOTH_ENGINES(HostObjects);

}  // namespace
