#include "standard_zones/SCZSave.h"

#include "component/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/MPublic.h"
#include "platform/automation/Convert.h"
#include "platform/database/Recordset.h"
#include "reference/TimeZones.h"
#include "standard_zones/SCZRecords.h"

#include <optional>

namespace cz {

namespace {

constexpr qint16 kZoneModifiedEvent = 661;  // resource text of the event
constexpr qint16 kZoneModifiedCode = 1092;
const QString kCommandSet = QStringLiteral("STD_CONTROL_ZONE");
const QString kObjectKind = QStringLiteral("Std Control Zone");

QVariant flag(bool b) { return QVariant::fromValue(automation::flagNumber(b)); }

}  // namespace

void SaveSCZData(const HostContext& ctx, TimeZones& timeZones, const SCZTable& SCZArray, automation::ObjectRef& m_ControllerObject) {
    // A failure ends the host transaction at once, so later writes are not
    // held in a transaction that will never be committed; the controller
    // object goes with it and is not fetched again in this save.
    auto step = ErrorTrap::logAndContinue(ctx, QStringLiteral(""));
    step.afterReport([&] {
        struct Drop {
            automation::ObjectRef& ref;
            ~Drop() { ref.release(); }
        } drop{m_ControllerObject};
        host::Endtran(ctx.m_NTConnection);
    });

    bool controllerFetched = false;
    step([&] { host::BeginTran(ctx.m_NTConnection); });

    database::Recordset rs;
    // A recordset that fails by itself (open, end test, moves) cannot be
    // trusted to reach its end: the save then goes straight to its close.
    bool usable = step([&] {
        rs.Open(QStringLiteral("sp_fetchallcontrollerstdcontrolzones ") + QString::number(ctx.m_ControllerId), ctx.db(),
                database::adOpenDynamic, database::adLockOptimistic, database::adCmdUnspecified);
    });

    // Every zone's time zone must have a number on the controller before
    // anything is written; unchanged zones included.
    while (usable) {
        bool atEnd = true;
        if (!(usable = step([&] { atEnd = rs.eof(); })) || atEnd) break;
        std::optional<qint32> n;
        step([&] { n = rs.field(QStringLiteral("ControlZoneIndex")).toInt32(); });
        if (n) step([&] { timeZones.LookupPanelTZNumber(ctx.m_ControllerId, SCZArray(*n).TimeZoneId); });
        usable = step([&] { rs.MoveNext(); });
    }
    if (usable) usable = step([&] { rs.MoveFirst(); });

    while (usable) {
        bool atEnd = true;
        if (!(usable = step([&] { atEnd = rs.eof(); })) || atEnd) break;
        // A row without a usable number has no record: it is never written,
        // rather than receiving the previous row's zone.
        std::optional<qint16> n;
        step([&] { n = rs.field(QStringLiteral("ControlZoneIndex")).toInt16(); });
        const SCZRecord* record = nullptr;
        if (n) step([&] { record = &SCZArray(*n); });
        if (record && record->Changed) {
            const SCZRecord& r = *record;
            // A record the database never filled has no name yet: written as empty text, not NULL.
            step([&] { rs.setValue(QStringLiteral("name"), r.Name.isNull() ? QString(QLatin1String("")) : r.Name); });
            step([&] { rs.setValue(QStringLiteral("tag"), flag(r.Tag)); });
            step([&] { rs.setValue(QStringLiteral("alert"), flag(r.Alert)); });
            step([&] {
                rs.setValue(QStringLiteral("TZ_PRED"), QVariant::fromValue(timeZones.LookupPanelTZNumber(ctx.m_ControllerId, r.TimeZoneId)));
            });
            // All eight, whatever the controller type: relays it lacks are written as 0.
            for (int k = 1; k <= 8; ++k) step([&] { rs.setValue(QStringLiteral("ry") + QString::number(k), flag(r.Relay[k])); });
            for (int k = 1; k <= 64; ++k) step([&] { rs.setValue(QStringLiteral("xry") + QString::number(k), flag(r.ExpRelay[k])); });
            step([&] { rs.Update(); });

            if (!controllerFetched) {
                controllerFetched = true;
                step([&] { m_ControllerObject = host::ControllersAdd(ctx.m_NTConnection, ctx.m_ControllerId); });
            }
            step([&] { host::CommandSetsAdd(m_ControllerObject, kCommandSet, rs.field(QStringLiteral("ControllerControlZoneId")).value()); });
            step([&] {
                const QString eventText = GRS(ctx, kZoneModifiedEvent);
                const QVariant rowId = rs.field(QStringLiteral("ControllerControlZoneId")).value();
                // The name as the row now holds it (the database's own when the update failed).
                const QString description =
                    QStringLiteral("(SCZ") + QString::number(*n) + QStringLiteral(") ") + rs.field(QStringLiteral("name")).toText();
                host::LogEvent(ctx.m_NTConnection, eventText, kObjectKind, rowId, description, kZoneModifiedCode);
            });
        }
        usable = step([&] { rs.MoveNext(); });
    }

    if (rs.isOpen()) step([&] { rs.Close(); });
    step([&] { host::Endtran(ctx.m_NTConnection); });
    m_ControllerObject.release();
}

}  // namespace cz
