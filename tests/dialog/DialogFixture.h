#pragma once
// The dialog as a host meets it: a seeded host database (both engines), a
// recording host object and communication object, the host's stand-ins for
// the sibling components, and ControlZones called by member name.
#include "component/ControlZones.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "host/lib/HostDatabase.h"
#include "host/lib/Seed.h"
#include "host/lib/StandIns.h"
#include "platform/automation/Dispatch.h"
#include "platform/database/Connection.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/RecordingHost.h"
#include "tests/support/TestDatabase.h"

#include <QCoreApplication>
#include <memory>

namespace dialogtest {

class DialogTest : public testsupport::DatabaseTest {
protected:
    void prepareDatabase() override {
        conn = std::make_unique<database::Connection>();
        conn->Open(db().connectionString());
        hostdb::createSchema(*conn);
        hostdb::seedDemo(*conn);
        czhost::registerStandIns();
        hostWindow.resize(400, 300);
        hostWindow.show();
        host.parent->window = &hostWindow;
        parentWindowHandle = host.parent->hwnd();
    }

    // Hands the context over by member name and raises the dialog, as a host
    // does; the recording communication object unless given another.
    void raise(int controllerId, QObject* comm = nullptr) {
        automation::setProperty(&zones, QStringLiteral("Parent"), automation::fromObject(host.parent.get()));
        automation::setProperty(&zones, QStringLiteral("DBConnection"), automation::fromObject(conn.get()));
        automation::setProperty(&zones, QStringLiteral("NTConnection"), automation::fromObject(comm ? comm : host.comm.get()));
        QVariantList args{controllerId};
        automation::callByRef(&zones, QStringLiteral("RaiseForm"), args);
    }

    cz::FrmMain& form() { return cz::FrmMain::instance(); }
    cz::FrmMainWindow& window() { return *form().window(); }
    testsupport::RecordingSecurity& security() { return *host.comm->securityObject(); }
    // Lets a destroyed window go, as the event loop would.
    static void settle() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    std::unique_ptr<database::Connection> conn;
    testsupport::RecordingHost host;
    testsupport::MessageBoxRecorder boxes;
    QWidget hostWindow;
    int parentWindowHandle = 0;
    cz::ControlZones zones;
};

}  // namespace dialogtest
