#pragma once
// The lists the operator picks from instead of typing numbers: time zones,
// standard zones, threat levels, door groups, MCZ numbers and global ids.
// Every entry carries its item data; -1 marks the entry that creates a new
// time zone or door group.
#include "diagnostics/HostContext.h"

#include <QVector>

namespace controls {
class ComboBox;
class ListBox;
}  // namespace controls

namespace cz {

class SCZTable;
struct GenericTZRecord;

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
// Fills the panel's combos once; shows its own failures (error box).
void InitMCZCombos(const HostContext& ctx, const MCZCombos& combos, const QVector<GenericTZRecord>& GenericTZArray, const SCZTable& SCZArray);

}  // namespace cz
