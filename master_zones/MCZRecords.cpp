#include "master_zones/MCZRecords.h"

#include "diagnostics/ErrorTrap.h"
#include "master_zones/ConflictCheck.h"
#include "platform/automation/AutomationError.h"
#include "platform/database/Recordset.h"
#include "reference/TimeZones.h"

#include <optional>

namespace cz {

const std::array<QString, 21> MCZActionColumns = {
    QStringLiteral("trigger"),        QStringLiteral("Clear"),         QStringLiteral("mask"),
    QStringLiteral("unmask"),         QStringLiteral("Unlock"),        QStringLiteral("relock"),
    QStringLiteral("force_on"),       QStringLiteral("force_on_rel"),  QStringLiteral("force_off"),
    QStringLiteral("force_off_rel"),  QStringLiteral("lock_down"),     QStringLiteral("lock_down_rel"),
    QStringLiteral("lock_open"),      QStringLiteral("lock_open_rel"), QStringLiteral("annunc_keypads"),
    QStringLiteral("entry_cancel"),   QStringLiteral("exit_start"),    QStringLiteral("unmaskif"),
    QStringLiteral("farm"),           QStringLiteral("LEDOn"),         QStringLiteral("LEDOff"),
};

int MCZTable::checked(int n) {
    if (n < First || n > Last) automation::raise(automation::err::SubscriptOutOfRange, QStringLiteral("master control zone %1").arg(n));
    return n - First;
}

MCZRecord& MCZTable::operator()(int n) { return records_[checked(n)]; }
const MCZRecord& MCZTable::operator()(int n) const { return records_[checked(n)]; }
void MCZTable::clear() { records_.fill(MCZRecord{}); }

void LoadMCZArray(const HostContext& ctx, TimeZones& timeZones, MCZTable& MCZArray) {
    auto trap = ErrorTrap::logAndContinue(ctx, QStringLiteral("LoadMCZArray"));
    database::Recordset rs;
    if (!trap([&] {
            rs.Open(QStringLiteral("sp_fetchAllControllerMasterControlZones ") + QString::number(ctx.m_ControllerId), ctx.db(),
                    database::adOpenForwardOnly, database::adLockReadOnly, database::adCmdUnspecified);
        }))
        return;
    RememberRowsAsLoaded(ctx, LoadedKind::Master, rs);
    auto field = [&](const QString& name) { return rs.field(name); };

    // A recordset that fails by itself ends loading with the rows read so far.
    trap.forEachRow(rs, [&] {
        // The number is read afresh for every row. Without one (NULL, out of
        // range) the row has no record: each of its stores fails and is
        // logged, rather than landing in the previous row's zone.
        std::optional<qint16> n;
        trap([&] { n = field(QStringLiteral("MasterControlZoneIndex")).toInt16(); });
        auto rec = [&]() -> MCZRecord& {
            if (!n) automation::raise(automation::err::SubscriptOutOfRange, QStringLiteral("the row has no usable zone number"));
            return MCZArray(*n);
        };
        // Each store addresses the record before reading its value, so a row
        // without a record reports every store the same way.
        trap([&] { MCZRecord& r = rec(); r.MasterControlZoneIndex = *n; });
        trap([&] { MCZRecord& r = rec(); r.Changed = false; });
        trap([&] { MCZRecord& r = rec(); r.Name = field(QStringLiteral("name")).toText(); });
        trap([&] { MCZRecord& r = rec(); r.Description = field(QStringLiteral("Description")).toText(); });
        trap([&] { MCZRecord& r = rec(); r.Tag = field(QStringLiteral("tag")).toBool(); });
        trap([&] { MCZRecord& r = rec(); r.Alert = field(QStringLiteral("alert")).toBool(); });
        trap([&] { MCZRecord& r = rec(); r.Defined = field(QStringLiteral("Defined")).toBool(); });
        trap([&] { MCZRecord& r = rec(); r.TimeZoneId = timeZones.LookupGenericTZId(field(QStringLiteral("TZ_PRED")).toUInt8()); });
        trap([&] { MCZRecord& r = rec(); r.LinkedZone = field(QStringLiteral("LinkedZone")).toUInt8(); });
        trap([&] { MCZRecord& r = rec(); r.DoorGroupID = field(QStringLiteral("DoorGroupID")).toInt32(); });
        trap([&] { MCZRecord& r = rec(); r.SecurityLevel = field(QStringLiteral("SecurityLevel")).toUInt8(); });
        trap([&] { MCZRecord& r = rec(); r.GlobalOut = field(QStringLiteral("globout")).toBool(); });
        trap([&] { MCZRecord& r = rec(); r.GlobalId = field(QStringLiteral("globid")).toUInt8(); });
        for (std::size_t a = 0; a < MCZActionColumns.size(); ++a)
            trap([&] { MCZRecord& r = rec(); r.Actions[a] = field(MCZActionColumns[a]).toUInt8(); });
    });
    trap([&] { rs.Close(); });
}

void ClearMCZChangedFlags(MCZTable& MCZArray) {
    for (int n = MCZTable::First; n <= MCZTable::Last; ++n) MCZArray(n).Changed = false;
}

}  // namespace cz
