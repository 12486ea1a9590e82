#include "master_zones/MCZRecords.h"

#include "master_zones/ConflictCheck.h"
#include "platform/automation/AutomationError.h"
#include "reference/TimeZones.h"
#include "standard_zones/ZoneLoad.h"

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

void LoadMCZArray(const HostContext& ctx, TimeZones& timeZones, MCZTable& MCZArray, RowsAsLoaded* asLoaded) {
    const ZoneLoadKind kind{QStringLiteral("sp_fetchAllControllerMasterControlZones "), database::adOpenForwardOnly,
                            QStringLiteral("MasterControlZoneIndex"), QStringLiteral("LoadMCZArray"),
                            [&](const database::Recordset& rs) {
                                if (asLoaded) RememberRowsAsLoaded(*asLoaded, LoadedKind::Master, rs);
                            }};
    LoadZones(ctx, kind, MCZArray, [&](LoadedRow<MCZTable>& row) {
        auto field = [&](const QString& column) { return row.field(column); };
        row.store([&](MCZRecord& r) { r.MasterControlZoneIndex = row.number(); });
        row.store([&](MCZRecord& r) { r.Changed = false; });
        row.store([&](MCZRecord& r) { r.Name = field(QStringLiteral("name")).toText(); });
        row.store([&](MCZRecord& r) { r.Description = field(QStringLiteral("Description")).toText(); });
        row.store([&](MCZRecord& r) { r.Tag = field(QStringLiteral("tag")).toBool(); });
        row.store([&](MCZRecord& r) { r.Alert = field(QStringLiteral("alert")).toBool(); });
        row.store([&](MCZRecord& r) { r.Defined = field(QStringLiteral("Defined")).toBool(); });
        row.store([&](MCZRecord& r) { r.TimeZoneId = timeZones.LookupGenericTZId(field(QStringLiteral("TZ_PRED")).toUInt8()); });
        row.store([&](MCZRecord& r) { r.LinkedZone = field(QStringLiteral("LinkedZone")).toUInt8(); });
        row.store([&](MCZRecord& r) { r.DoorGroupID = field(QStringLiteral("DoorGroupID")).toInt32(); });
        row.store([&](MCZRecord& r) { r.SecurityLevel = field(QStringLiteral("SecurityLevel")).toUInt8(); });
        row.store([&](MCZRecord& r) { r.GlobalOut = field(QStringLiteral("globout")).toBool(); });
        row.store([&](MCZRecord& r) { r.GlobalId = field(QStringLiteral("globid")).toUInt8(); });
        for (std::size_t a = 0; a < MCZActionColumns.size(); ++a)
            row.store([&](MCZRecord& r) { r.Actions[a] = field(MCZActionColumns[a]).toUInt8(); });
    });
}

void ClearMCZChangedFlags(MCZTable& MCZArray) {
    for (int n = MCZTable::First; n <= MCZTable::Last; ++n) MCZArray(n).Changed = false;
}

}  // namespace cz
