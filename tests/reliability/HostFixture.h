#pragma once
// The shipped host as an operator meets it (its window, host objects and the
// component in-process) over the demo site on either engine. Saves go through
// OK; zone edits are made on the dialog's tables, as its editors make them.
#include "component/ControlZones.h"
#include "diagnostics/ListSelection.h"
#include "diagnostics/MPublic.h"
#include "host/lib/HostObjects.h"
#include "host/lib/MainWindow.h"
#include "host/lib/StandIns.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/HostDatabase.h"
#include "tests/support/RecordingHost.h"

#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace reliability {

using hostdb::demo::Warehouse;

// The host's window and the component, over a connection the test owns.
class HostDriver : public testsupport::DialogDriver {
public:
    virtual ~HostDriver() { closeHost(); }
    // As czhost builds it, without conflict detection; lock waits short enough for a quick suite.
    void startHost(database::Connection* connection) {
        host.reset();
        connection->setLockTimeout(300);
        host = std::make_unique<czhost::MainWindow>(connection, QStringLiteral("admin"), &zones);
        comm()->setFallbackLogPath(logDir.filePath(QStringLiteral("errors.log")));
        comm()->setDetectConflicts(false);
    }
    void closeHost() {
        if (form().isLoaded()) form().Unload();
        settle();
        host.reset();
    }
    void open(int controller = Warehouse) {
        host->openControlZones(controller);
        ASSERT_TRUE(form().isLoaded());
    }
    czhost::Communication* comm() { return host->communication(); }
    static void rename(int zone, const QString& name) {
        const auto edit = [&](auto& z) { z.Name = name, z.Changed = true; };
        zone >= 192 ? edit(form().state().MCZArray(zone)) : edit(form().state().SCZArray(zone));
    }
    // The host's report boxes (the dialog's own boxes say something else).
    QStringList reports() const {
        QStringList out;
        for (const auto& b : boxes.boxes) out << b.text;
        return out.filter(QRegularExpression(QStringLiteral("^The control zones of controller")));
    }
    QString report() const {  // the one report
        EXPECT_EQ(reports().size(), 1);
        return reports().value(0);
    }
    bool fallbackWritten() const { return QFile(logDir.filePath(QStringLiteral("errors.log"))).size() > 0; }

    testsupport::MessageBoxRecorder boxes;
    QTemporaryDir logDir;
    cz::ControlZones zones;
    std::unique_ptr<czhost::MainWindow> host;
};

// The demo site on either engine, and the host over its connection.
class HostTest : public testsupport::HostDatabaseTest, public HostDriver {
protected:
    void prepareDatabase() override {
        HostDatabaseTest::prepareDatabase();
        czhost::registerStandIns();
        startHost(conn.get());
    }
    void TearDown() override { closeHost(); }
};

}  // namespace reliability
