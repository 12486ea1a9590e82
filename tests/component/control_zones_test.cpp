#include "component/ControlZones.h"
#include "dialog/FrmMain.h"
#include "platform/automation/Dispatch.h"
#include "platform/database/Connection.h"
#include "tests/support/Errors.h"
#include "tests/support/RecordingHost.h"

using namespace automation;
using testsupport::errorNumber;

// RaiseForm and the close are driven through these members by every dialog test.
TEST(ControlZonesObject, WriteOnlyAssignmentsGoStraightIntoTheSharedDialogObject) {
    testsupport::RecordingHost host, other;
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
    setProperty(&second, QStringLiteral("Parent"), fromObject(other.parent.get()));
    EXPECT_EQ(form.m_Parent.get(), other.parent.get());
    EXPECT_EQ(&cz::FrmMain::instance(), &form);

    for (int t : {1, 2, 3, 99}) {
        setProperty(&first, QStringLiteral("CONTROLZONETYPE"), t);
        EXPECT_EQ(first.controlZoneType(), t) << "kept, though nothing uses it";
    }
    EXPECT_EQ(errorNumber([&] { getProperty(&first, QStringLiteral("Parent")); }), err::PropertyWriteOnly);
    QObject notAConnection;
    EXPECT_EQ(errorNumber([&] { setProperty(&first, QStringLiteral("DBConnection"), fromObject(&notAConnection)); }), err::TypeMismatch);
}
