// The second operator of the two-host tests: a host process of its own that
// opens a controller's zones, makes one edit and presses OK, as the shipped
// host would.
//   reliability_peer CONNECTION CONTROLLER ZONE rename:TEXT|relay:K [detect]
// Exits 0 when the dialog closed and the host had nothing to report.
#include "component/ControlZones.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "host/lib/HostObjects.h"
#include "host/lib/MainWindow.h"
#include "host/lib/StandIns.h"
#include "platform/automation/AutomationError.h"
#include "platform/controls/MessageBox.h"
#include "platform/database/Connection.h"

#include <QApplication>
#include <QPushButton>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    int boxes = 0;
    controls::MessageBoxService::setHandler([&](const controls::MessageBoxRequest& r) {
        std::fprintf(stderr, "[box] %s\n", qPrintable(r.text));
        return ++boxes, controls::mb::OK;
    });
    try {
        database::Connection connection;
        connection.Open(args.value(1));
        czhost::registerStandIns();
        cz::ControlZones zones;
        czhost::MainWindow host(&connection, QStringLiteral("admin"), &zones);
        host.communication()->setDetectConflicts(args.value(5) == QLatin1String("detect"));
        host.openControlZones(args.value(2).toInt());
        cz::FrmMain& form = cz::FrmMain::instance();
        if (!form.isLoaded()) return 3;
        const int zone = args.value(3).toInt();
        const QString edit = args.value(4);
        const auto apply = [&](auto& z) {
            if (edit.startsWith(QLatin1String("rename:"))) z.Name = edit.mid(7);
            z.Changed = true;
        };
        if (edit.startsWith(QLatin1String("relay:"))) form.state().SCZArray(zone).Relay[edit.mid(6).toInt()] ^= true;
        zone >= 192 ? apply(form.state().MCZArray(zone)) : apply(form.state().SCZArray(zone));
        form.window()->cmdOK->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        if (form.isLoaded()) return 4;
    } catch (const automation::AutomationError& e) {
        std::fprintf(stderr, "reliability_peer: %s\n", qPrintable(e.description()));
        return 5;
    }
    return boxes == 0 ? 0 : 6;
}
