#include "reference/TimeZones.h"

#include "component/contracts/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/MPublic.h"
#include "platform/automation/AutomationError.h"
#include "platform/controls/MessageBox.h"
#include "platform/database/Recordset.h"

#include <limits>

namespace cz {

namespace {

constexpr qint16 kSyncFailed = 287;
constexpr int kMapSize = 150;
// The catalogue grows in steps of this many entries while loading.
constexpr int kGrowth = 100;

using automation::raise;
namespace err = automation::err;

// The map is a fixed table: any other number is a subscript error.
int mapIndex(qint64 panelTZ) {
    if (panelTZ < 0 || panelTZ >= kMapSize)
        raise(err::SubscriptOutOfRange, QStringLiteral("controller time zone %1 is outside 0..149").arg(panelTZ));
    return static_cast<int>(panelTZ);
}

qint16 narrowTo16(qint32 v) {
    if (v < std::numeric_limits<qint16>::min() || v > std::numeric_limits<qint16>::max())
        raise(err::Overflow, QStringLiteral("generic time zone id %1 does not fit the map").arg(v));
    return static_cast<qint16>(v);
}

qint16 nextRow(qint16 i) {
    if (i == std::numeric_limits<qint16>::max()) raise(err::Overflow, QStringLiteral("too many generic time zones"));
    return static_cast<qint16>(i + 1);
}

}  // namespace

TimeZones::TimeZones(const HostContext& ctx, const automation::ObjectRef& timeZoneObject)
    : ctx_(ctx), timeZoneObject_(timeZoneObject) {}

void TimeZones::LoadTimeZoneInformation(qint32 ControllerId) {
    auto trap = ErrorTrap::showAndEnd(ctx_, QStringLiteral("frmMain.LoadTimeZoneInformation"));
    trap([&] { LoadGenericTZArray(GenericTZArray); });
    trap([&] { LoadPanelTimeZoneMap(ControllerId); });
}

void TimeZones::LoadGenericTZArray(QVector<GenericTZRecord>& table) {
    auto trap = ErrorTrap::showAndEnd(ctx_, QStringLiteral("frmMain.LoadGenericTZArray"));
    database::Recordset rs;
    qint16 i = 0;
    trap([&] {
        rs.Open(QStringLiteral("EXECUTE sp_FetchAllGenericTimeZoneNames"), ctx_.db(), database::adOpenForwardOnly,
                database::adLockReadOnly, database::adCmdText);
    });
    trap([&] { table = QVector<GenericTZRecord>(kGrowth + 1); });
    while (!trap.ended()) {
        bool atEnd = false;
        trap([&] { atEnd = rs.eof(); });
        if (atEnd || trap.ended()) break;
        trap([&] {
            if (i > table.size() - 2) table.resize(table.size() + kGrowth);
        });
        trap([&] { table[i].Name = rs.field(QStringLiteral("name")).toText(); });
        trap([&] { table[i].GenericTimeZoneId = rs.field(QStringLiteral("GenericTimeZoneId")).toInt32(); });
        trap([&] { rs.MoveNext(); });
        trap([&] { i = nextRow(i); });
    }
    trap([&] { rs.Close(); });
    // No rows leaves the table empty, so every name lookup misses.
    trap([&] { table.resize(i); });
}

void TimeZones::LoadPanelTimeZoneMap(qint32 ControllerId) {
    auto trap = ErrorTrap::showAndEnd(ctx_, QStringLiteral("frmMain.LoadPanelTimeZoneMap"));
    trap([&] { PanelTimeZoneMap.fill(0); });

    struct Source {
        QString procedure;  // ends in the blank before the controller id
        QString indexColumn;
    };
    // Standard, master, grand-master: one slot space, so a later list overwrites an earlier one.
    const Source sources[] = {
        {QStringLiteral("Sp_FetchAllDefinedControllerTimeZones "), QStringLiteral("TimeZoneIndex")},
        {QStringLiteral("Sp_FetchAllDefinedControllerMasterTimeZones "), QStringLiteral("MasterTimeZoneIndex")},
        {QStringLiteral("Sp_FetchAllDefinedControllerGrandTimeZones "), QStringLiteral("GrandMAsterTimeZoneIndex")},
    };
    database::Recordset rs;  // one recordset for the three lists
    for (const Source& s : sources) {
        trap([&] {
            rs.Open(s.procedure + QString::number(ControllerId), ctx_.db(), database::adOpenUnspecified, database::adLockUnspecified,
                    database::adCmdUnspecified);
        });
        while (!trap.ended()) {
            bool atEnd = false;
            trap([&] { atEnd = rs.eof(); });
            if (atEnd || trap.ended()) break;
            quint8 panelTZ = 0;
            qint32 generic = 0;
            qint32 index = 0;
            trap([&] { panelTZ = rs.field(s.indexColumn).toUInt8(); });
            trap([&] { generic = ConvertPanelTZToGenericTZId(ControllerId, panelTZ); });
            trap([&] { index = rs.field(s.indexColumn).toInt32(); });
            trap([&] { PanelTimeZoneMap[mapIndex(index)] = narrowTo16(generic); });
            trap([&] { rs.MoveNext(); });
        }
        trap([&] { rs.Close(); });
        if (trap.ended()) return;
    }
}

qint32 TimeZones::ConvertPanelTZToGenericTZId(qint32 ControllerId, quint8 PanelTZ) {
    auto trap = ErrorTrap::showAndEnd(ctx_, QStringLiteral("frmMain.ConvertPanelTZToGenericTZId"));
    qint32 result = 0;  // what a failed conversion yields
    database::Recordset rs;
    trap([&] {
        rs.Open(QStringLiteral("Sp_FetchGenericTimeZoneId ") + QString::number(ControllerId) + QStringLiteral(", ") + QString::number(PanelTZ),
                ctx_.db(), database::adOpenUnspecified, database::adLockUnspecified, database::adCmdUnspecified);
    });
    bool atEnd = false;
    trap([&] { atEnd = rs.eof(); });
    if (trap.ended()) return result;
    if (atEnd) {
        trap([&] {
            InformationBox(ctx_, QStringLiteral("No generic TZ found for controller TZ ") + QString::number(PanelTZ) +
                                     QStringLiteral(" . Recommend synchronization."));
        });
        trap([&] { result = 1; });
    } else {
        // Further rows are ignored.
        trap([&] { result = rs.field(QStringLiteral("GenericTimeZoneId")).toInt32(); });
    }
    return result;
}

qint32 TimeZones::LookupGenericTZId(quint8 PanelTZ) {
    auto trap = ErrorTrap::logAndEnd(ctx_, QStringLiteral("LookupGenericTZId"));
    qint32 result = 0;
    trap([&] { result = PanelTimeZoneMap[mapIndex(PanelTZ)]; });
    if (trap.failed()) result = 1;  // the fallback generic time zone
    return result;
}

quint8 TimeZones::LookupPanelTZNumber(qint32 ControllerId, qint32 GenericTZId) {
    for (int i = 0; i < kMapSize; ++i)
        if (PanelTimeZoneMap[i] == GenericTZId) return static_cast<quint8>(i);

    // Not on the controller yet. The map is deliberately left as it is, so
    // every later lookup of this id asks the time zone component again.
    auto trap = ErrorTrap::showAndEnd(ctx_, QStringLiteral("frmMain.LookupPanelTZNumber"));
    quint8 result = 0;
    bool synced = false;
    quint8 panelTZ = 0;
    trap([&] { synced = host::SyncTZToController(timeZoneObject_, ControllerId, GenericTZId, panelTZ); });
    if (trap.ended()) return result;
    if (synced) {
        result = panelTZ;
    } else {
        trap([&] {
            InformationBox(ctx_, GRS(ctx_, kSyncFailed));
        });
    }
    return result;
}

QString TimeZones::LookupGenericTZName(qint32 GenericTZId) {
    if (GenericTZId > 0) {
        for (const GenericTZRecord& r : GenericTZArray)
            if (r.GenericTimeZoneId == GenericTZId) return r.Name;
    }
    // No handler of its own: a failing log call goes to the caller's.
    host::LogError(ctx_.m_NTConnection, QVariant::fromValue(ctx_.m_ControllerId), automation::AutomationError(0, QStringLiteral("")),
                   QStringLiteral(""), QStringLiteral("TimeZone ID (%1) not found.").arg(GenericTZId));
    return QStringLiteral("??????");
}

}  // namespace cz
