// The wiring of the controls' events to the subsystems' handlers, the sibling
// components' callbacks, and customize mode. Handlers that have no fault
// handling of their own show a fault with their name instead of throwing it
// into the toolkit.
#include "component/contracts/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "dialog/DialogHandlers.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "master_zones/InCellEditing.h"
#include "master_zones/MCZGrid.h"
#include "master_zones/MCZPanel.h"
#include "platform/automation/Convert.h"
#include "platform/automation/Events.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/KeyPress.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/SizingFrame.h"
#include "platform/controls/TabControl.h"
#include "reference/PickLists.h"
#include "reference/TimeZonePickList.h"
#include "standard_zones/SCZGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace cz {

namespace {
// A handler without a fault handler of its own: its failure is shown with
// the handler's name, never thrown into the toolkit.
template <typename F>
auto shown(const HostContext& ctx, const char* location, F handler) {
    return [&ctx, location, handler](auto&&...) {
        ErrorTrap::showAndEnd(ctx, QString::fromLatin1(location))([&] { handler(); });
    };
}
}  // namespace

void FrmMain::connectEvents() {
    FrmMainWindow& w = *window_;
    handlers_ = std::make_unique<DialogHandlers>(*this, w, *state_);
    DialogHandlers& h = *handlers_;
    using controls::ComboBox;
    using controls::FlexGrid;
    const HostContext& ctx = *this;

    // The standard zone grid and its in-cell editors.
    QObject::connect(w.grdSCZ, &FlexGrid::mouseDown, &w, shown(ctx, "frmMain.grdSCZ_MouseDown", [&h] { h.scz.grdSCZ_MouseDown(); }));
    QObject::connect(w.grdSCZ, &FlexGrid::mouseUp, &w, [this, &h](Qt::MouseButton b, Qt::KeyboardModifiers, double x, double y) {
        shown(*this, "frmMain.grdSCZ_MouseUp", [&] { h.scz.grdSCZ_MouseUp(b, x, y); })();
    });
    QObject::connect(w.grdSCZ, &FlexGrid::click, &w, shown(ctx, "frmMain.grdSCZ_Click", [&h] { h.scz.grdSCZ_Click(); }));
    QObject::connect(w.grdSCZ, &FlexGrid::leaveCell, &w, [&h] { h.scz.grdSCZ_LeaveCell(); });
    QObject::connect(w.grdSCZ, &FlexGrid::scroll, &w, [&h] { h.scz.grdSCZ_Scroll(); });
    for (int i = 0; i < 3; ++i)
        QObject::connect(w.mnuSCZPopupChild[static_cast<size_t>(i)], &QAction::triggered, &w,
                         shown(ctx, "frmMain.mnuSCZPopupChild_Click", [&h, i] { h.scz.mnuSCZPopupChild_Click(i); }));
    QObject::connect(w.cmdDropDown, &QPushButton::clicked, &w,
                     shown(ctx, "frmMain.cmdDropDown_Click", [this, &h] { cmdDropDown_Click(state_->Edit, h.editors); }));
    QObject::connect(w.lstTimeZones, &controls::ListBox::click, &w, [&h] { h.timeZones.lstTimeZones_Click(); });
    RefuseNameCharacters(w.txtText);
    QObject::connect(w.txtText, &QLineEdit::textChanged, &w, shown(ctx, "frmMain.txtText_Change", [&w] { RemoveCommas(w.txtText); }));

    // The master zone actions grid.
    QObject::connect(w.grdMCZ, &FlexGrid::click, &w, shown(ctx, "frmMain.grdMCZ_Click", [&h] { h.mcz.grdMCZ_Click(); }));
    QObject::connect(w.grdMCZ, &FlexGrid::dblClick, &w, shown(ctx, "frmMain.grdMCZ_DblClick", [&h] { h.mcz.grdMCZ_DblClick(); }));
    QObject::connect(w.grdMCZ, &FlexGrid::leaveCell, &w, [this] { LeaveCellEdit(); });
    QObject::connect(w.grdMCZ, &FlexGrid::scroll, &w, [this] { LeaveCellEdit(); });
    QObject::connect(w.lstStdControlZones, &controls::ListBox::click, &w,
                     shown(ctx, "frmMain.lstStdControlZones_Click", [&h] { h.mcz.lstStdControlZones_Click(); }));

    // The master zone panel: each control writes into the shown zone.
    MCZPanelEvents& p = h.panel;
    QObject::connect(w.cmbMCZIndex, &ComboBox::click, &w, shown(ctx, "frmMain.cmbMCZIndex_Click", [&p] { p.cmbMCZIndex_Click(); }));
    RefuseNameCharacters(w.txtMCZName);
    QObject::connect(w.txtMCZName, &QLineEdit::textChanged, &w, shown(ctx, "frmMain.txtMCZName_Change", [&p] { p.txtMCZName_Change(); }));
    QObject::connect(w.txtMCZDescription, &QLineEdit::textChanged, &w,
                     shown(ctx, "frmMain.txtMCZDescription_Change", [&p] { p.txtMCZDescription_Change(); }));
    QObject::connect(w.cmbMCZTimeZone, &ComboBox::click, &w, [&p] { p.cmbMCZTimeZone_Click(); });
    QObject::connect(w.cmbThreatLevel, &ComboBox::click, &w, shown(ctx, "frmMain.cmbThreatLevel_Click", [&p] { p.cmbThreatLevel_Click(); }));
    QObject::connect(w.cmbLinkedZone, &ComboBox::click, &w, shown(ctx, "frmMain.cmbLinkedZone_Click", [&p] { p.cmbLinkedZone_Click(); }));
    QObject::connect(w.cmbLinkedAccessZone, &ComboBox::click, &w, [&p] { p.cmbLinkedAccessZone_Click(); });
    QObject::connect(w.cmbGlobalId, &ComboBox::click, &w, shown(ctx, "frmMain.cmbGlobalId_Click", [&p] { p.cmbGlobalId_Click(); }));
    QObject::connect(w.cmbGlobalId, &QComboBox::editTextChanged, &w, shown(ctx, "frmMain.cmbGlobalId_Change", [&p] { p.cmbGlobalId_Change(); }));
    // Digits and Backspace only; keys arrive at the combo, not at its line edit.
    controls::onKeyPress(w.cmbGlobalId, [](int key) {
        constexpr int Backspace = 8;
        if ((key >= '0' && key <= '9') || key == Backspace) return true;
        QApplication::beep();
        return false;
    });
    QObject::connect(w.chkGlobal, &QCheckBox::toggled, &w, shown(ctx, "frmMain.chkGlobal_Click", [&p] { p.chkGlobal_Click(); }));
    for (int i = 0; i < 2; ++i)
        QObject::connect(w.chkTagAlert[static_cast<size_t>(i)], &QCheckBox::toggled, &w,
                         shown(ctx, "frmMain.chkTagAlert_Click", [&p, i] { p.chkTagAlert_Click(i); }));

    // Customize mode: the localizer's events, and the sizing frame's changes.
    if (QObject* localizer = w.Localizer.get()) {
        automation::connectEvent(localizer, QStringLiteral("CustomizeStarted"), &w, [this] { CustomizeStarted(); });
        automation::connectEvent(localizer, QStringLiteral("CustomizeEnded"), &w, [this] { CustomizeEnded(); });
    }
    QObject::connect(w.MhStretch1, &controls::SizingFrame::changed, &w, [this] { MhStretch1_Change(); });
}

