#pragma once
// The name check "OK" runs before anything is saved: every changed zone needs
// a name that no other zone of the controller uses.
#include "diagnostics/HostContext.h"

#include <QString>

namespace cz {

class SCZTable;
class MCZTable;

// True when a changed zone (standard zones 0..191 first, then master zones
// 192..255) has no name or shares it with another zone; the first such zone
// is named in a message box and the check stops there.
bool ValidateZoneNames(const HostContext& ctx, const SCZTable& SCZArray, const MCZTable& MCZArray);

// True when `name` is empty or, compared exactly (letter case counts), is the
// name of any other zone, changed or not; then one message names `zone`.
bool ValidateZoneName(const HostContext& ctx, const SCZTable& SCZArray, const MCZTable& MCZArray, const QString& name, qint16 zone);

}  // namespace cz
