// czhost: the host application shipped with the control-zone component.
//   czhost [--database PATH|URL] [--user NAME] [--controller ID] [--screenshot FILE.png]
//          [--seed-scale N] [--customize]
// A SQLite file that does not exist yet is created and seeded with a demo site.
#include "host/app/ComponentLoader.h"
#include "host/lib/MainWindow.h"
#include "host/lib/HostDatabase.h"
#include "host/lib/Seed.h"
#include "host/lib/HostObjects.h"
#include "host/lib/StandIns.h"
#include "platform/automation/AutomationError.h"
#include "platform/controls/MessageBox.h"
#include "platform/controls/TabControl.h"
#include "platform/database/Connection.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>

namespace {

QString connectionStringFor(const QString& database) {
    if (database.contains(QStringLiteral("://")) || database.startsWith(QStringLiteral("sqlite:"))) return database;
    return QStringLiteral("sqlite:") + QFileInfo(database).absoluteFilePath();
}

QString defaultDatabase() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + QStringLiteral("/.local/share/czhost");
    QDir().mkpath(dir);
    return dir + QStringLiteral("/demo.db");
}

QWidget* findDialog() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("frmMain") && w->isVisible()) return w;
    return nullptr;
}

int fail(const QString& text) {
    std::fprintf(stderr, "czhost: %s\n", qPrintable(text));
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("czhost"));
    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral("Access-control host: opens the control-zone editor of a controller."));
    cli.addHelpOption();
    cli.addOption({{QStringLiteral("d"), QStringLiteral("database")},
                   QStringLiteral("SQLite file (created and seeded when missing) or postgresql:// URL."), QStringLiteral("db")});
    cli.addOption({{QStringLiteral("u"), QStringLiteral("user")}, QStringLiteral("Signed-in user (default admin)."), QStringLiteral("name"), QStringLiteral("admin")});
    cli.addOption({{QStringLiteral("c"), QStringLiteral("controller")}, QStringLiteral("Open this controller's control zones at once."), QStringLiteral("id")});
    cli.addOption({QStringLiteral("screenshot"), QStringLiteral("Render the dialog offscreen into this PNG and exit."), QStringLiteral("file")});
    cli.addOption({QStringLiteral("tab"), QStringLiteral("With --screenshot: the tab to show first (0 standard, 1 master)."), QStringLiteral("index"), QStringLiteral("0")});
    cli.addOption({QStringLiteral("seed-scale"), QStringLiteral("Create a new database with this many controllers, then exit."), QStringLiteral("n")});
    cli.addOption({QStringLiteral("customize"), QStringLiteral("Let the user customize the dialog's texts and layout.")});
    cli.process(app);

    const QString screenshot = cli.value(QStringLiteral("screenshot"));
    if (!screenshot.isEmpty())  // unattended: boxes are printed, never shown
        controls::MessageBoxService::setHandler([](const controls::MessageBoxRequest& r) {
            std::fprintf(stderr, "[message box] %s: %s\n", qPrintable(r.title), qPrintable(r.text));
            return (r.style & 0x0F) == controls::mb::YesNo ? controls::mb::Yes : controls::mb::OK;
        });

    const QString database = cli.isSet(QStringLiteral("database")) ? cli.value(QStringLiteral("database")) : defaultDatabase();
    database::Connection connection;
    try {
        const QString connectionString = connectionStringFor(database);
        if (connectionString.startsWith(QStringLiteral("sqlite:"))) {
            // The data layer opens existing files only: a new demo database starts as an empty file.
            const QString path = connectionString.mid(7);
            if (!QFileInfo::exists(path)) {
                QDir().mkpath(QFileInfo(path).absolutePath());
                QFile file(path);
                if (!file.open(QIODevice::WriteOnly)) return fail(QStringLiteral("cannot create %1").arg(path));
            }
        }
        connection.Open(connectionString);
        if (cli.isSet(QStringLiteral("seed-scale"))) {
            if (!hostdb::hasSchema(connection)) hostdb::createSchema(connection);
            hostdb::seedScale(connection, cli.value(QStringLiteral("seed-scale")).toInt());
            return 0;
        }
        if (!hostdb::hasSchema(connection)) {
            std::fprintf(stderr, "czhost: creating the demo database %s\n", qPrintable(database));
            hostdb::createSchema(connection);
            hostdb::seedDemo(connection);
        }
    } catch (const automation::AutomationError& e) {
        return fail(QStringLiteral("cannot open %1: %2").arg(database, e.description()));
    }

    czhost::registerStandIns();
    std::unique_ptr<QObject> controlZones;
    try {
        controlZones.reset(czhost::ComponentLoader::createControlZones(czhost::ComponentLoader::defaultLibraryPath()));
    } catch (const automation::AutomationError& e) {
        return fail(e.description());
    }

    czhost::MainWindow window(&connection, cli.value(QStringLiteral("user")), controlZones.get());
    window.communication()->setEnableCustomize(cli.isSet(QStringLiteral("customize")));
    window.show();

    int controller = cli.value(QStringLiteral("controller")).toInt();
    if (!screenshot.isEmpty() && controller == 0) controller = 1;
    if (controller) window.openControlZones(controller);

    if (!screenshot.isEmpty()) {
        QWidget* dialog = findDialog();
        if (!dialog) return fail(QStringLiteral("the control-zone dialog did not open"));
        if (auto* tabs = dialog->findChild<controls::TabControl*>(QStringLiteral("SSTab1")); tabs && cli.value(QStringLiteral("tab")).toInt() > 0)
            tabs->setTab(cli.value(QStringLiteral("tab")).toInt());
        QApplication::processEvents();
        if (!dialog->grab().save(screenshot)) return fail(QStringLiteral("cannot write %1").arg(screenshot));
        std::fprintf(stderr, "czhost: saved %s\n", qPrintable(screenshot));
        dialog->close();
        return 0;
    }
    const int status = app.exec();
    if (QWidget* dialog = findDialog()) dialog->close();
    return status;
}
