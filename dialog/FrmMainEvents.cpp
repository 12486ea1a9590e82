// The dialog's event handlers for the standard zone grid, its in-cell editors
// and the sibling components' callbacks. Handlers stay thin: the work is in
// the subsystems.
#include "component/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/MPublic.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "platform/automation/Convert.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/KeyPress.h"
#include "platform/automation/Events.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/SizingFrame.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/Twips.h"
#include "master_zones/MCZGrid.h"
#include "standard_zones/ComponentLaunch.h"
#include "standard_zones/ColumnLayout.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>

namespace cz {

namespace {
const QString Mark = QStringLiteral("X");
}

void FrmMain::connectEvents() {
    FrmMainWindow& w = *window_;
    using controls::FlexGrid;
    QObject::connect(w.cmbMCZIndex, &controls::ComboBox::click, &w, [this] { cmbMCZIndex_Click(); });
    auto guard = [this](const char* location, auto handler) {
        return [this, location, handler](auto&&...) { guardedEvent(QString::fromLatin1(location), handler); };
    };
    QObject::connect(w.grdSCZ, &FlexGrid::mouseDown, &w, [this](Qt::MouseButton b, Qt::KeyboardModifiers, double, double) {
        guardedEvent(QStringLiteral("frmMain.grdSCZ_MouseDown"), [&] { grdSCZ_MouseDown(b); });
    });
    QObject::connect(w.grdSCZ, &FlexGrid::mouseUp, &w, [this](Qt::MouseButton b, Qt::KeyboardModifiers, double x, double y) {
        guardedEvent(QStringLiteral("frmMain.grdSCZ_MouseUp"), [&] { grdSCZ_MouseUp(b, x, y); });
    });
    QObject::connect(w.grdSCZ, &FlexGrid::click, &w, guard("frmMain.grdSCZ_Click", [this] { grdSCZ_Click(); }));
    QObject::connect(w.grdSCZ, &FlexGrid::leaveCell, &w, [this] { grdSCZ_LeaveCell(); });
    QObject::connect(w.grdSCZ, &FlexGrid::scroll, &w, [this] { grdSCZ_Scroll(); });
    QObject::connect(w.grdMCZ, &FlexGrid::leaveCell, &w, [this] { LeaveCellEdit(); });
    QObject::connect(w.grdMCZ, &FlexGrid::scroll, &w, [this] { LeaveCellEdit(); });
    QObject::connect(w.cmdDropDown, &QPushButton::clicked, &w, guard("frmMain.cmdDropDown_Click", [this] { cmdDropDown_Click(); }));
    QObject::connect(w.lstTimeZones, &controls::ListBox::click, &w, [this] { lstTimeZones_Click(); });
    // The name editor takes neither "%" nor ","; a pasted "," is removed on change.
    controls::onKeyPress(w.txtText, [](int key) { return key != 37 && key != 44; });
    QObject::connect(w.txtText, &QLineEdit::textChanged, &w, guard("frmMain.txtText_Change", [this] { txtText_Change(); }));

    // The master zone panel: each control writes into the shown zone.
    controls::onKeyPress(w.txtMCZName, [](int key) { return key != 37 && key != 44; });
    QObject::connect(w.txtMCZName, &QLineEdit::textChanged, &w, guard("frmMain.txtMCZName_Change", [this] { txtMCZName_Change(); }));
    QObject::connect(w.txtMCZDescription, &QLineEdit::textChanged, &w,
                     guard("frmMain.txtMCZDescription_Change", [this] { txtMCZDescription_Change(); }));
    QObject::connect(w.cmbMCZTimeZone, &controls::ComboBox::click, &w, [this] { cmbMCZTimeZone_Click(); });
    QObject::connect(w.cmbThreatLevel, &controls::ComboBox::click, &w, guard("frmMain.cmbThreatLevel_Click", [this] { cmbThreatLevel_Click(); }));
    QObject::connect(w.cmbLinkedZone, &controls::ComboBox::click, &w, guard("frmMain.cmbLinkedZone_Click", [this] { cmbLinkedZone_Click(); }));
    QObject::connect(w.cmbLinkedAccessZone, &controls::ComboBox::click, &w, [this] { cmbLinkedAccessZone_Click(); });
    QObject::connect(w.cmbGlobalId, &controls::ComboBox::click, &w, guard("frmMain.cmbGlobalId_Click", [this] { cmbGlobalId_Click(); }));
    QObject::connect(w.cmbGlobalId, &QComboBox::editTextChanged, &w, guard("frmMain.cmbGlobalId_Change", [this] { cmbGlobalId_Change(); }));
    controls::onKeyPress(w.cmbGlobalId, [](int key) {
        if ((key >= '0' && key <= '9') || key == 8) return true;
        QApplication::beep();
        return false;
    });
    QObject::connect(w.chkGlobal, &QCheckBox::toggled, &w, guard("frmMain.chkGlobal_Click", [this] { chkGlobal_Click(); }));
    for (int i = 0; i < 2; ++i)
        QObject::connect(w.chkTagAlert[static_cast<size_t>(i)], &QCheckBox::toggled, &w,
                         guard("frmMain.chkTagAlert_Click", [this, i] { chkTagAlert_Click(i); }));

    // Customize mode: the localizer's events, and the sizing frame's changes.
    if (QObject* localizer = w.Localizer.get()) {
        automation::connectEvent(localizer, QStringLiteral("CustomizeStarted"), &w, [this] { CustomizeStarted(); });
        automation::connectEvent(localizer, QStringLiteral("CustomizeEnded"), &w, [this] { CustomizeEnded(); });
    }
    QObject::connect(w.MhStretch1, &controls::SizingFrame::changed, &w, [this] { MhStretch1_Change(); });

    // The standard grid's pop-up menu opens the input, relay or reader behind the cell.
    for (int i = 0; i < 3; ++i)
        QObject::connect(w.mnuSCZPopupChild[static_cast<size_t>(i)], &QAction::triggered, &w, guard("frmMain.mnuSCZPopupChild_Click", [this, i] {
                             LaunchFromSCZPopup(LaunchContext{*this, state_->ControllerType, this, window_.get()}, i,
                                                static_cast<qint16>(window_->grdSCZ->col()));
                         }));

    // The master zone actions grid.
    QObject::connect(w.grdMCZ, &FlexGrid::click, &w, guard("frmMain.grdMCZ_Click", [this] { grdMCZ_Click(); }));
    QObject::connect(w.grdMCZ, &FlexGrid::dblClick, &w, guard("frmMain.grdMCZ_DblClick", [this] { grdMCZ_DblClick(); }));
    QObject::connect(w.lstStdControlZones, &controls::ListBox::click, &w,
                     guard("frmMain.lstStdControlZones_Click", [this] { lstStdControlZones_Click(); }));
}

void FrmMain::grdSCZ_MouseDown(Qt::MouseButton) {
    controls::FlexGrid* grid = window_->grdSCZ;
    // Right-clicked cells and the fixed name column become current too.
    grid->setRow(grid->mouseRow());
    grid->setCol(grid->mouseCol());
}

void FrmMain::grdSCZ_MouseUp(Qt::MouseButton button, double xTwips, double yTwips) {
    FrmMainWindow& w = *window_;
    const bool right = button == Qt::RightButton;
    if (right && w.grdSCZ->col() >= 3 && w.grdSCZ->row() >= 2) {
        const QPoint at(controls::twipsToPixelsX(w.grdSCZ, xTwips), controls::twipsToPixelsY(w.grdSCZ, yTwips));
        w.mnuSCZPopupParent->popup(w.grdSCZ->mapToGlobal(at));
    }
    state_->SCZRightClick = right;
}

void FrmMain::grdSCZ_Click() {
    if (state_->SCZRightClick) return;  // the click of a right-button release
    controls::FlexGrid* grid = window_->grdSCZ;
    if (grid->col() >= 1 && grid->row() >= 2) state_->Highlighter.HighlightRow(*this, state_->Edit, grid, true);
    if (grid->row() < 2) return;  // zone 0 and the header take no edits
    if (grid->col() == 1) {
        BeginSCZNameEdit();
    } else if (grid->col() == 2) {
        ShowSCZDropDown();
    } else if (grid->col() >= 3) {
        grid->setText(grid->text() == Mark ? QStringLiteral(" ") : Mark);
        UpdateSCZArrayToggles();
    }
}

void FrmMain::grdSCZ_LeaveCell() {
    if (state_->LeavingSCZCell) return;
    state_->LeavingSCZCell = true;
    LeaveCellEdit();
    state_->LeavingSCZCell = false;
}

void FrmMain::grdSCZ_Scroll() { LeaveCellEdit(); }

void FrmMain::UpdateSCZArrayToggles() {
    ErrorTrap step = ErrorTrap::showAndEnd(*this, QStringLiteral("frmMain.UpdateSCZArrayToggles"));
    const int R = window_->grdSCZ->row();
    const int C = window_->grdSCZ->col();
    step([&] {
        SCZRecord& zone = state_->SCZArray(R - 1);
        qint16 first = 0, last = 0;
        GetColumnRange(state_->ControllerType, QStringLiteral("BASE"), first, last);
        if (C >= first && C <= last) {
            zone.Relay[C - first + 1] = !zone.Relay[C - first + 1];
        } else {
            qint16 expFirst = 0, expLast = 0, tag = 0, alert = 0, unused = 0;
            GetColumnRange(state_->ControllerType, QStringLiteral("EXP"), expFirst, expLast);
            GetColumnRange(state_->ControllerType, QStringLiteral("TAG"), tag, unused);
            GetColumnRange(state_->ControllerType, QStringLiteral("ALERT"), alert, unused);
            if (C <= expLast) zone.ExpRelay[C - expFirst + 1] = !zone.ExpRelay[C - expFirst + 1];
            else if (C == tag) zone.Tag = !zone.Tag;
            else if (C == alert) zone.Alert = !zone.Alert;
            else return;  // no mark in this column: the record stays as it is
        }
        zone.Changed = true;
    });
}

void FrmMain::ShowSCZDropDown() {
    using namespace controls;
    FrmMainWindow& w = *window_;
    FlexGrid* grid = w.grdSCZ;
    state_->Edit.EditMode = 1;
    state_->Edit.EditRow = static_cast<qint16>(grid->mouseRow());
    state_->Edit.EditCol = static_cast<qint16>(grid->mouseCol());
    const double side = grid->cellHeight();
    setTwipsHeight(w.cmdDropDown, side);
    setTwipsWidth(w.cmdDropDown, side);
    setTwipsTop(w.cmdDropDown, twipsTop(grid) + twipsTop(w.SSTab1) + grid->cellTop());
    setTwipsLeft(w.cmdDropDown, twipsLeft(grid) + twipsLeft(w.SSTab1) + grid->cellLeft() + grid->cellWidth() - twipsWidth(w.cmdDropDown));
    w.cmdDropDown->raise();
    w.cmdDropDown->show();
}

void FrmMain::BeginSCZNameEdit() {
    using namespace controls;
    FrmMainWindow& w = *window_;
    FlexGrid* grid = w.grdSCZ;
    SCZCellEdited = true;
    state_->Edit.EditMode = 3;
    state_->Edit.EditRow = static_cast<qint16>(grid->row());
    state_->Edit.EditCol = static_cast<qint16>(grid->col());
    setTwipsHeight(w.txtText, grid->cellHeight() - 20);
    setTwipsWidth(w.txtText, grid->cellWidth() - 50);
    setTwipsTop(w.txtText, twipsTop(grid) + twipsTop(w.SSTab1) + grid->cellTop() + 20);
    setTwipsLeft(w.txtText, twipsLeft(grid) + twipsLeft(w.SSTab1) + grid->cellLeft() + 50);
    w.txtText->setText(grid->text());
    w.txtText->setSelection(0, static_cast<int>(w.txtText->text().size()));
    w.txtText->raise();
    w.txtText->show();
    w.txtText->setFocus();
}

void FrmMain::cmdDropDown_Click() {
    using namespace controls;
    FrmMainWindow& w = *window_;
    if (state_->Edit.EditMode == 2) {
        FlexGrid* grid = w.grdMCZ;
        setTwipsTop(w.lstStdControlZones, twipsTop(w.SSTab1) + twipsTop(w.SSSplitter1) + twipsTop(w.frmMCZContainer) + twipsTop(grid) +
                                              grid->cellTop() + grid->cellHeight());
        setTwipsLeft(w.lstStdControlZones,
                     twipsLeft(w.SSTab1) + twipsLeft(w.SSSplitter1) + twipsLeft(w.frmMCZContainer) + twipsLeft(grid) + grid->cellLeft());
        setTwipsWidth(w.lstStdControlZones, grid->cellWidth());
        setTwipsHeight(w.lstStdControlZones, 4 * grid->cellHeight());
        w.lstStdControlZones->raise();
        w.lstStdControlZones->show();
    } else if (state_->Edit.EditMode == 1) {
        FlexGrid* grid = w.grdSCZ;
        setTwipsTop(w.lstTimeZones, twipsTop(w.cmdDropDown) + twipsHeight(w.cmdDropDown));
        setTwipsLeft(w.lstTimeZones, twipsLeft(w.SSTab1) + twipsLeft(grid) + grid->cellLeft());
        setTwipsWidth(w.lstTimeZones, grid->cellWidth());
        setTwipsHeight(w.lstTimeZones, 4 * grid->cellHeight());
        w.lstTimeZones->raise();
        w.lstTimeZones->show();
    }
}

void FrmMain::txtText_Change() {
    QLineEdit* box = window_->txtText;
    if (!box->text().contains(QLatin1Char(','))) return;
    QString text = box->text();
    text.remove(QLatin1Char(','));
    box->setText(text);
    box->setCursorPosition(static_cast<int>(text.size()));
}

void FrmMain::lstTimeZones_Click() {
    FrmMainWindow& w = *window_;
    // Faults end the pick silently; the dialog must not stay disabled.
    try {
        const qint32 id = w.lstTimeZones->itemDataAt(w.lstTimeZones->listIndex());
        if (id != -1) {
            w.grdSCZ->setText(w.lstTimeZones->entryText(w.lstTimeZones->listIndex()));
            SCZRecord& zone = state_->SCZArray(state_->Edit.EditRow - 1);
            zone.TimeZoneId = id;
            zone.Changed = true;
            w.lstTimeZones->hide();
        } else {
            w.setEnabled(false);
            state_->NewItemList = w.lstTimeZones;
            state_->NewItemCombo.clear();  // this request is the list's
            host::setProperty(state_->m_TimeZoneObject, QStringLiteral("Parent"), automation::fromObject(this));
            host::AddNew(state_->m_TimeZoneObject);
        }
    } catch (const automation::AutomationError&) {
        w.setEnabled(true);
    }
}

void FrmMain::AddNewTZToLists(qint32 Identity, const QString& Description) {
    window_->lstTimeZones->addEntry(Description, Identity);
    window_->cmbMCZTimeZone->addEntry(Description, Identity);
}

namespace {
// Puts a combo back on the entry its tag remembers (none remembered: unchanged).
void restoreFromTag(controls::ComboBox* combo) {
    bool ok = false;
    const int position = combo->tag().toInt(&ok);
    if (ok && position >= 0 && position < combo->listCount()) combo->setListIndex(position);
}
}  // namespace

void FrmMain::TZCallback(int& TimeZoneType, int& Identity, QString& Description) {
    Q_UNUSED(TimeZoneType);
    if (!window_) return;
    FrmMainWindow& w = *window_;
    ErrorTrap step = ErrorTrap::showAndEnd(*this, QStringLiteral("frmMain.TZCallback"));
    step([&] { w.setEnabled(true); });
    if (Identity != 0) {
        step([&] { AddNewTZToLists(Identity, Description); });
        step([&] {
            if (state_->NewItemCombo) SelectComboByItemData(state_->NewItemCombo, Identity);
            if (state_->NewItemList) SelectListByItemData(state_->NewItemList, Identity);
        });
    } else {
        step([&] { w.lstTimeZones->hide(); });
        step([&] {
            if (state_->NewItemCombo) restoreFromTag(state_->NewItemCombo);
        });
    }
    // The report answers the request; a later report must not act on this requester.
    state_->NewItemCombo.clear();
    state_->NewItemList.clear();
}

void FrmMain::TZCancelCallback() {
    if (!window_) return;
    FrmMainWindow& w = *window_;
    w.setEnabled(true);
    w.lstTimeZones->hide();
    if (state_->NewItemCombo) restoreFromTag(state_->NewItemCombo);
    state_->NewItemCombo.clear();
    state_->NewItemList.clear();
}

void FrmMain::Callback(QString& Component, int& DoorGroupID, QVariant& vAction, QString& name) {
    if (!window_) return;
    FrmMainWindow& w = *window_;
    ErrorTrap step = ErrorTrap::showAndEnd(*this, QStringLiteral("frmMain.Callback"));
    step([&] { w.setEnabled(true); });
    if (Component != QLatin1String("DOOR_GROUP")) return;
    step([&] {
        if (!state_->NewItemCombo) return;
        const bool added = vAction.isValid() && !automation::isNull(vAction) && automation::toText(vAction) == QLatin1String("ADD");
        if (added) {
            state_->NewItemCombo->addEntry(name, DoorGroupID);
            state_->NewItemCombo->setListIndex(state_->NewItemCombo->listCount() - 1);
        } else {
            bool ok = false;
            const int position = state_->NewItemCombo->tag().toInt(&ok);
            state_->NewItemCombo->setListIndex(ok && position != -1 && position < state_->NewItemCombo->listCount() ? position : -1);
        }
    });
    state_->NewItemCombo.clear();
}

}  // namespace cz

