#include "reference/TimeZonePickList.h"

#include "component/contracts/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/ListSelection.h"
#include "diagnostics/MPublic.h"
#include "master_zones/InCellEditing.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "reference/NewItems.h"
#include "standard_zones/SCZRecords.h"

#include <QWidget>

namespace cz {

void TimeZonePickList::AskForNewTimeZone() {
    host::setProperty(timeZoneObject_, QStringLiteral("Parent"), automation::fromObject(dialog_));
    host::AddNew(timeZoneObject_);
}

void TimeZonePickList::lstTimeZones_Click() {
    PickOrAskForNewItem(
        ctx_, c_.dialog, request_, c_.lstTimeZones, [this] { AskForNewTimeZone(); },
        [this](qint32 id) {
            c_.grdSCZ->setText(c_.lstTimeZones->entryText(c_.lstTimeZones->listIndex()));
            SCZRecord& zone = SCZArray_(edit_.EditRow - 1);
            zone.TimeZoneId = id;
            zone.Changed = true;
            c_.lstTimeZones->hide();
        });
}

void TimeZonePickList::AddNewTZToLists(qint32 Identity, const QString& Description) {
    c_.lstTimeZones->addEntry(Description, Identity);
    c_.cmbMCZTimeZone->addEntry(Description, Identity);
}

void TimeZonePickList::TZCallback(qint32 Identity, const QString& Description) {
    ErrorTrap step = ErrorTrap::showAndEnd(ctx_, QStringLiteral("frmMain.TZCallback"));
    step([&] { c_.dialog->setEnabled(true); });
    if (Identity != 0) {
        step([&] { AddNewTZToLists(Identity, Description); });
        // The selection runs the asking control's own pick.
        step([&] {
            if (request_.combo) SelectComboByItemData(request_.combo, Identity);
            if (request_.list) SelectListByItemData(request_.list, Identity);
        });
    } else {
        step([&] { c_.lstTimeZones->hide(); });
        step([&] {
            if (request_.combo) RestoreFromTag(request_.combo);
        });
    }
    // The report answers the request; a later report must not act on this requester.
    request_.clear();
}

void TimeZonePickList::TZCancelCallback() {
    c_.dialog->setEnabled(true);
    c_.lstTimeZones->hide();
    if (request_.combo) RestoreFromTag(request_.combo);
    request_.clear();
}

}  // namespace cz
