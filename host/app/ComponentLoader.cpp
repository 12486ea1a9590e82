#include "host/app/ComponentLoader.h"

#include "platform/automation/ComServer.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace czhost {

namespace {
// The class id of ControlZones, as its type library publishes it.
const QString ControlZonesClassId = QStringLiteral("e8f9d230-24e9-4c51-a37d-64ec7adf04c3");
}  // namespace

QString ComponentLoader::defaultLibraryPath() {
    const QString configured = qEnvironmentVariable("TAMRIK_COMPONENT_PATH");
    if (!configured.isEmpty()) return QFileInfo(configured).absoluteFilePath();
    return QCoreApplication::applicationDirPath() + QStringLiteral("/TamrikControlZoneObject.so");
}

QObject* ComponentLoader::createControlZones(const QString& libraryPath) {
    return automation::com::createFromLibrary(libraryPath, ControlZonesClassId);
}

}  // namespace czhost
