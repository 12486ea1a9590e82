#include "master_zones/ZoneNames.h"

#include "diagnostics/MPublic.h"
#include "master_zones/MCZRecords.h"
#include "platform/controls/MessageBox.h"
#include "standard_zones/SCZRecords.h"

namespace cz {

namespace {

constexpr qint16 kStandardNameTaken = 1732;
constexpr qint16 kStandardNameMissing = 1733;
constexpr qint16 kMasterNameTaken = 1735;
constexpr qint16 kMasterNameMissing = 1736;

bool isMaster(qint16 zone) { return zone >= MCZTable::First; }

void tell(const HostContext& ctx, qint16 resourceId, const QStringList& inserts) {
    controls::MessageBoxService::show(GRS(ctx, resourceId, inserts), controls::mb::OKOnly | controls::mb::Information, AppTitle);
}

bool nameUsedElsewhere(const SCZTable& SCZArray, const MCZTable& MCZArray, const QString& name, qint16 zone) {
    for (int n = 0; n < SCZTable::Count; ++n)
        if (n != zone && SCZArray(n).Name == name) return true;
    for (int n = MCZTable::First; n <= MCZTable::Last; ++n)
        if (n != zone && MCZArray(n).Name == name) return true;
    return false;
}

}  // namespace

bool ValidateZoneNames(const HostContext& ctx, const SCZTable& SCZArray, const MCZTable& MCZArray) {
    for (int n = 0; n < SCZTable::Count; ++n) {
        const SCZRecord& r = SCZArray(n);
        if (r.Changed && ValidateZoneName(ctx, SCZArray, MCZArray, r.Name, static_cast<qint16>(n))) return true;
    }
    for (int n = MCZTable::First; n <= MCZTable::Last; ++n) {
        const MCZRecord& r = MCZArray(n);
        if (r.Changed && ValidateZoneName(ctx, SCZArray, MCZArray, r.Name, static_cast<qint16>(n))) return true;
    }
    return false;
}

bool ValidateZoneName(const HostContext& ctx, const SCZTable& SCZArray, const MCZTable& MCZArray, const QString& name, qint16 zone) {
    const QString number = QString::number(zone);
    if (name.isEmpty()) {
        tell(ctx, isMaster(zone) ? kMasterNameMissing : kStandardNameMissing, {number});
        return true;
    }
    if (nameUsedElsewhere(SCZArray, MCZArray, name, zone)) {
        tell(ctx, isMaster(zone) ? kMasterNameTaken : kStandardNameTaken, {number, name});
        return true;
    }
    return false;
}

}  // namespace cz
