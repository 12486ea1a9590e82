#include "master_zones/MCZPanel.h"

#include "diagnostics/MPublic.h"
#include "master_zones/MCZGrid.h"
#include "master_zones/MCZRecords.h"
#include "platform/controls/FlexGrid.h"
#include "standard_zones/SCZRecords.h"

#include <QCheckBox>
#include <QLineEdit>

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

}  // namespace cz
