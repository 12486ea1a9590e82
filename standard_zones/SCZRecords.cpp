#include "standard_zones/SCZRecords.h"

#include "master_zones/ConflictCheck.h"
#include "platform/automation/AutomationError.h"
#include "reference/TimeZones.h"
#include "standard_zones/ColumnLayout.h"
#include "standard_zones/ZoneLoad.h"

namespace cz {

namespace {
template <size_t N>
std::array<QString, N> numberedColumns(const char* prefix) {
    std::array<QString, N> names;
    for (size_t k = 1; k < N; ++k) names[k] = QLatin1String(prefix) + QString::number(k);
    return names;
}
}  // namespace

const std::array<QString, 9> SCZRelayColumns = numberedColumns<9>("ry");
const std::array<QString, 65> SCZExpRelayColumns = numberedColumns<65>("xry");

int SCZTable::checked(int n) {
    if (n < 0 || n >= Count) automation::raise(automation::err::SubscriptOutOfRange, QStringLiteral("standard control zone %1").arg(n));
    return n;
}

SCZRecord& SCZTable::operator()(int n) { return records_[checked(n)]; }
const SCZRecord& SCZTable::operator()(int n) const { return records_[checked(n)]; }
void SCZTable::clear() { records_.fill(SCZRecord{}); }

bool ToggleSCZColumn(SCZRecord& zone, qint32 ControllerType, int column) {
    qint16 baseFirst = 0, baseLast = 0, expFirst = 0, expLast = 0, tag = 0, alert = 0, unused = 0;
    GetColumnRange(ControllerType, QStringLiteral("BASE"), baseFirst, baseLast);
    GetColumnRange(ControllerType, QStringLiteral("EXP"), expFirst, expLast);
    GetColumnRange(ControllerType, QStringLiteral("TAG"), tag, unused);
    GetColumnRange(ControllerType, QStringLiteral("ALERT"), alert, unused);
    bool* mark = nullptr;
    if (column >= baseFirst && column <= baseLast) mark = &zone.Relay[static_cast<size_t>(column - baseFirst + 1)];
    else if (column >= expFirst && column <= expLast) mark = &zone.ExpRelay[static_cast<size_t>(column - expFirst + 1)];
    else if (column == tag) mark = &zone.Tag;
    else if (column == alert) mark = &zone.Alert;
    if (!mark) return false;
    *mark = !*mark;
    zone.Changed = true;
    return true;
}

void LoadSCZArray(const HostContext& ctx, TimeZones& timeZones, SCZTable& SCZArray, RowsAsLoaded* asLoaded) {
    const ZoneLoadKind kind{QStringLiteral("sp_FetchAllControllerStdControlZones "), database::adOpenDynamic, QStringLiteral("ControlZoneIndex"),
                            QStringLiteral("LoadSCZArray"),
                            [&](const database::Recordset& rs) {
                                if (asLoaded) RememberRowsAsLoaded(*asLoaded, LoadedKind::Standard, rs);
                            }};
    LoadZones(ctx, kind, SCZArray, [&](const database::Recordset& rs) {
        struct Columns {
            database::Column defined, name, tag, alert, tzPred;
            std::array<database::Column, 9> relay;
            std::array<database::Column, 65> expRelay;
        } c{rs.column(QStringLiteral("Defined")), rs.column(QStringLiteral("name")), rs.column(QStringLiteral("tag")),
            rs.column(QStringLiteral("alert")),   rs.column(QStringLiteral("TZ_PRED")), {}, {}};
        for (int k = 1; k <= 8; ++k) c.relay[k] = rs.column(SCZRelayColumns[k]);
        for (int k = 1; k <= 64; ++k) c.expRelay[k] = rs.column(SCZExpRelayColumns[k]);
        return [&timeZones, c](LoadedRow<SCZTable>& row) {
            auto flag = [&](const database::Column& column) { return row.field(column).toBool(); };
            row.store([&](SCZRecord& r) { r.ControlZoneIndex = row.number(); });
            row.store([&](SCZRecord& r) { r.Changed = false; });
            row.store([&](SCZRecord& r) { r.Defined = flag(c.defined); });
            row.store([&](SCZRecord& r) { r.Name = row.field(c.name).toText(); });
            row.store([&](SCZRecord& r) { r.Tag = flag(c.tag); });
            row.store([&](SCZRecord& r) { r.Alert = flag(c.alert); });
            row.store([&](SCZRecord& r) { r.TimeZoneId = timeZones.LookupGenericTZId(row.field(c.tzPred).toUInt8()); });
            for (int k = 1; k <= 8; ++k) row.store([&](SCZRecord& r) { r.Relay[k] = flag(c.relay[k]); });
            for (int k = 1; k <= 64; ++k) row.store([&](SCZRecord& r) { r.ExpRelay[k] = flag(c.expRelay[k]); });
        };
    });
}

}  // namespace cz
