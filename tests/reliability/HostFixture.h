#pragma once
// The shipped host as an operator meets it (its window, host objects and the
// component in-process) over the demo site on either engine. Saves go through
// OK; zone edits are made on the dialog's tables, as its editors make them.
#include "component/ControlZones.h"
#include "diagnostics/ListSelection.h"
#include "diagnostics/MPublic.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "host/lib/HostObjects.h"
#include "host/lib/MainWindow.h"
#include "host/lib/StandIns.h"
#include "tests/host/database_fixture.h"
#include "tests/support/MessageBoxRecorder.h"

#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace reliability {

using hostdb::demo::Warehouse;

// The host's window and the component, over a connection the test owns.
class HostDriver {
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
    // A click, then the event loop, so the host's report follows the dialog.
    static void ok() { QTest::mouseClick(form().window()->cmdOK, Qt::LeftButton), settle(); }
    static void cancel() { QTest::mouseClick(form().window()->CmdCancel, Qt::LeftButton), settle(); }
    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    static cz::FrmMain& form() { return cz::FrmMain::instance(); }
    czhost::Communication* comm() { return host->communication(); }
    static void rename(int zone, const QString& name) {
        const auto edit = [&](auto& z) { z.Name = name, z.Changed = true; };
        zone >= 192 ? edit(form().state().MCZArray(zone)) : edit(form().state().SCZArray(zone));
    }
    // `sql` with %1 the zone's table and %2 the condition that picks zone n of the Warehouse.
    static QString onZone(int n, const QString& sql) {
        const QString kind = n >= 192 ? QStringLiteral("master") : QStringLiteral("std");
        return sql.arg(QStringLiteral("controller%1controlzones").arg(kind),
                       QStringLiteral("controllerid = %1 and %2controlzoneindex = %3").arg(Warehouse).arg(n >= 192 ? kind : QString()).arg(n));
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
class HostTest : public hostdbtest::HostDatabaseTest, public HostDriver {
protected:
    void prepareDatabase() override {
        HostDatabaseTest::prepareDatabase();
        czhost::registerStandIns();
        startHost(conn.get());
    }
    void TearDown() override { closeHost(); }
    QVariant stored(int zone, const QString& column = QStringLiteral("name")) {
        return db().scalar(onZone(zone, QStringLiteral("select ") + column + QStringLiteral(" from %1 where %2")));
    }
    QString storedName(int zone) { return stored(zone).toString(); }
    void store(int zone, const QString& assignments) { db().runScript(onZone(zone, QStringLiteral("update %1 set ") + assignments + QStringLiteral(" where %2"))); }
};

}  // namespace reliability
