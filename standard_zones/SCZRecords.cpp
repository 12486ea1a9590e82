#include "standard_zones/SCZRecords.h"

#include "platform/automation/AutomationError.h"
#include "reference/TimeZones.h"
#include "standard_zones/ZoneLoad.h"

namespace cz {

int SCZTable::checked(int n) {
    if (n < 0 || n >= Count) automation::raise(automation::err::SubscriptOutOfRange, QStringLiteral("standard control zone %1").arg(n));
    return n;
}

SCZRecord& SCZTable::operator()(int n) { return records_[checked(n)]; }
const SCZRecord& SCZTable::operator()(int n) const { return records_[checked(n)]; }
void SCZTable::clear() { records_.fill(SCZRecord{}); }

void LoadSCZArray(const HostContext& ctx, TimeZones& timeZones, SCZTable& SCZArray) {
    const ZoneLoadKind kind{QStringLiteral("sp_FetchAllControllerStdControlZones "), database::adOpenDynamic, QStringLiteral("ControlZoneIndex"),
                            QStringLiteral("LoadSCZArray")};
    LoadZones(ctx, kind, SCZArray, [&](LoadedRow<SCZTable>& row) {
        auto flag = [&](const QString& column) { return row.field(column).toBool(); };
        row.store([&](SCZRecord& r) { r.ControlZoneIndex = row.number(); });
        row.store([&](SCZRecord& r) { r.Changed = false; });
        row.store([&](SCZRecord& r) { r.Defined = flag(QStringLiteral("Defined")); });
        row.store([&](SCZRecord& r) { r.Name = row.field(QStringLiteral("name")).toText(); });
        row.store([&](SCZRecord& r) { r.Tag = flag(QStringLiteral("tag")); });
        row.store([&](SCZRecord& r) { r.Alert = flag(QStringLiteral("alert")); });
        row.store([&](SCZRecord& r) { r.TimeZoneId = timeZones.LookupGenericTZId(row.field(QStringLiteral("TZ_PRED")).toUInt8()); });
        for (int k = 1; k <= 8; ++k) row.store([&](SCZRecord& r) { r.Relay[k] = flag(QStringLiteral("ry") + QString::number(k)); });
        for (int k = 1; k <= 64; ++k) row.store([&](SCZRecord& r) { r.ExpRelay[k] = flag(QStringLiteral("xry") + QString::number(k)); });
    });
}

}  // namespace cz
