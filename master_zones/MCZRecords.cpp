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
    LoadZones(ctx, kind, MCZArray, [&](const database::Recordset& rs) {
        auto col = [&](const char* name) { return rs.column(QLatin1String(name)); };
        struct Columns {
            database::Column name, description, tag, alert, defined, tzPred, linkedZone, doorGroup, securityLevel, globalOut, globalId;
            std::array<database::Column, 21> actions;
        } c{col("name"),       col("Description"), col("tag"),           col("alert"),   col("Defined"), col("TZ_PRED"),
            col("LinkedZone"), col("DoorGroupID"), col("SecurityLevel"), col("globout"), col("globid"),  {}};
        for (std::size_t a = 0; a < MCZActionColumns.size(); ++a) c.actions[a] = rs.column(MCZActionColumns[a]);
        return [&timeZones, c](LoadedRow<MCZTable>& row) {
            auto field = [&](const database::Column& column) { return row.field(column); };
            row.store([&](MCZRecord& r) { r.MasterControlZoneIndex = row.number(); });
            row.store([&](MCZRecord& r) { r.Changed = false; });
            row.store([&](MCZRecord& r) { r.Name = field(c.name).toText(); });
            row.store([&](MCZRecord& r) { r.Description = field(c.description).toText(); });
            row.store([&](MCZRecord& r) { r.Tag = field(c.tag).toBool(); });
            row.store([&](MCZRecord& r) { r.Alert = field(c.alert).toBool(); });
            row.store([&](MCZRecord& r) { r.Defined = field(c.defined).toBool(); });
            row.store([&](MCZRecord& r) { r.TimeZoneId = timeZones.LookupGenericTZId(field(c.tzPred).toUInt8()); });
            row.store([&](MCZRecord& r) { r.LinkedZone = field(c.linkedZone).toUInt8(); });
            row.store([&](MCZRecord& r) { r.DoorGroupID = field(c.doorGroup).toInt32(); });
            row.store([&](MCZRecord& r) { r.SecurityLevel = field(c.securityLevel).toUInt8(); });
            row.store([&](MCZRecord& r) { r.GlobalOut = field(c.globalOut).toBool(); });
            row.store([&](MCZRecord& r) { r.GlobalId = field(c.globalId).toUInt8(); });
            for (std::size_t a = 0; a < MCZActionColumns.size(); ++a) row.store([&](MCZRecord& r) { r.Actions[a] = field(c.actions[a]).toUInt8(); });
        };
    });
}

void ClearMCZChangedFlags(MCZTable& MCZArray) {
    for (int n = MCZTable::First; n <= MCZTable::Last; ++n) MCZArray(n).Changed = false;
}

}  // namespace cz
