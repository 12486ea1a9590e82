#pragma once
// Loads the component library by path and creates its class through the
// library's entry points, as any host would: no component header is used.
#include <QObject>
#include <QString>

namespace czhost {

class ComponentLoader {
public:
    // The library beside the host executable unless TAMRIK_COMPONENT_PATH names another.
    static QString defaultLibraryPath();
    // Raises an automation error with the reason when the class cannot be created.
    static QObject* createControlZones(const QString& libraryPath);
};

}  // namespace czhost
