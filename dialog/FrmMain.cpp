#include "dialog/FrmMain.h"

#include "component/contracts/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/ListSelection.h"
#include "diagnostics/MPublic.h"
#include "dialog/DialogHandlers.h"
#include "dialog/FrmMainWindow.h"
#include "master_zones/ConflictCheck.h"
#include "master_zones/InCellEditing.h"
#include "master_zones/MCZGrid.h"
#include "master_zones/MCZPanel.h"
#include "platform/automation/Convert.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/MessageBox.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/WindowHandle.h"
#include "platform/database/Recordset.h"
#include "reference/PickLists.h"
#include "master_zones/MCZSave.h"
#include "master_zones/ZoneNames.h"
#include "standard_zones/SCZGrid.h"
#include "standard_zones/SCZSave.h"

#include <QApplication>
#include <QPushButton>
#include <QSplitter>
#include <QThread>
#include <QTimer>

namespace cz {

namespace {

thread_local std::unique_ptr<FrmMain> threadForm;

// Windows must go before the application object does; the dialog object
// itself may live on until the thread ends.
void destroyMainThreadWindow() {
    if (!threadForm) return;
    if (threadForm->isLoaded()) threadForm->Unload();
    threadForm->DiscardNextWindow();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The wait pointer of a long operation, restored exactly once.
class WaitPointer {
public:
    void show() {
        if (shown_ || !qobject_cast<QApplication*>(QCoreApplication::instance())) return;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        shown_ = true;
    }
    void restore() {
        if (!shown_) return;
        QApplication::restoreOverrideCursor();
        shown_ = false;
    }
    ~WaitPointer() { restore(); }

private:
    bool shown_ = false;
};

constexpr int kComponentType = 32;
constexpr qint16 NoViewRightText = 1580, NoTabLeftText = 288, CaptionText = 1164;
constexpr qint32 kComponentNumber = 5;
// Button releases the grids are hooked for: left, middle, right.
constexpr int kHookedMessages[] = {controls::buttonMessage::LeftUp, controls::buttonMessage::MiddleUp, controls::buttonMessage::RightUp};

}  // namespace

FrmMain& FrmMain::instance() {
    if (!threadForm) {
        threadForm.reset(new FrmMain);
        if (QCoreApplication::instance() && QCoreApplication::instance()->thread() == QThread::currentThread())
            qAddPostRoutine(destroyMainThreadWindow);
    }
    return *threadForm;
}

FrmMain::FrmMain() : state_(std::make_unique<LoadState>(*this)) {}

FrmMain::~FrmMain() {
    // A window still open when the thread ends without an application object cannot be destroyed safely.
    if (!QCoreApplication::instance()) {
        (void)window_.release();
        (void)nextWindow_.release();
    }
}

int FrmMain::hwnd() const { return window_ ? controls::windowHandle(window_.get()) : 0; }

void FrmMain::Load() {
    if (window_) return;
    state_ = std::make_unique<LoadState>(*this);
    window_ = nextWindow_ ? std::move(nextWindow_) : std::make_unique<FrmMainWindow>(*this);
    connectEvents();
    Form_Load();
}

void FrmMain::Show() {
    if (!window_) return;
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void FrmMain::Unload() {
    if (!window_ || unloading_) return;
    unloading_ = true;
    Form_Unload();
    handlers_.reset();
    // The unload may come from one of the window's own buttons: the window goes
    // once that event is over.
    FrmMainWindow* w = window_.release();
    w->hide();
    w->deleteLater();
    // The rows as loaded serve only the OK of this load; the tables stay.
    if (state_) state_->AsLoaded = RowsAsLoaded();
    unloading_ = false;
    scheduleNextWindow();
}

void FrmMain::scheduleNextWindow() {
    // Only the application's thread has windows and an event loop to build in.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()) || QThread::currentThread() != QCoreApplication::instance()->thread()) return;
    if (!nextWindowTimer_) {
        nextWindowTimer_ = std::make_unique<QTimer>();
        nextWindowTimer_->setSingleShot(true);
        QObject::connect(nextWindowTimer_.get(), &QTimer::timeout, [this] { buildNextWindow(); });
    }
    nextWindowTimer_->start(0);
}

void FrmMain::buildNextWindow() {
    if (window_ || nextWindow_) return;
    ErrorTrap::endSilently(*this)([&] {
        nextWindow_ = std::make_unique<FrmMainWindow>(*this);
        nextWindow_->ensurePolished();
    });
}

void FrmMain::DiscardNextWindow() {
    nextWindowTimer_.reset();
    nextWindow_.reset();
}

void FrmMain::ReleaseIdleWindow() {
    if (threadForm && !threadForm->isLoaded()) threadForm->DiscardNextWindow();
}

void FrmMain::Form_Load() {
    FrmMainWindow& w = *window_;
    WaitPointer wait;
    ErrorTrap step = ErrorTrap::logAndEnd(*this, QStringLiteral("Load"));
    // A failure in the load gives the host back its window (a failure here is the trap's to swallow).
    step.afterReport([&] {
        wait.restore();
        host::setEnabled(m_Parent, true);
    });
    // The refusal always ends refused: the box cannot fail, and a failing step is logged.
    auto refuse = [&](qint16 message) {
        step([&] { InformationBox(*this, GRS(*this, message)); });
        wait.restore();
        FormLoadCanceled = true;
    };

    FormLoadCanceled = false;
    wait.show();
    automation::ObjectRef security;
    step([&] {
        security = host::Security(m_NTConnection);
        host::setComponentType(security, kComponentType);
    });
    bool canView = false;
    step([&] { canView = host::CanView(security); });
    if (step.ended()) return;
    if (!canView) return refuse(NoViewRightText);
    step([&] {
        if (!host::CanSave(security)) w.cmdOK->setEnabled(false);
    });
    step([&] { state_->PreviousOwnerWindow = controls::setOwnerWindow(&w, host::hwnd(m_Parent)); });
    step([&] { state_->SubPermissions = host::SubPermissions(security); });
    int available = 0;
    step([&] {
        available = w.SSTab1->tabs();
        for (int i = 0; i < w.SSTab1->tabs(); ++i) {
            if (!host::SubPermissionCanView(state_->SubPermissions, w.SSTab1->tabCaption(i))) {
                w.SSTab1->setTabEnabled(i, false);
                --available;
            }
        }
    });
    if (step.ended()) return;
    if (available == 0) return refuse(NoTabLeftText);
    step([&] { LoadCustomResources(w.SSTab1, kComponentNumber); });
    step([&] { GetControllerInfo(m_ControllerId); });
    step([&] { w.setWindowTitle(GRS(*this, CaptionText, {ControllerName})); });
    step([&] { w.SSSplitter1->hide(); });
    step([&] {
        state_->m_TimeZoneObject = host::create(host::progid::TimeZone);
        host::setProperty(state_->m_TimeZoneObject, QStringLiteral("DBConnection"), automation::fromObject(m_DBConnection.get()));
        host::setProperty(state_->m_TimeZoneObject, QStringLiteral("NTConnection"), automation::fromObject(m_NTConnection.get()));
    });
    step([&] {
        state_->m_DoorGroupObject = host::create(host::progid::DoorGroup);
        host::setProperty(state_->m_DoorGroupObject, QStringLiteral("DBConnectionString"), db()->connectionString());
        host::setProperty(state_->m_DoorGroupObject, QStringLiteral("NTConnection"), automation::fromObject(m_NTConnection.get()));
    });
    step([&] { runLoaders(); });
    step([&] { hookGrids(); });
    step([&] {
        // A denied standard tab leaves the master tab active: show it as a switch to it would.
        if (w.SSTab1->tab() != 0) SSTab1_Click(0);
    });
    step([&] {
        wait.restore();
        host::setEnabled(m_Parent, false);
    });
}

void FrmMain::runLoaders() {
    FrmMainWindow& w = *window_;
    state_->TimeZoneInfo.LoadTimeZoneInformation(m_ControllerId);
    InitializeSCZGrid(*this, w.grdSCZ, state_->ControllerType, state_->Edit.InitializingSCZGrid);
    InitializeMCZGrid(*this, w.grdMCZ, state_->ControllerType, state_->Edit.InitializingMCZGrid, [&w] { w.CenterMCZDirections(); });
    LoadSCZArray(*this, state_->TimeZoneInfo, state_->SCZArray, &state_->AsLoaded);
    LoadMCZArray(*this, state_->TimeZoneInfo, state_->MCZArray, &state_->AsLoaded);
    FillSCZList(w.lstStdControlZones, state_->SCZArray);
    InitTimeZoneList(*this, w.lstTimeZones);
    InitMCZCombos(*this, MCZCombos{w.cmbMCZIndex, w.cmbMCZTimeZone, w.cmbThreatLevel, w.cmbLinkedZone, w.cmbLinkedAccessZone, w.cmbGlobalId},
                  state_->TimeZoneInfo.GenericTZArray, state_->SCZArray);
    FillSCZGrid(w.grdSCZ, state_->SCZArray, state_->TimeZoneInfo, state_->ControllerType);
    SelectComboByItemData(w.cmbMCZIndex, MCZTable::First);
    ClearMCZChangedFlags(state_->MCZArray);
    state_->Edit.EditMode = InCellEditor::None;
}

void FrmMain::hookGrids() {
    FrmMainWindow& w = *window_;
    // Released buttons over a grid end any edit, after the grid has handled them.
    auto attach = [this](controls::FlexGrid* grid, bool centre) {
        QObject::connect(grid, &controls::FlexGrid::buttonReleased, window_.get(), [this, centre](int message) {
            if (std::find(std::begin(kHookedMessages), std::end(kHookedMessages), message) == std::end(kHookedMessages)) return;
            LeaveCellEdit();
            if (centre && window_) window_->CenterMCZDirections();
        });
    };
    attach(w.grdSCZ, false);
    attach(w.grdMCZ, true);
    hooksAttached_ = true;
}

void FrmMain::unhookGrids() {
    if (!hooksAttached_ || !window_) return;
    QObject::disconnect(window_->grdSCZ, &controls::FlexGrid::buttonReleased, window_.get(), nullptr);
    QObject::disconnect(window_->grdMCZ, &controls::FlexGrid::buttonReleased, window_.get(), nullptr);
    hooksAttached_ = false;
}

void FrmMain::Form_QueryUnload(int unloadMode) {
    if (unloadMode == 0) CloseReason = QStringLiteral("CANCEL");
}

void FrmMain::Form_Unload() {
    // Every failing step is skipped and the next one runs.
    ErrorTrap step = ErrorTrap::skipEachFailure(*this);
    step([&] { host::setEnabled(m_Parent, true); });
    step([&] { host::CZCallback(m_Parent, CloseReason, automation::boolText(SCZCellEdited)); });
    step([&] {
        m_Parent.release();
        m_DBConnection.release();
        m_NTConnection.release();
    });
    step([&] { host::LocalizerRelease(window_->Localizer, hwnd()); });
    step([&] {
        CustomizeMode = false;
        state_->CustomizeTarget.clear();
    });
    step([&] {
        if (state_->m_TimeZoneObject) {
            host::setProperty(state_->m_TimeZoneObject, QStringLiteral("Parent"), automation::fromObject(nullptr));
            state_->m_TimeZoneObject.release();
        }
    });
    // Released even when clearing its Parent failed and ended the step above.
    step([&] { state_->m_TimeZoneObject.release(); });
    step([&] { state_->m_DoorGroupObject.release(); });
    step([&] { controls::setOwnerWindow(window_.get(), state_->PreviousOwnerWindow); });
    step([&] { unhookGrids(); });
}

void FrmMain::Form_KeyDown(int keyCode) {
    if (keyCode != EscapeKey) return;
    // Exactly the Cancel click: in customize mode that selects the button.
    if (CustomizeMode && window_) SelectForCustomization(window_->CmdCancel);
    else CmdCancel_Click();
}

void FrmMain::cmdOK_Click() {
    if (CustomizeMode) return;
    WaitPointer wait;
    ErrorTrap step = ErrorTrap::showAndEnd(*this, QStringLiteral("frmMain.cmdOK_Click"));
    step([&] { LeaveCellEdit(); });
    bool invalid = false;
    step([&] { invalid = ValidateZoneNames(*this, state_->SCZArray, state_->MCZArray); });
    if (invalid || step.ended()) return;
    bool backToEditing = false;
    step([&] { backToEditing = !ConfirmNoConflicts(*this, state_->AsLoaded, state_->TimeZoneInfo, state_->SCZArray, state_->MCZArray); });
    if (backToEditing || step.ended()) return;
    step([&] { wait.show(); });
    step([&] { SaveAll(); });
    step([&] { CloseReason = QStringLiteral("OK"); });
    step([&] { wait.restore(); });
    step([&] { Unload(); });
}

void FrmMain::CmdCancel_Click() {
    if (CustomizeMode) return;
    CloseReason = QStringLiteral("CANCEL");
    Unload();
}

void FrmMain::cmdHelp_Click() {
    if (CustomizeMode) return;
    constexpr qint16 StandardTabTopic = 11, MasterTabTopic = 10;
    ErrorTrap::showAndEnd(*this, QStringLiteral("frmMain.cmdHelp_Click"))(
        [&] { host::ShowHelp(m_NTConnection, window_ && window_->SSTab1->tab() == 0 ? StandardTabTopic : MasterTabTopic); });
}

void FrmMain::SSTab1_Click(int) {
    if (!window_) return;
    FrmMainWindow& w = *window_;
    LoadState& s = *state_;
    ErrorTrap::showAndEnd(*this, QStringLiteral("frmMain.SSTab1_Click"))([&] {
        if (w.SSTab1->tab() == 0) {
            w.grdSCZ->show();
            w.SSSplitter1->hide();
        } else {
            if (s.CurrentMCZ == 0) s.CurrentMCZ = MCZTable::First;
            FillSCZList(w.lstStdControlZones, s.SCZArray);
            UpdateALLMCZSCZDefinitions(*this, w.grdMCZ, s.SCZArray, s.MCZArray, s.ControllerType, s.CurrentMCZ);
            w.grdSCZ->hide();
            w.SSSplitter1->show();
        }
        LeaveCellEdit();
    });
}

void FrmMain::GetControllerInfo(qint32 controllerId) {
    ErrorTrap step = ErrorTrap::showAndEnd(*this, QStringLiteral("frmMain.GetControllerInfo"));
    database::Recordset rs;
    step([&] { state_->ControllerType = 4; });
    step([&] {
        rs.Open(QStringLiteral("Select Controller_Type, Controller_name from controllers where Controller_id = ") + QString::number(controllerId),
                db(), database::adOpenForwardOnly, database::adLockReadOnly, database::adCmdUnspecified);
    });
    step([&] {
        if (!rs.eof()) {
            state_->ControllerType = rs.field(QStringLiteral("controller_type")).toInt32();
            ControllerName = rs.field(QStringLiteral("controller_name")).toText();
        }
    });
    step([&] { rs.Close(); });
}

void FrmMain::SaveAll() {
    LoadState& s = *state_;
    SaveSCZData(*this, s.TimeZoneInfo, s.SCZArray, s.m_ControllerObject);
    SaveMCZData(*this, s.TimeZoneInfo, s.MCZArray, s.m_ControllerObject);
}

void FrmMain::LeaveCellEdit() {
    if (window_ && handlers_) cz::LeaveCellEdit(*this, state_->Edit, state_->Highlighter, handlers_->editors, state_->SCZArray);
}

void FrmMain::LoadCustomResources(controls::TabControl* tabControl, qint32 componentNumber) {
    ErrorTrap step = ErrorTrap::showAndEnd(*this, QStringLiteral("frmMain.LoadCustomResources"));
    step([&] { state_->SavedTab = static_cast<quint8>(tabControl->tab()); });
    bool customize = false;
    step([&] { customize = host::EnableCustomize(m_NTConnection); });
    if (!customize || step.ended()) return;
    const automation::ObjectRef& localizer = window_->Localizer;
    step([&] { host::LocalizerConnection(localizer, m_DBConnection.get()); });
    step([&] { host::LocalizerComponentNumber(localizer, componentNumber); });
    step([&] { host::LocalizerVersion(localizer, ComponentVersion()); });
    step([&] { host::LocalizerApply(localizer); });
    step([&] {
        bool all = true;
        for (int i = 0; i < tabControl->tabs(); ++i) all = all && tabControl->tabEnabled(i);
        if (all) host::LocalizerEnabled(localizer, true);
    });
}

}  // namespace cz
