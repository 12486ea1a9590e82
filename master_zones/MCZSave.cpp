#include "master_zones/MCZSave.h"

#include "master_zones/MCZRecords.h"
#include "platform/automation/Convert.h"
#include "reference/TimeZones.h"
#include "standard_zones/ZoneSave.h"

namespace cz {

void SaveMCZData(const HostContext& ctx, TimeZones& timeZones, const MCZTable& MCZArray, automation::ObjectRef& m_ControllerObject) {
    using automation::flagNumber;
    ZoneSaveKind kind;
    kind.procedure = QStringLiteral("sp_fetchallcontrollermastercontrolzones ");
    kind.indexColumn = QStringLiteral("MasterControlZoneIndex");
    kind.rowIdColumn = QStringLiteral("ControllerMasterControlZoneID");
    kind.commandSet = QStringLiteral("MASTER_CONTROL_ZONE");
    kind.descriptionPrefix = QStringLiteral("MCZ");
    kind.eventCode = 1093;
    kind.location = QStringLiteral("SaveMCZData");

    kind.isChanged = [&](qint16 n) { return MCZArray(n).Changed; };
    kind.writeColumns = [&](qint16 n, ZoneRow& row) {
        const MCZRecord& r = MCZArray(n);
        row.write(QStringLiteral("name"), [&] { return textOf(r.Name); });
        row.write(QStringLiteral("Description"), [&] { return textOf(r.Description); });
        row.write(QStringLiteral("tag"), [&] { return flagNumber(r.Tag); });
        row.write(QStringLiteral("alert"), [&] { return flagNumber(r.Alert); });
        row.write(QStringLiteral("TZ_PRED"), [&] { return timeZones.LookupPanelTZNumber(ctx.m_ControllerId, r.TimeZoneId); });
        // The one flag the table keeps as a Boolean; the others are numbers.
        row.write(QStringLiteral("Defined"), [&] { return r.Defined; });
        row.write(QStringLiteral("LinkedZone"), [&] { return r.LinkedZone; });
        row.write(QStringLiteral("DoorGroupID"), [&] { return r.DoorGroupID; });
        row.write(QStringLiteral("SecurityLevel"), [&] { return r.SecurityLevel; });
        row.write(QStringLiteral("globout"), [&] { return flagNumber(r.GlobalOut); });
        row.write(QStringLiteral("globid"), [&] { return r.GlobalId; });
        for (std::size_t a = 0; a < MCZActionColumns.size(); ++a) row.write(MCZActionColumns[a], [&] { return r.Actions[a]; });
    };

    SaveChangedZones(ctx, kind, m_ControllerObject);
}

}  // namespace cz
