#pragma once
// The lists the operator picks from instead of typing numbers: time zones,
// standard zones, threat levels, door groups, MCZ numbers and global ids.
// Every entry carries its item data; -1 marks the entry that creates a new
// time zone or door group.
#include "diagnostics/HostContext.h"

#include <QVariant>
#include <QVector>

class QWidget;

namespace controls {
class ComboBox;
class ListBox;
}  // namespace controls

namespace cz {

class SCZTable;
struct GenericTZRecord;
struct NewItemRequest;

// The new-time-zone entry, then the database's generic time zones; failures
// go to the host's log and loading goes on.
void InitTimeZoneList(const HostContext& ctx, controls::ListBox* list);

// "CZ<number>-<name>" for each of the 192 standard zones, item data the number.
void FillSCZList(controls::ListBox* list, const SCZTable& SCZArray);
void FillSCZCombo(controls::ComboBox* combo, const SCZTable& SCZArray);

void FillGenericTZCombo(const HostContext& ctx, const QVector<GenericTZRecord>& table, controls::ComboBox* combo, qint32 selectedId);
void LoadThreatLevelCombo(const HostContext& ctx, controls::ComboBox* combo);
// Shows its own failures (error box).
void InitDoorGroupCombo(const HostContext& ctx, controls::ComboBox* combo);

struct MCZCombos {
    controls::ComboBox* cmbMCZIndex;
    controls::ComboBox* cmbMCZTimeZone;
    controls::ComboBox* cmbThreatLevel;
    controls::ComboBox* cmbLinkedZone;
    controls::ComboBox* cmbLinkedAccessZone;
    controls::ComboBox* cmbGlobalId;
};
// The report of a sibling whose editor closed: the dialog takes input again; a
// door group's report adds the new group to the combo that asked (and selects
// it) or puts that combo back on its last pick. Shows its own failures.
void DoorGroupCallback(const HostContext& ctx, QWidget* dialog, NewItemRequest& request, const QString& Component, qint32 DoorGroupID,
                       const QVariant& vAction, const QString& name);

// Fills the panel's combos once; shows its own failures (error box).
void InitMCZCombos(const HostContext& ctx, const MCZCombos& combos, const QVector<GenericTZRecord>& GenericTZArray, const SCZTable& SCZArray);

}  // namespace cz
