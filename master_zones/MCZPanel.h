#pragma once
// The master zone property panel: shows one master control zone.
#include "diagnostics/HostContext.h"

#include <array>

class QCheckBox;
class QLineEdit;

namespace controls {
class ComboBox;
class FlexGrid;
}  // namespace controls

namespace cz {

class SCZTable;
class MCZTable;

struct MCZPanel {
    QLineEdit* txtMCZName;
    QLineEdit* txtMCZDescription;
    controls::ComboBox* cmbMCZTimeZone;
    controls::ComboBox* cmbThreatLevel;
    std::array<QCheckBox*, 2> chkTagAlert;
    controls::ComboBox* cmbLinkedZone;
    controls::ComboBox* cmbLinkedAccessZone;
    controls::ComboBox* cmbGlobalId;
    QCheckBox* chkGlobal;
    controls::FlexGrid* grdMCZ;
};

// Puts master zone m into the panel and its actions into the grid. Setting the
// controls raises their change and click handling like the operator's input.
void ShowMCZ(const HostContext& ctx, const MCZPanel& panel, const SCZTable& SCZArray, const MCZTable& MCZArray, qint32 ControllerType,
             quint8 m);

}  // namespace cz
