#pragma once
// The master zone property panel: picks a master zone, shows it, and writes
// every edit of its controls at once into the shown zone's record.
#include "diagnostics/HostContext.h"
#include "master_zones/MCZRecords.h"
#include "platform/automation/Dispatch.h"

#include <array>

class QCheckBox;
class QObject;
class QWidget;

namespace controls {
class ComboBox;
class FlexGrid;
class TextBox;
}  // namespace controls

namespace cz {

class SCZTable;
class MCZTable;
struct NewItemRequest;
class TimeZonePickList;

struct MCZPanel {
    controls::ComboBox* cmbMCZIndex;
    controls::TextBox* txtMCZName;
    controls::TextBox* txtMCZDescription;
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

// The panel's event handlers. They store nothing while CurrentMCZ is 0 (no
// zone shown yet, as while the load fills the combos).
class MCZPanelEvents {
public:
    // `dialog` takes no input while a sibling makes a new time zone or door
    // group; `parent` is what the siblings get as "Parent".
    MCZPanelEvents(const HostContext& ctx, const MCZPanel& panel, QWidget* dialog, QObject* parent, const SCZTable& SCZArray,
                   MCZTable& MCZArray, quint8& CurrentMCZ, const qint32& ControllerType, NewItemRequest& request,
                   TimeZonePickList& timeZones, const automation::ObjectRef& doorGroupObject)
        : ctx_(ctx), p_(panel), dialog_(dialog), parent_(parent), SCZArray_(SCZArray), MCZArray_(MCZArray), CurrentMCZ_(CurrentMCZ),
          ControllerType_(ControllerType), request_(request), timeZones_(timeZones), doorGroupObject_(doorGroupObject) {}

    void cmbMCZIndex_Click();
    void ShowMCZ(quint8 m);
    void txtMCZName_Change();
    void txtMCZDescription_Change();
    void cmbMCZTimeZone_Click();
    void cmbThreatLevel_Click();
    void cmbLinkedZone_Click();
    void cmbLinkedAccessZone_Click();
    void cmbGlobalId_Click();
    void cmbGlobalId_Change();
    void chkGlobal_Click();
    void chkTagAlert_Click(int index);

private:
    // The shown zone's record; none before a zone was shown.
    MCZRecord* current();
    // The combo's selected item data as 8 bits into the shown zone, if any is selected.
    void storeSelectedByte(controls::ComboBox* combo, quint8 MCZRecord::*field, bool marksChanged);

    const HostContext& ctx_;
    MCZPanel p_;
    QWidget* dialog_;
    QObject* parent_;
    const SCZTable& SCZArray_;
    MCZTable& MCZArray_;
    quint8& CurrentMCZ_;
    const qint32& ControllerType_;
    NewItemRequest& request_;
    TimeZonePickList& timeZones_;
    const automation::ObjectRef& doorGroupObject_;
};

}  // namespace cz
