#pragma once
// Picking a standard zone's time zone in its cell, and new generic time zones
// made by the time zone component on behalf of the grid's list or the master
// zone panel's combo. The component reports back through the dialog's public
// TZCallback and TZCancelCallback, which hand over to this.
#include "diagnostics/HostContext.h"
#include "platform/automation/Dispatch.h"

class QObject;
class QWidget;

namespace controls {
class ComboBox;
class FlexGrid;
class ListBox;
}  // namespace controls

namespace cz {

class SCZTable;
struct EditState;
struct NewItemRequest;

struct TimeZonePickControls {
    QWidget* dialog;
    controls::ListBox* lstTimeZones;
    controls::ComboBox* cmbMCZTimeZone;
    controls::FlexGrid* grdSCZ;
};

class TimeZonePickList {
public:
    // `dialog` is handed to the time zone component as its "Parent".
    TimeZonePickList(const HostContext& ctx, const TimeZonePickControls& controls, SCZTable& SCZArray, const EditState& edit,
                     NewItemRequest& request, const automation::ObjectRef& timeZoneObject, QObject* dialog)
        : ctx_(ctx), c_(controls), SCZArray_(SCZArray), edit_(edit), request_(request), timeZoneObject_(timeZoneObject), dialog_(dialog) {}

    // The pick in the grid's list: a time zone goes into the edited zone; the
    // new-time-zone entry asks the component for one.
    void lstTimeZones_Click();
    // Identity 0: nothing was made.
    void TZCallback(qint32 Identity, const QString& Description);
    void TZCancelCallback();
    // A new time zone joins both lists (not the catalogue).
    void AddNewTZToLists(qint32 Identity, const QString& Description);
    // Sets the component's "Parent" and asks it for a new time zone.
    void AskForNewTimeZone();

private:
    const HostContext& ctx_;
    TimeZonePickControls c_;
    SCZTable& SCZArray_;
    const EditState& edit_;
    NewItemRequest& request_;
    const automation::ObjectRef& timeZoneObject_;
    QObject* dialog_;
};

}  // namespace cz
