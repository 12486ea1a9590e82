#include "standard_zones/SCZSave.h"

#include "platform/automation/Convert.h"
#include "reference/TimeZones.h"
#include "standard_zones/SCZRecords.h"
#include "standard_zones/ZoneSave.h"

#include <optional>

namespace cz {

void SaveSCZData(const HostContext& ctx, TimeZones& timeZones, const SCZTable& SCZArray, automation::ObjectRef& m_ControllerObject) {
    using automation::flagNumber;
    ZoneSaveKind kind;
    kind.procedure = QStringLiteral("sp_fetchallcontrollerstdcontrolzones ");
    kind.indexColumn = QStringLiteral("ControlZoneIndex");
    kind.rowIdColumn = QStringLiteral("ControllerControlZoneId");
    kind.commandSet = QStringLiteral("STD_CONTROL_ZONE");
    kind.descriptionPrefix = QStringLiteral("SCZ");
    kind.eventCode = 1092;
    kind.location = QStringLiteral("");

    // Every zone's time zone must have a number on the controller before
    // anything is written; unchanged zones included.
    kind.beforeWrites = [&](ZoneRow& row) {
        std::optional<qint32> n;
        row.step([&] { n = row.field(kind.indexColumn).toInt32(); });
        if (n) row.step([&] { timeZones.LookupPanelTZNumber(ctx.m_ControllerId, SCZArray(*n).TimeZoneId); });
    };
    kind.isChanged = [&](qint16 n) { return SCZArray(n).Changed; };
    kind.writeColumns = [&](qint16 n, ZoneRow& row) {
        const SCZRecord& r = SCZArray(n);
        row.write(QStringLiteral("name"), [&] { return textOf(r.Name); });
        row.write(QStringLiteral("tag"), [&] { return flagNumber(r.Tag); });
        row.write(QStringLiteral("alert"), [&] { return flagNumber(r.Alert); });
        row.write(QStringLiteral("TZ_PRED"), [&] { return timeZones.LookupPanelTZNumber(ctx.m_ControllerId, r.TimeZoneId); });
        // All eight, whatever the controller type: relays it lacks are written as 0.
        for (int k = 1; k <= 8; ++k) row.write(SCZRelayColumns[k], [&] { return flagNumber(r.Relay[k]); });
        for (int k = 1; k <= 64; ++k) row.write(SCZExpRelayColumns[k], [&] { return flagNumber(r.ExpRelay[k]); });
    };

    SaveChangedZones(ctx, kind, m_ControllerObject);
}

}  // namespace cz
