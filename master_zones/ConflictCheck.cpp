#include "master_zones/ConflictCheck.h"

#include "diagnostics/MPublic.h"
#include "master_zones/MCZRecords.h"
#include "platform/automation/AutomationError.h"
#include "platform/automation/Convert.h"
#include "platform/controls/MessageBox.h"
#include "platform/database/Recordset.h"
#include "reference/TimeZones.h"
#include "standard_zones/SCZRecords.h"

#include <QHash>
#include <functional>

namespace cz {

namespace {

struct Kind {
    QString procedure;    // the controller id is appended
    QString indexColumn;  // the zone number
    QString label;
};
const Kind kKinds[] = {
    {QStringLiteral("sp_fetchallcontrollerstdcontrolzones "), QStringLiteral("controlzoneindex"), QStringLiteral("SCZ")},
    {QStringLiteral("sp_fetchallcontrollermastercontrolzones "), QStringLiteral("mastercontrolzoneindex"), QStringLiteral("MCZ")},
};

// A zone row as the check compares it: by column name.
struct Row {
    const QHash<QString, int>& columns;
    const QVariantList& values;
    QVariant operator[](const QString& name) const { return values.value(columns.value(name.toLower(), -1)); }
};

// Whether the operator changed a value from what the row held: a value the
// record could not take from the row counts as changed (the save replaces it).
template <typename T, typename Convert>
bool differs(const QVariant& loaded, Convert convert, const T& mine) {
    try {
        return !(convert(loaded) == mine);
    } catch (const automation::AutomationError&) {
        return true;
    }
}

qint32 loadedTimeZone(const TimeZones& tz, const QVariant& v) {
    const qint32 panel = automation::toInt32(v);
    return panel >= 0 && panel < 150 ? tz.PanelTimeZoneMap[static_cast<std::size_t>(panel)] : 1;
}

bool editedSCZ(const SCZRecord& r, const Row& row, const TimeZones& tz) {
    using namespace automation;
    auto boolAt = [&](const QString& c, bool mine) { return differs(row[c], toBool, mine); };
    bool edited = differs(row[QStringLiteral("name")], toText, r.Name) || boolAt(QStringLiteral("tag"), r.Tag) ||
                  boolAt(QStringLiteral("alert"), r.Alert) ||
                  differs(row[QStringLiteral("tz_pred")], [&](const QVariant& v) { return loadedTimeZone(tz, v); }, r.TimeZoneId);
    for (int k = 1; k <= 8; ++k) edited = edited || boolAt(QStringLiteral("ry%1").arg(k), r.Relay[k]);
    for (int k = 1; k <= 64; ++k) edited = edited || boolAt(QStringLiteral("xry%1").arg(k), r.ExpRelay[k]);
    return edited;
}

bool editedMCZ(const MCZRecord& r, const Row& row, const TimeZones& tz) {
    using namespace automation;
    auto boolAt = [&](const QString& c, bool mine) { return differs(row[c], toBool, mine); };
    auto byteAt = [&](const QString& c, quint8 mine) { return differs(row[c], toUInt8, mine); };
    bool edited = differs(row[QStringLiteral("name")], toText, r.Name) || differs(row[QStringLiteral("description")], toText, r.Description) ||
                  boolAt(QStringLiteral("defined"), r.Defined) || boolAt(QStringLiteral("tag"), r.Tag) || boolAt(QStringLiteral("alert"), r.Alert) ||
                  boolAt(QStringLiteral("globout"), r.GlobalOut) || byteAt(QStringLiteral("linkedzone"), r.LinkedZone) ||
                  byteAt(QStringLiteral("securitylevel"), r.SecurityLevel) || byteAt(QStringLiteral("globid"), r.GlobalId) ||
                  differs(row[QStringLiteral("doorgroupid")], toInt32, r.DoorGroupID) ||
                  differs(row[QStringLiteral("tz_pred")], [&](const QVariant& v) { return loadedTimeZone(tz, v); }, r.TimeZoneId);
    for (std::size_t a = 0; a < MCZActionColumns.size(); ++a) edited = edited || byteAt(MCZActionColumns[a], r.Actions[a]);
    return edited;
}

struct Conflict {
    QString text;  // "SCZ 5 "name" (edited here)"
};

// The changed zones of one kind whose rows another operator saved since the load.
QList<Conflict> conflictsOf(const HostContext& ctx, const RowsAsLoaded& asLoaded, int kind, const std::function<bool(int zone)>& changed,
                            const std::function<QString(int zone)>& name, const std::function<bool(int zone, const Row& loaded)>& edited) {
    const RowsAsLoaded::Rows& was = asLoaded.kinds[kind];
    if (!was.taken)
        automation::raise(automation::err::UserDefined, QStringLiteral("the %1 rows as this dialog loaded them are not known").arg(kKinds[kind].label));
    database::Recordset rs;
    rs.Open(kKinds[kind].procedure + QString::number(ctx.m_ControllerId), ctx.db(), database::adOpenForwardOnly, database::adLockReadOnly);
    const database::ResultSet& now = rs.data();
    QHash<QString, int> columns;
    for (int i = now.columns.size() - 1; i >= 0; --i) columns.insert(now.columns.at(i).toLower(), i);
    QList<Conflict> out;
    for (const QVariantList& values : now.rows) {
        const Row row{columns, values};
        const int zone = automation::toInt32(row[kKinds[kind].indexColumn]);
        if (!changed(zone)) continue;
        const auto loaded = was.rows.constFind(zone);
        bool same = loaded != was.rows.constEnd() && loaded->size() == values.size() && now.columns.size() == was.columns.size();
        for (int i = 0; same && i < values.size(); ++i) {
            const QVariant& a = loaded->at(i);
            const QVariant& b = values.at(i);
            same = (automation::isNull(a) && automation::isNull(b)) || (!automation::isNull(a) && !automation::isNull(b) && a == b);
        }
        if (same) continue;
        const bool mine = loaded == was.rows.constEnd() || edited(zone, Row{was.columns, *loaded});
        out << Conflict{QStringLiteral("%1 %2 \"%3\" (%4)")
                            .arg(kKinds[kind].label)
                            .arg(zone)
                            .arg(name(zone), mine ? QStringLiteral("edited here") : QStringLiteral("only viewed here"))};
    }
    rs.Close();
    return out;
}

}  // namespace

void RememberRowsAsLoaded(RowsAsLoaded& keep, LoadedKind kind, const database::Recordset& rs) {
    RowsAsLoaded::Rows& a = keep.kinds[static_cast<int>(kind)];
    a = RowsAsLoaded::Rows();
    try {
        const database::ResultSet& d = rs.data();
        for (int i = d.columns.size() - 1; i >= 0; --i) a.columns.insert(d.columns.at(i).toLower(), i);
        const int index = a.columns.value(kKinds[static_cast<int>(kind)].indexColumn, -1);
        for (const QVariantList& row : d.rows) {
            try {
                a.rows.insert(automation::toInt32(row.value(index)), row);
            } catch (const automation::AutomationError&) {
                // A row without a usable number has no record; the loader reports it.
            }
        }
        a.taken = true;
    } catch (const automation::AutomationError&) {
        a = RowsAsLoaded::Rows();  // not known: the check says so at OK
    }
}

bool ConflictDetectionRequested(const HostContext& ctx) {
    QObject* comm = ctx.m_NTConnection.get();
    if (!comm || !automation::hasMember(comm, QStringLiteral("DetectConflicts"))) return false;
    try {
        const QVariant v = automation::getProperty(comm, QStringLiteral("DetectConflicts"));
        return v.metaType().id() == QMetaType::Bool && v.toBool();
    } catch (const automation::AutomationError&) {
        return false;
    }
}

bool ConfirmNoConflicts(const HostContext& ctx, const RowsAsLoaded& asLoaded, const TimeZones& timeZones, const SCZTable& SCZArray,
                        const MCZTable& MCZArray) {
    if (!ConflictDetectionRequested(ctx)) return true;
    QList<Conflict> conflicts;
    try {
        conflicts << conflictsOf(
            ctx, asLoaded, 0, [&](int z) { return z >= 0 && z < SCZTable::Count && SCZArray(z).Changed; }, [&](int z) { return SCZArray(z).Name; },
            [&](int z, const Row& loaded) { return editedSCZ(SCZArray(z), loaded, timeZones); });
        conflicts << conflictsOf(
            ctx, asLoaded, 1, [&](int z) { return z >= MCZTable::First && z <= MCZTable::Last && MCZArray(z).Changed; },
            [&](int z) { return MCZArray(z).Name; }, [&](int z, const Row& loaded) { return editedMCZ(MCZArray(z), loaded, timeZones); });
        if (conflicts.isEmpty()) return true;
        QStringList lines{QStringLiteral("Another operator saved these zones after this dialog loaded them:"), QString()};
        for (const Conflict& c : conflicts) lines << QStringLiteral("    ") + c.text;
        lines << QString() << QStringLiteral("Yes: save this dialog's zones over theirs.")
              << QStringLiteral("No: go back to editing; nothing is saved.");
        return controls::MessageBoxService::show(lines.join(QStringLiteral("\r\n")), controls::mb::YesNo | controls::mb::Exclamation,
                                                 GRS(ctx, MessageTitle)) == controls::mb::Yes;
    } catch (const automation::AutomationError& e) {
        WriteLog(ctx, QStringLiteral("The conflict check before saving failed; saving as usual: %1 (%2)").arg(e.description()).arg(e.number()));
        return true;
    }
}

}  // namespace cz
