#include "component/ControlZones.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "platform/automation/Dispatch.h"
#include "platform/database/Connection.h"
#include "tests/support/Errors.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingHost.h"

using namespace automation;
using testsupport::errorNumber;

TEST(ControlZonesObject, AssignmentsGoStraightIntoTheSharedDialogObject) {
    testsupport::RecordingHost host;
    database::Connection connection;
    cz::ControlZones first, second;
    setProperty(&first, QStringLiteral("Parent"), fromObject(host.parent.get()));
    setProperty(&first, QStringLiteral("DBConnection"), fromObject(&connection));
    setProperty(&first, QStringLiteral("NTConnection"), fromObject(host.comm.get()));
    cz::FrmMain& form = cz::FrmMain::instance();
    EXPECT_EQ(form.m_Parent.get(), host.parent.get());
    EXPECT_EQ(form.m_DBConnection.get(), &connection);
    EXPECT_EQ(form.m_NTConnection.get(), host.comm.get());

    // A second object on the same thread replaces what the first assigned.
    testsupport::RecordingHost other;
    setProperty(&second, QStringLiteral("Parent"), fromObject(other.parent.get()));
    EXPECT_EQ(form.m_Parent.get(), other.parent.get());
    EXPECT_EQ(&cz::FrmMain::instance(), &form);
}

TEST(ControlZonesObject, PropertiesAreWriteOnlyAndTypeIsKeptButUnused) {
    cz::ControlZones zones;
    for (int t : {1, 2, 3, 99}) {
        setProperty(&zones, QStringLiteral("CONTROLZONETYPE"), t);
        EXPECT_EQ(zones.controlZoneType(), t);
    }
    EXPECT_EQ(errorNumber([&] { getProperty(&zones, QStringLiteral("Parent")); }), err::PropertyWriteOnly);
    QObject notAConnection;
    EXPECT_EQ(errorNumber([&] { setProperty(&zones, QStringLiteral("DBConnection"), fromObject(&notAConnection)); }), err::TypeMismatch);
}

TEST(ControlZonesObject, RaiseFormShowsTheDialogAndReturnsAtOnce) {
    testsupport::MessageBoxRecorder boxes;
    testsupport::RecordingHost host;
    database::Connection connection;
    cz::ControlZones zones;
    setProperty(&zones, QStringLiteral("Parent"), fromObject(host.parent.get()));
    setProperty(&zones, QStringLiteral("DBConnection"), fromObject(&connection));
    setProperty(&zones, QStringLiteral("NTConnection"), fromObject(host.comm.get()));
    QVariantList args{17};
    callByRef(&zones, QStringLiteral("RaiseForm"), args);
    cz::FrmMain& form = cz::FrmMain::instance();
    ASSERT_TRUE(form.isLoaded());
    EXPECT_TRUE(form.window()->isVisible());
    EXPECT_EQ(form.m_ControllerId, 17);
    EXPECT_EQ(host.journal->count(QStringLiteral("CZCallback")), 0) << "the outcome comes later, on close";

    form.window()->close();  // the close box
    EXPECT_FALSE(form.isLoaded());
    EXPECT_EQ(host.parent->lastCloseReason, QStringLiteral("CANCEL"));
    EXPECT_EQ(host.parent->lastCellEdited, QStringLiteral("False"));
    EXPECT_FALSE(form.m_Parent) << "closing releases the host's objects";
    EXPECT_FALSE(form.m_NTConnection);
    EXPECT_EQ(form.m_ControllerId, 17) << "the controller id keeps its value";
}
