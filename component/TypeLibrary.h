#pragma once
// The component's identity: its type library, the one creatable class and its
// dispatch interface, and the enumeration the library declares.
#include "diagnostics/MPublic.h"

#include <QString>

namespace cz::typelib {

inline const QString Name = QStringLiteral("TamrikControlZoneObject");
inline const QString Description = QStringLiteral("Control zone editor");
inline const QString LibraryGuid = QStringLiteral("e6100710-4d21-4e12-b713-c258ff1591c2");
inline const QString InterfaceGuid = QStringLiteral("93eeec01-0a82-42b2-a427-c3b5bb0e4d74");  // _ControlZones
inline const QString ClassGuid = QStringLiteral("e8f9d230-24e9-4c51-a37d-64ec7adf04c3");      // ControlZones
inline const QString EnumGuid = QStringLiteral("3c5354a2-fed9-45aa-b07d-c98b3036ada0");       // CONTROLZONETYPE
inline const QString ClassName = QStringLiteral("ControlZones");
inline const QString ProgId = QStringLiteral("TamrikControlZoneObject.ControlZones");

// The dispatch ids of _ControlZones are the class info of ControlZones ("DispId.<member>").

enum CONTROLZONETYPE : int { czStandard = 1, czMaster = 2, czGlobalMaster = 3 };

// The version the library registers with is the component's own.
inline QString version() { return ComponentVersion(); }

}  // namespace cz::typelib
