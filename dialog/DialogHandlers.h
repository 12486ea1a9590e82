#pragma once
// The subsystems' event handlers, bound to one window's controls and one
// load's state; the dialog makes them with its window and drops them with it.
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "master_zones/InCellEditing.h"
#include "platform/controls/TabControl.h"

#include <QFrame>
#include <QSplitter>
#include "master_zones/MCZGrid.h"
#include "master_zones/MCZPanel.h"
#include "reference/TimeZonePickList.h"
#include "standard_zones/SCZGrid.h"

namespace cz {

struct DialogHandlers {
    DialogHandlers(FrmMain& form, FrmMainWindow& w, LoadState& s)
        : editors{w.grdSCZ, w.grdMCZ, w.txtText, w.cmdDropDown, w.lstTimeZones, w.lstStdControlZones, w.SSTab1, w.SSSplitter1, w.frmMCZContainer},
          timeZones(form, TimeZonePickControls{&w, w.lstTimeZones, w.cmbMCZTimeZone, w.grdSCZ}, s.SCZArray, s.Edit, s.NewItem, s.m_TimeZoneObject,
                    &form),
          panel(form,
                MCZPanel{w.cmbMCZIndex, w.txtMCZName, w.txtMCZDescription, w.cmbMCZTimeZone, w.cmbThreatLevel, w.chkTagAlert, w.cmbLinkedZone,
                         w.cmbLinkedAccessZone, w.cmbGlobalId, w.chkGlobal, w.grdMCZ},
                &w, &form, s.SCZArray, s.MCZArray, s.CurrentMCZ, s.ControllerType, s.NewItem, timeZones, s.m_DoorGroupObject),
          scz(SCZGridEvents::Pieces{form, editors, w.mnuSCZPopupParent, &form, &w, s.Edit, s.Highlighter, s.SCZArray, s.ControllerType,
                                   form.SCZCellEdited, [&form] { form.LeaveCellEdit(); }}),
          mcz(MCZGridEvents::Pieces{form, editors, &form, &w, s.Edit, s.Highlighter, s.SCZArray, s.MCZArray, s.CurrentMCZ, s.ControllerType}) {}

    InCellEditors editors;
    TimeZonePickList timeZones;
    MCZPanelEvents panel;
    SCZGridEvents scz;
    MCZGridEvents mcz;
};

}  // namespace cz
