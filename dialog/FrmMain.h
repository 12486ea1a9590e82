#pragma once
// The dialog object. One per thread, created on first use and shared by every
// ControlZones object of that thread; it outlives its window. Only the host
// context and the few variables below carry from one load into the next;
// everything else is in the per-load state.
#include "diagnostics/HostContext.h"
#include "diagnostics/MPublic.h"
#include "dialog/LoadState.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QWidget;

namespace controls {
class ComboBox;
class ListBox;
class TabControl;
}  // namespace controls

namespace cz {

class FrmMainWindow;

class FrmMain : public QObject, public HostContext {
    Q_OBJECT
    // The window handle siblings make the owner of their own editors.
    Q_PROPERTY(int hwnd READ hwnd)
public:
    static FrmMain& instance();
    ~FrmMain() override;

    // Kept across loads: the public variables, and what the host reads after a close.
    bool FormLoadCanceled = false;
    // Left unchanged when the controller is not found.
    QString ControllerName;
    // "OK" or "CANCEL"; a refused load hands on the previous close's value.
    QString CloseReason;
    // An in-place edit of a standard zone cell was started; never reset.
    bool SCZCellEdited = false;
    // Customization: off when the object is created; the unload turns it off.
    bool CustomizeMode = false;

    // Everything else lives for one load; the next load replaces it.
    LoadState& state() { return *state_; }
    const LoadState& state() const { return *state_; }

    // Creates the window and runs the load sequence; nothing when already loaded.
    void Load();
    // Shows the loaded window, not modal and without an owner form.
    void Show();
    // Runs the unload sequence and destroys the window; nothing when not loaded.
    void Unload();

    bool isLoaded() const { return window_ != nullptr; }
    bool unloading() const { return unloading_; }
    FrmMainWindow* window() const { return window_.get(); }
    int hwnd() const;

    // Events of the form and its buttons.
    void Form_QueryUnload(int unloadMode);
    void Form_KeyDown(int keyCode);
    void cmdOK_Click();
    void CmdCancel_Click();
    void cmdHelp_Click();
    void SSTab1_Click(int previousTab);
    void cmbMCZIndex_Click();

    // Standard zone grid and its in-cell editors.
    void grdSCZ_MouseDown(Qt::MouseButton button);
    void grdSCZ_MouseUp(Qt::MouseButton button, double xTwips, double yTwips);
    void grdSCZ_Click();
    void grdSCZ_LeaveCell();
    void grdSCZ_Scroll();
    void UpdateSCZArrayToggles();
    void ShowSCZDropDown();
    void BeginSCZNameEdit();
    void cmdDropDown_Click();
    void txtText_Change();
    void lstTimeZones_Click();
    void AddNewTZToLists(qint32 Identity, const QString& Description);

    // Master zone property panel and actions grid.
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
    void grdMCZ_Click();
    void grdMCZ_DblClick();
    void ShowMCZDropDown();
    void lstStdControlZones_Click();

    // Customize mode, started and ended by the localizer.
    void CustomizeStarted();
    void CustomizeEnded();
    void SelectForCustomization(QWidget* control);
    void MhStretch1_Change();

    // Called back by the sibling components when their editors close.
    Q_INVOKABLE void TZCallback(int& TimeZoneType, int& Identity, QString& Description);
    Q_INVOKABLE void TZCancelCallback();
    Q_INVOKABLE void Callback(QString& Component, int& DoorGroupID, QVariant& vAction, QString& name);

    // Operations the load and the close paths run.
    void GetControllerInfo(qint32 controllerId);
    void SaveAll();
    void LeaveCellEdit();
    bool ValidateZoneNames();
    void SaveSCZData();
    void SaveMCZData();
    void LoadCustomResources(controls::TabControl* tabControl, qint32 componentNumber);
    void ShowMCZ(quint8 m);
    void UpdateALLMCZSCZDefinitions(quint8 m);

private:
    FrmMain();
    void Form_Load();
    void Form_Unload();
    void runLoaders();
    void connectEvents();
    // An event handler without a fault handler of its own: its failure is
    // shown with the handler's name, never thrown into the toolkit.
    template <typename F>
    void guardedEvent(const QString& location, F&& f) {
        try {
            f();
        } catch (const automation::AutomationError& e) {
            DisplayError(*this, e, location, QStringLiteral("0"));
        }
    }
    void hookGrids();
    void unhookGrids();

    std::unique_ptr<LoadState> state_;
    std::unique_ptr<FrmMainWindow> window_;
    bool unloading_ = false;
    bool hooksAttached_ = false;
};

}  // namespace cz
