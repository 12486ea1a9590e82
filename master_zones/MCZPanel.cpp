#include "master_zones/MCZPanel.h"

#include "component/contracts/HostContracts.h"
#include "diagnostics/ListSelection.h"
#include "diagnostics/MPublic.h"
#include "master_zones/InCellEditing.h"
#include "master_zones/MCZGrid.h"
#include "master_zones/MCZRecords.h"
#include "platform/automation/Convert.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/TextBox.h"
#include "reference/NewItems.h"
#include "reference/TimeZonePickList.h"
#include "standard_zones/SCZRecords.h"

#include <QCheckBox>
#include <QWidget>

namespace cz {

void ShowMCZ(const HostContext& ctx, const MCZPanel& panel, const SCZTable& SCZArray, const MCZTable& MCZArray, qint32 ControllerType,
             quint8 m) {
    const MCZRecord& zone = MCZArray(m);
    panel.txtMCZName->setText(zone.Name);
    panel.txtMCZDescription->setText(zone.Description);
    SelectComboByItemData(panel.cmbMCZTimeZone, zone.TimeZoneId);
    SelectComboByItemData(panel.cmbThreatLevel, zone.SecurityLevel);
    panel.chkTagAlert[0]->setChecked(zone.Tag);
    panel.chkTagAlert[1]->setChecked(zone.Alert);
    SelectComboByItemData(panel.cmbLinkedZone, zone.LinkedZone);
    SelectComboByItemData(panel.cmbLinkedAccessZone, zone.DoorGroupID);
    SelectComboByItemData(panel.cmbGlobalId, zone.GlobalId);
    panel.chkGlobal->setChecked(zone.GlobalOut);
    // An action beyond the standard zones is reported once, by the row redraw below.
    for (int row = 1; row <= 21; ++row)
        if (zone.Actions[row - 1] < SCZTable::Count) panel.grdMCZ->setTextMatrix(row, 1, SCZArray(zone.Actions[row - 1]).Name);
    UpdateALLMCZSCZDefinitions(ctx, panel.grdMCZ, SCZArray, MCZArray, ControllerType, m);
}

MCZRecord* MCZPanelEvents::current() { return CurrentMCZ_ == 0 ? nullptr : &MCZArray_(CurrentMCZ_); }

void MCZPanelEvents::cmbMCZIndex_Click() {
    CurrentMCZ_ = automation::toUInt8(p_.cmbMCZIndex->currentText());
    ShowMCZ(CurrentMCZ_);
}

void MCZPanelEvents::ShowMCZ(quint8 m) { cz::ShowMCZ(ctx_, p_, SCZArray_, MCZArray_, ControllerType_, m); }

void MCZPanelEvents::txtMCZName_Change() {
    // Removing a pasted comma changes the text again; that change stores it.
    if (RemoveCommas(p_.txtMCZName)) return;
    if (MCZRecord* zone = current()) {
        zone->Name = p_.txtMCZName->text();
        zone->Changed = true;
    }
}

void MCZPanelEvents::txtMCZDescription_Change() {
    if (MCZRecord* zone = current()) {
        zone->Description = p_.txtMCZDescription->text();
        zone->Changed = true;
    }
}

void MCZPanelEvents::cmbMCZTimeZone_Click() {
    MCZRecord* zone = current();
    if (!zone) return;
    PickOrAskForNewItem(
        ctx_, dialog_, request_, p_.cmbMCZTimeZone, [this] { timeZones_.AskForNewTimeZone(); },
        [&](qint32 id) {
            RememberInTag(p_.cmbMCZTimeZone);
            zone->TimeZoneId = id;
            zone->Changed = true;
        });
}

void MCZPanelEvents::storeSelectedByte(controls::ComboBox* combo, quint8 MCZRecord::*field, bool marksChanged) {
    MCZRecord* zone = current();
    if (!zone || combo->listIndex() < 0) return;
    zone->*field = automation::toUInt8(combo->itemDataAt(combo->listIndex()));
    if (marksChanged) zone->Changed = true;
}

void MCZPanelEvents::cmbThreatLevel_Click() { storeSelectedByte(p_.cmbThreatLevel, &MCZRecord::SecurityLevel, true); }

// Kept with the zone, but not a change of its own.
void MCZPanelEvents::cmbLinkedZone_Click() { storeSelectedByte(p_.cmbLinkedZone, &MCZRecord::LinkedZone, false); }

void MCZPanelEvents::cmbLinkedAccessZone_Click() {
    MCZRecord* zone = current();
    if (!zone) return;
    PickOrAskForNewItem(
        ctx_, dialog_, request_, p_.cmbLinkedAccessZone,
        [this] {
            host::setProperty(doorGroupObject_, QStringLiteral("Parent"), automation::fromObject(parent_));
            host::setProperty(doorGroupObject_, QStringLiteral("DoorGroupID"), 0);
            host::RaiseForm(doorGroupObject_);
        },
        [&](qint32 id) {
            RememberInTag(p_.cmbLinkedAccessZone);
            zone->DoorGroupID = id;  // not a change of its own
        });
}

void MCZPanelEvents::cmbGlobalId_Click() { storeSelectedByte(p_.cmbGlobalId, &MCZRecord::GlobalId, true); }

void MCZPanelEvents::cmbGlobalId_Change() {
    MCZRecord* zone = current();
    if (!zone) return;
    controls::ComboBox* combo = p_.cmbGlobalId;
    if (automation::leadingNumber(combo->currentText()) > 255) combo->setEditText(QStringLiteral("255"));
    zone->GlobalId = automation::toUInt8(automation::leadingNumber(combo->currentText()));
    zone->Changed = true;
}

void MCZPanelEvents::chkGlobal_Click() {
    if (MCZRecord* zone = current()) {
        zone->GlobalOut = p_.chkGlobal->isChecked();
        zone->Changed = true;
    }
}

void MCZPanelEvents::chkTagAlert_Click(int index) {
    if (MCZRecord* zone = current()) {
        (index == 0 ? zone->Tag : zone->Alert) = p_.chkTagAlert[static_cast<size_t>(index)]->isChecked();
        zone->Changed = true;
    }
}

}  // namespace cz
