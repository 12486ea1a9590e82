#pragma once
// The shipped host as an operator meets it: its main window, its real host
// and communication objects, the component created in-process, and the demo
// site on either engine. Save paths are driven through the dialog's OK button;
// the zone edits are made on the dialog's tables, as its editors would.
#include "component/ControlZones.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "host/lib/HostDatabase.h"
#include "host/lib/HostObjects.h"
#include "host/lib/MainWindow.h"
#include "host/lib/Seed.h"
#include "host/lib/StandIns.h"
#include "platform/database/Connection.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/QtPrinters.h"
#include "tests/host/database_fixture.h"
#include "tests/support/TestDatabase.h"

#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace reliability {

using hostdb::demo::Warehouse;

// Short enough to keep the suite quick, long enough to be a real wait.
constexpr int kLockTimeoutMs = 300;

// The host's window and the component, over a connection the test owns.
class HostDriver {
public:
    virtual ~HostDriver() { closeHost(); }

    // The host's window over `connection`, as czhost builds it (conflict
    // detection left to each test).
    void startHost(database::Connection* connection) {
        host.reset();
        connection->setLockTimeout(kLockTimeoutMs);
        host = std::make_unique<czhost::MainWindow>(connection, QStringLiteral("admin"), &zones);
        comm()->setFallbackLogPath(logDir.filePath(QStringLiteral("errors.log")));
        comm()->setDetectConflicts(false);
    }
    void closeHost() {
        if (cz::FrmMain::instance().isLoaded()) cz::FrmMain::instance().Unload();
        settle();
        host.reset();
    }

    void open(int controller = Warehouse) {
        host->openControlZones(controller);
        ASSERT_TRUE(form().isLoaded());
    }
    // Presses OK and lets the event loop run, so the host's report follows the dialog.
    void ok() {
        QTest::mouseClick(form().window()->cmdOK, Qt::LeftButton);
        settle();
    }
    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static cz::FrmMain& form() { return cz::FrmMain::instance(); }
    czhost::Communication* comm() { return host->communication(); }
    static void renameSCZ(int n, const QString& name) {
        form().state().SCZArray(n).Name = name;
        form().state().SCZArray(n).Changed = true;
    }
    static void renameMCZ(int n, const QString& name) {
        form().state().MCZArray(n).Name = name;
        form().state().MCZArray(n).Changed = true;
    }
    // The host's report boxes (the dialog's own boxes have another title).
    QStringList reports() const {
        QStringList out;
        for (const auto& b : boxes.boxes)
            if (b.text.startsWith(QLatin1String("The control zones of controller"))) out << b.text;
        return out;
    }
    QStringList fallbackLines() const {
        QFile f(logDir.filePath(QStringLiteral("errors.log")));
        if (!f.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    // A zone's stored name, as `sql` reads it: select name of zone n of the Warehouse.
    static QString nameQuery(int zone) {
        const bool master = zone >= 192;
        return QStringLiteral("select name from %1 where controllerid = %2 and %3 = %4")
            .arg(master ? QStringLiteral("controllermastercontrolzones") : QStringLiteral("controllerstdcontrolzones"))
            .arg(Warehouse)
            .arg(master ? QStringLiteral("mastercontrolzoneindex") : QStringLiteral("controlzoneindex"))
            .arg(zone);
    }

    testsupport::MessageBoxRecorder boxes;
    QTemporaryDir logDir;
    cz::ControlZones zones;
    std::unique_ptr<czhost::MainWindow> host;
};

// The demo site on either engine, and the host over its connection.
class HostTest : public hostdbtest::HostDatabaseTest, public HostDriver {
protected:
    void prepareDatabase() override {
        HostDatabaseTest::prepareDatabase();
        czhost::registerStandIns();
        startHost(conn.get());
    }
    void TearDown() override { closeHost(); }

    QString storedName(int zone) { return db().scalar(nameQuery(zone)).toString(); }
};

}  // namespace reliability