namespace cz {

namespace {
// Nothing is stored before the first zone was shown.
MCZRecord* currentZone(LoadState& s) { return s.CurrentMCZ == 0 ? nullptr : &s.MCZArray(s.CurrentMCZ); }
}  // namespace

void FrmMain::txtMCZName_Change() {
    QLineEdit* box = window_->txtMCZName;
    if (box->text().contains(QLatin1Char(','))) {
        QString text = box->text();
        text.remove(QLatin1Char(','));
        box->setText(text);  // raises this change again, with the clean text
        box->setCursorPosition(static_cast<int>(text.size()));
        return;
    }
    if (MCZRecord* zone = currentZone(*state_)) {
        zone->Name = box->text();
        zone->Changed = true;
    }
}

void FrmMain::txtMCZDescription_Change() {
    if (MCZRecord* zone = currentZone(*state_)) {
        zone->Description = window_->txtMCZDescription->text();
        zone->Changed = true;
    }
}

void FrmMain::cmbMCZTimeZone_Click() {
    MCZRecord* zone = currentZone(*state_);
    if (!zone) return;
    controls::ComboBox* combo = window_->cmbMCZTimeZone;
    // Faults end the pick silently; the dialog must not stay disabled.
    try {
        const qint32 id = combo->itemDataAt(combo->listIndex());
        if (id == -1) {
            window_->setEnabled(false);
            state_->NewItemCombo = combo;
            state_->NewItemList.clear();  // this request is the combo's
            host::setProperty(state_->m_TimeZoneObject, QStringLiteral("Parent"), automation::fromObject(this));
            host::AddNew(state_->m_TimeZoneObject);
        } else {
            combo->setTag(QString::number(combo->listIndex()));
            zone->TimeZoneId = id;
            zone->Changed = true;
        }
    } catch (const automation::AutomationError&) {
        window_->setEnabled(true);
    }
}

void FrmMain::cmbThreatLevel_Click() {
    MCZRecord* zone = currentZone(*state_);
    controls::ComboBox* combo = window_->cmbThreatLevel;
    if (!zone || combo->listIndex() < 0) return;
    zone->SecurityLevel = automation::toUInt8(combo->itemDataAt(combo->listIndex()));
    zone->Changed = true;
}

void FrmMain::cmbLinkedZone_Click() {
    MCZRecord* zone = currentZone(*state_);
    controls::ComboBox* combo = window_->cmbLinkedZone;
    if (!zone || combo->listIndex() < 0) return;
    // Kept with the zone, but not a change of its own.
    zone->LinkedZone = automation::toUInt8(combo->itemDataAt(combo->listIndex()));
}

void FrmMain::cmbLinkedAccessZone_Click() {
    MCZRecord* zone = currentZone(*state_);
    if (!zone) return;
    controls::ComboBox* combo = window_->cmbLinkedAccessZone;
    try {
        const qint32 id = combo->itemDataAt(combo->listIndex());
        if (id == -1) {
            window_->setEnabled(false);
            state_->NewItemCombo = combo;
            state_->NewItemList.clear();
            host::setProperty(state_->m_DoorGroupObject, QStringLiteral("Parent"), automation::fromObject(this));
            host::setProperty(state_->m_DoorGroupObject, QStringLiteral("DoorGroupID"), 0);
            host::RaiseForm(state_->m_DoorGroupObject);
        } else {
            combo->setTag(QString::number(combo->listIndex()));
            zone->DoorGroupID = id;  // not a change of its own
        }
    } catch (const automation::AutomationError&) {
        window_->setEnabled(true);
    }
}

void FrmMain::cmbGlobalId_Click() {
    MCZRecord* zone = currentZone(*state_);
    controls::ComboBox* combo = window_->cmbGlobalId;
    if (!zone || combo->listIndex() < 0) return;
    zone->GlobalId = automation::toUInt8(combo->itemDataAt(combo->listIndex()));
    zone->Changed = true;
}

void FrmMain::cmbGlobalId_Change() {
    MCZRecord* zone = currentZone(*state_);
    if (!zone) return;
    controls::ComboBox* combo = window_->cmbGlobalId;
    if (automation::leadingNumber(combo->currentText()) > 255) combo->setEditText(QStringLiteral("255"));
    zone->GlobalId = automation::toUInt8(automation::leadingNumber(combo->currentText()));
    zone->Changed = true;
}

void FrmMain::chkGlobal_Click() {
    if (MCZRecord* zone = currentZone(*state_)) {
        zone->GlobalOut = window_->chkGlobal->isChecked();
        zone->Changed = true;
    }
}

void FrmMain::chkTagAlert_Click(int index) {
    if (MCZRecord* zone = currentZone(*state_)) {
        (index == 0 ? zone->Tag : zone->Alert) = window_->chkTagAlert[static_cast<size_t>(index)]->isChecked();
        zone->Changed = true;
    }
}

void FrmMain::grdMCZ_Click() {
    controls::FlexGrid* grid = window_->grdMCZ;
    grid->setCol(grid->mouseCol());
    grid->setRow(grid->mouseRow());
    if (grid->row() > 0 && grid->col() == 1) {
        state_->Highlighter.HighlightRow(*this, state_->Edit, grid, true);
        ShowMCZDropDown();
    }
}

void FrmMain::ShowMCZDropDown() {
    using namespace controls;
    FrmMainWindow& w = *window_;
    FlexGrid* grid = w.grdMCZ;
    state_->Edit.EditMode = 2;
    state_->Edit.EditRow = static_cast<qint16>(grid->mouseRow());
    state_->Edit.EditCol = static_cast<qint16>(grid->mouseCol());
    const double side = grid->cellHeight();
    setTwipsHeight(w.cmdDropDown, side);
    setTwipsWidth(w.cmdDropDown, side);
    setTwipsTop(w.cmdDropDown, twipsTop(w.SSTab1) + twipsTop(w.SSSplitter1) + twipsTop(w.frmMCZContainer) + twipsTop(grid) + grid->cellTop());
    setTwipsLeft(w.cmdDropDown, twipsLeft(w.SSTab1) + twipsLeft(w.SSSplitter1) + twipsLeft(grid) + grid->cellLeft() + grid->cellWidth() -
                                    twipsWidth(w.cmdDropDown) + 50);
    w.cmdDropDown->raise();
    w.cmdDropDown->show();
}

void FrmMain::lstStdControlZones_Click() {
    FrmMainWindow& w = *window_;
    controls::ListBox* list = w.lstStdControlZones;
    const int index = list->listIndex();
    if (index < 0) return;
    const qint32 zoneNumber = list->itemDataAt(index);
    const qint16 row = static_cast<qint16>(w.grdMCZ->row());
    w.grdMCZ->setText(list->entryText(index));
    MCZRecord& zone = state_->MCZArray(state_->CurrentMCZ);
    zone.Actions[static_cast<size_t>(row - 1)] = automation::toUInt8(zoneNumber);
    zone.Changed = true;
    cz::UpdateMCZSCZDefinition(*this, w.grdMCZ, state_->SCZArray, state_->ControllerType, row, static_cast<qint16>(zoneNumber));
    list->hide();
}

void FrmMain::grdMCZ_DblClick() {
    controls::FlexGrid* grid = window_->grdMCZ;
    // The action names, the zone column and the header open nothing.
    if (grid->mouseCol() >= 2 && grid->mouseRow() > 0)
        LaunchActionComponent(LaunchContext{*this, state_->ControllerType, this, window_.get()}, static_cast<qint16>(grid->mouseRow()),
                              static_cast<qint16>(grid->mouseCol()));
}

}  // namespace cz

