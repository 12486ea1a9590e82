#include "reference/PickLists.h"

#include "diagnostics/ErrorTrap.h"
#include "diagnostics/MPublic.h"
#include "platform/automation/Convert.h"
#include "platform/controls/ListControls.h"
#include "platform/database/Recordset.h"
#include "reference/NewItems.h"
#include "reference/TimeZones.h"
#include "standard_zones/SCZRecords.h"

#include <QWidget>

namespace cz {

namespace {

using Entries = QList<std::pair<QString, qint32>>;

// "CZ<n>-<name>" for every standard zone, with its number as item data.
Entries zoneEntries(const SCZTable& SCZArray) {
    Entries entries;
    for (int i = 0; i < SCZTable::Count; ++i) {
        const SCZRecord& zone = SCZArray(i);
        entries.emplace_back(QStringLiteral("CZ") + QString::number(zone.ControlZoneIndex) + QLatin1Char('-') + zone.Name, zone.ControlZoneIndex);
    }
    return entries;
}

Entries numberEntries(int first, int last) {
    Entries entries;
    for (int n = first; n <= last; ++n) entries.emplace_back(QString::number(n), n);
    return entries;
}
}  // namespace

void InitTimeZoneList(const HostContext& ctx, controls::ListBox* list) {
    ErrorTrap step = ErrorTrap::logAndContinue(ctx, QStringLiteral("InitTimeZoneList"));
    step([&] { list->clearEntries(); });
    step([&] { list->addEntry(GRS(ctx, NewItemText), NewItemData); });
    database::Recordset rs;
    if (!step([&] { rs.Open(QStringLiteral("sp_FetchAllGenericTimeZoneNames "), ctx.db(), database::adOpenForwardOnly, database::adLockReadOnly); }))
        return;
    Entries entries;
    step.forEachRow(rs, [&] {
        step([&] { entries.emplace_back(rs.field(QStringLiteral("name")).toText(), rs.field(QStringLiteral("GenericTimeZoneId")).toInt32()); });
    });
    list->addEntries(entries);
    step([&] { rs.Close(); });
}

void FillSCZList(controls::ListBox* list, const SCZTable& SCZArray) {
    list->clearEntries();
    list->addEntries(zoneEntries(SCZArray));
}

void FillSCZCombo(controls::ComboBox* combo, const SCZTable& SCZArray) {
    combo->clearEntries();
    combo->addEntries(zoneEntries(SCZArray));
}

void FillGenericTZCombo(const HostContext& ctx, const QVector<GenericTZRecord>& table, controls::ComboBox* combo, qint32 selectedId) {
    combo->clearEntries();
    combo->addEntry(GRS(ctx, NewItemText), NewItemData);
    int selected = -1;
    for (const GenericTZRecord& tz : table) {
        combo->addEntry(tz.Name, tz.GenericTimeZoneId);
        if (tz.GenericTimeZoneId == selectedId) selected = combo->listCount() - 1;
    }
    // Without a match the first generic time zone is selected, never the new-item
    // entry; an empty catalogue has none, and that is the caller's fault to show.
    combo->setListIndex(selected >= 0 ? selected : 1);
}

void LoadThreatLevelCombo(const HostContext& ctx, controls::ComboBox* combo) {
    combo->clearEntries();
    combo->addEntry(QStringLiteral("N/C"), 0);
    database::Recordset rs;
    rs.Open(QStringLiteral("select ThreatID, Name from ThreatLevels where ThreatId > 0"), ctx.db(), database::adOpenForwardOnly,
            database::adLockReadOnly);
    while (!rs.eof()) {
        const qint32 id = rs.field(QStringLiteral("ThreatID")).toInt32();
        combo->addEntry(automation::format00(id) + QStringLiteral(" - ") + rs.field(QStringLiteral("name")).toText(), id);
        rs.MoveNext();
    }
    rs.Close();
    if (combo->listCount() >= 1) combo->setListIndex(0);
}

void InitDoorGroupCombo(const HostContext& ctx, controls::ComboBox* combo) {
    ErrorTrap step = ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.InitDoorGroupCombo"));
    database::Recordset rs;
    step([&] { combo->clearEntries(); });
    step([&] { combo->setEntry(0, GRS(ctx, NewItemText), NewItemData); });
    step([&] { rs.Open(QStringLiteral("EXECUTE sp_FetchAllDoorGroups"), ctx.db(), database::adOpenForwardOnly, database::adLockReadOnly, database::adCmdText); });
    qint16 position = 1;
    step.forEachRow(rs, [&] {
        step([&] {
            combo->setEntry(position, rs.field(QStringLiteral("DoorGroupName")).toText(), rs.field(QStringLiteral("DoorGroupID")).toInt32());
            position = static_cast<qint16>(position + 1);
        });
    });
    step([&] { rs.Close(); });
    step([&] { combo->setCurrentIndex(-1); });
}

void DoorGroupCallback(const HostContext& ctx, QWidget* dialog, NewItemRequest& request, const QString& Component, qint32 DoorGroupID,
                       const QVariant& vAction, const QString& name) {
    ErrorTrap step = ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.Callback"));
    step([&] { dialog->setEnabled(true); });
    if (Component != QLatin1String("DOOR_GROUP")) return;
    step([&] {
        controls::ComboBox* combo = request.combo;
        if (!combo) return;
        const bool added = vAction.isValid() && !automation::isNull(vAction) && automation::toText(vAction) == QLatin1String("ADD");
        if (added) {
            combo->addEntry(name, DoorGroupID);
            combo->setListIndex(combo->listCount() - 1);
        } else {
            RestoreFromTag(combo);
        }
    });
    request.clear();
}

void InitMCZCombos(const HostContext& ctx, const MCZCombos& combos, const QVector<GenericTZRecord>& GenericTZArray, const SCZTable& SCZArray) {
    ErrorTrap step = ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.InitMCZCombos"));
    step([&] {
        combos.cmbMCZIndex->addEntries(numberEntries(192, 255));
    });
    step([&] { FillGenericTZCombo(ctx, GenericTZArray, combos.cmbMCZTimeZone, 0); });
    step([&] { combos.cmbThreatLevel->clearEntries(); });
    step([&] { LoadThreatLevelCombo(ctx, combos.cmbThreatLevel); });
    step([&] { FillSCZCombo(combos.cmbLinkedZone, SCZArray); });
    step([&] { InitDoorGroupCombo(ctx, combos.cmbLinkedAccessZone); });
    step([&] { combos.cmbGlobalId->clearEntries(); });
    step([&] {
        combos.cmbGlobalId->addEntries(numberEntries(0, 255));
    });
}

}  // namespace cz
