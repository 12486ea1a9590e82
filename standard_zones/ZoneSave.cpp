#include "standard_zones/ZoneSave.h"

#include "component/contracts/HostContracts.h"
#include "diagnostics/MPublic.h"

#include <optional>

namespace cz {

namespace {

constexpr qint16 kZoneModifiedEvent = 661;  // resource text of the event
// Every kind's events carry this object kind; the host's event views group by it.
const QString kObjectKind = QStringLiteral("Std Control Zone");

}  // namespace

void SaveChangedZones(const HostContext& ctx, const ZoneSaveKind& kind, automation::ObjectRef& m_ControllerObject) {
    // A failure ends the host transaction at once, so later writes are not
    // held in a transaction that will never be committed; the controller
    // object goes with it and is not fetched again in this save.
    auto step = ErrorTrap::logAndContinue(ctx, kind.location);
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
    ZoneRow row(rs, step);
    bool usable = step([&] {
        rs.Open(kind.procedure + QString::number(ctx.m_ControllerId), ctx.db(), database::adOpenDynamic, database::adLockOptimistic,
                database::adCmdUnspecified);
    });

    if (usable && kind.beforeWrites) {
        usable = step.forEachRow(rs, [&] { kind.beforeWrites(row); });
        if (usable) usable = step([&] { rs.MoveFirst(); });
    }

    if (usable) {
        step.forEachRow(rs, [&] {
            // A row without a usable number has no record: it is never
            // written, rather than receiving the previous row's zone.
            std::optional<qint16> n;
            step([&] { n = rs.field(kind.indexColumn).toInt16(); });
            bool changed = false;
            if (n) step([&] { changed = kind.isChanged(*n); });
            if (!changed) return;

            kind.writeColumns(*n, row);
            step([&] { rs.Update(); });

            // Marked before the fetch: a failed fetch is not tried again either.
            if (!controllerFetched) {
                controllerFetched = true;
                step([&] { m_ControllerObject = host::ControllersAdd(ctx.m_NTConnection, ctx.m_ControllerId); });
            }
            step([&] { host::CommandSetsAdd(m_ControllerObject, kind.commandSet, rs.field(kind.rowIdColumn).value()); });
            step([&] {
                const QString eventText = GRS(ctx, kZoneModifiedEvent);
                const QVariant rowId = rs.field(kind.rowIdColumn).value();
                // The name as the row now holds it (the database's own when the update failed).
                const QString description = QStringLiteral("(") + kind.descriptionPrefix + QString::number(*n) + QStringLiteral(") ") +
                                            rs.field(QStringLiteral("name")).toText();
                host::LogEvent(ctx.m_NTConnection, eventText, kObjectKind, rowId, description, kind.eventCode);
            });
        });
    }

    if (rs.isOpen()) step([&] { rs.Close(); });
    step([&] { host::Endtran(ctx.m_NTConnection); });
    m_ControllerObject.release();
}

}  // namespace cz