namespace cz {

void FrmMain::CustomizeStarted() { CustomizeMode = true; }

void FrmMain::SelectForCustomization(QWidget* control) {
    if (!window_ || !CustomizeMode) return;
    FrmMainWindow& w = *window_;
    guardedEvent(QStringLiteral("frmMain.SelectForCustomization"), [&] {
        w.MhStretch1->attach(control);
        const QString name = control->objectName();
        const bool label = name.startsWith(QLatin1String("Label1_")) || control == static_cast<QWidget*>(w.lblSCZDirections) || control == static_cast<QWidget*>(w.lblMCZDirections);
        if (label) {
            state_->CustomizeTarget = control;
            host::LocalizerSelectLabel(w.Localizer, control, w.MhStretch1);
        } else {
            host::LocalizerSelectControl(w.Localizer, control, w.MhStretch1);
        }
    });
}

void FrmMain::MhStretch1_Change() {
    if (!window_) return;
    FrmMainWindow& w = *window_;
    guardedEvent(QStringLiteral("frmMain.MhStretch1_Change"), [&] {
        QObject* target = host::LocalizerTargetChanged(w.Localizer, w.MhStretch1, state_->CustomizeTarget.data());
        state_->CustomizeTarget = qobject_cast<QWidget*>(target);
    });
}

void FrmMain::CustomizeEnded() {
    if (!window_) return;
    FrmMainWindow& w = *window_;
    guardedEvent(QStringLiteral("frmMain.CustomizeEnded"), [&] {
        w.MhStretch1->detach();
        if (state_->SavedTab < w.SSTab1->tabs() && w.SSTab1->tabEnabled(state_->SavedTab)) w.SSTab1->setTab(state_->SavedTab);
        host::LocalizerEnd(w.Localizer);
    });
    CustomizeMode = false;
}

}  // namespace cz