void FrmMain::TZCallback(int& TimeZoneType, int& Identity, QString& Description) {
    Q_UNUSED(TimeZoneType);
    if (handlers_) handlers_->timeZones.TZCallback(Identity, Description);
}

void FrmMain::TZCancelCallback() {
    if (handlers_) handlers_->timeZones.TZCancelCallback();
}

void FrmMain::Callback(QString& Component, int& DoorGroupID, QVariant& vAction, QString& name) {
    if (window_) DoorGroupCallback(*this, window_.get(), state_->NewItem, Component, DoorGroupID, vAction, name);
}

void FrmMain::CustomizeStarted() { CustomizeMode = true; }

void FrmMain::SelectForCustomization(QWidget* control) {
    if (!window_ || !CustomizeMode) return;
    FrmMainWindow& w = *window_;
    shown(*this, "frmMain.SelectForCustomization", [&] {
        w.MhStretch1->attach(control);
        const bool label = control->objectName().startsWith(QLatin1String("Label1_")) || control == static_cast<QWidget*>(w.lblSCZDirections) ||
                           control == static_cast<QWidget*>(w.lblMCZDirections);
        if (label) {
            state_->CustomizeTarget = control;
            host::LocalizerSelectLabel(w.Localizer, control, w.MhStretch1);
        } else {
            host::LocalizerSelectControl(w.Localizer, control, w.MhStretch1);
        }
    })();
}

void FrmMain::MhStretch1_Change() {
    if (!window_) return;
    FrmMainWindow& w = *window_;
    shown(*this, "frmMain.MhStretch1_Change", [&] {
        QObject* target = host::LocalizerTargetChanged(w.Localizer, w.MhStretch1, state_->CustomizeTarget.data());
        state_->CustomizeTarget = qobject_cast<QWidget*>(target);
    })();
}

void FrmMain::CustomizeEnded() {
    if (!window_) return;
    FrmMainWindow& w = *window_;
    shown(*this, "frmMain.CustomizeEnded", [&] {
        w.MhStretch1->detach();
        const quint8 tab = state_->SavedTab;
        if (tab < w.SSTab1->tabs() && w.SSTab1->tabEnabled(tab)) w.SSTab1->setTab(tab);
        host::LocalizerEnd(w.Localizer);
    })();
    CustomizeMode = false;
}

}  // namespace cz
