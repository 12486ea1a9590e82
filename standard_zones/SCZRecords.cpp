#include "standard_zones/SCZRecords.h"

#include "diagnostics/ErrorTrap.h"
#include "master_zones/ConflictCheck.h"
#include "platform/automation/AutomationError.h"
#include "platform/database/Recordset.h"
#include "reference/TimeZones.h"

#include <optional>

namespace cz {

int SCZTable::checked(int n) {
    if (n < 0 || n >= Count) automation::raise(automation::err::SubscriptOutOfRange, QStringLiteral("standard control zone %1").arg(n));
    return n;
}

SCZRecord& SCZTable::operator()(int n) { return records_[checked(n)]; }
const SCZRecord& SCZTable::operator()(int n) const { return records_[checked(n)]; }
void SCZTable::clear() { records_.fill(SCZRecord{}); }

void LoadSCZArray(const HostContext& ctx, TimeZones& timeZones, SCZTable& SCZArray) {
    auto trap = ErrorTrap::logAndContinue(ctx, QStringLiteral("LoadSCZArray"));
    database::Recordset rs;
    if (!trap([&] {
            rs.Open(QStringLiteral("sp_FetchAllControllerStdControlZones ") + QString::number(ctx.m_ControllerId), ctx.db(),
                    database::adOpenDynamic, database::adLockReadOnly, database::adCmdUnspecified);
        }))
        return;
    RememberRowsAsLoaded(ctx, LoadedKind::Standard, rs);
    auto field = [&](const QString& name) { return rs.field(name); };

    // A recordset that fails by itself ends loading with the rows read so far.
    trap.forEachRow(rs, [&] {
        // The number is read afresh for every row. Without one (NULL, out of
        // range) the row has no record: each of its stores fails and is
        // logged, rather than landing in the previous row's zone.
        std::optional<qint16> n;
        trap([&] { n = field(QStringLiteral("ControlZoneIndex")).toInt16(); });
        auto rec = [&]() -> SCZRecord& {
            if (!n) automation::raise(automation::err::SubscriptOutOfRange, QStringLiteral("the row has no usable zone number"));
            return SCZArray(*n);
        };
        // Each store addresses the record before reading its value, so a row
        // without a record reports every store the same way.
        trap([&] { SCZRecord& r = rec(); r.ControlZoneIndex = *n; });
        trap([&] { SCZRecord& r = rec(); r.Changed = false; });
        trap([&] { SCZRecord& r = rec(); r.Defined = field(QStringLiteral("Defined")).toBool(); });
        trap([&] { SCZRecord& r = rec(); r.Name = field(QStringLiteral("name")).toText(); });
        trap([&] { SCZRecord& r = rec(); r.Tag = field(QStringLiteral("tag")).toBool(); });
        trap([&] { SCZRecord& r = rec(); r.Alert = field(QStringLiteral("alert")).toBool(); });
        trap([&] { SCZRecord& r = rec(); r.TimeZoneId = timeZones.LookupGenericTZId(field(QStringLiteral("TZ_PRED")).toUInt8()); });
        for (int k = 1; k <= 8; ++k)
            trap([&] { SCZRecord& r = rec(); r.Relay[k] = field(QStringLiteral("ry") + QString::number(k)).toBool(); });
        for (int k = 1; k <= 64; ++k)
            trap([&] { SCZRecord& r = rec(); r.ExpRelay[k] = field(QStringLiteral("xry") + QString::number(k)).toBool(); });
    });
    trap([&] { rs.Close(); });
}

}  // namespace cz
