#pragma once
// The dialog object. One per thread, created on first use and shared by every
// ControlZones object of that thread; it outlives its window. Only the host
// context and the few variables below carry from one load into the next;
// everything else is in the per-load state. The dialog runs the load and
// close sequences and wires the controls' events to the subsystems' handlers.
#include "diagnostics/HostContext.h"
#include "dialog/LoadState.h"

#include <QObject>
#include <QString>
#include <QVariant>
#include <memory>

class QTimer;
class QWidget;

namespace controls {
class TabControl;
}  // namespace controls

namespace cz {

class FrmMainWindow;
struct DialogHandlers;

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
    // The next load's window is built while the host is idle after a close,
    // so an open only fills it. It is a fresh window each time: a window that
    // has been shown is never used again. Discarding drops it, or its build.
    void DiscardNextWindow();
    // Before the library may go: no window, built or about to be, stays behind
    // on this thread unless the dialog is open.
    static void ReleaseIdleWindow();

    bool isLoaded() const { return window_ != nullptr; }
    bool unloading() const { return unloading_; }
    FrmMainWindow* window() const { return window_.get(); }
    int hwnd() const;

    // Events of the form and its buttons.
    static constexpr int EscapeKey = 27;
    void Form_QueryUnload(int unloadMode);
    void Form_KeyDown(int keyCode);
    void cmdOK_Click();
    void CmdCancel_Click();
    void cmdHelp_Click();
    void SSTab1_Click(int previousTab);

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
    void LoadCustomResources(controls::TabControl* tabControl, qint32 componentNumber);

private:
    FrmMain();
    void Form_Load();
    void Form_Unload();
    void runLoaders();
    void connectEvents();
    void hookGrids();
    void unhookGrids();
    void scheduleNextWindow();
    void buildNextWindow();

    std::unique_ptr<LoadState> state_;
    std::unique_ptr<FrmMainWindow> window_;
    std::unique_ptr<FrmMainWindow> nextWindow_;  // built, never shown
    std::unique_ptr<QTimer> nextWindowTimer_;     // builds it once the host is idle
    // The subsystems' handlers, bound to this window's controls.
    std::unique_ptr<DialogHandlers> handlers_;
    bool unloading_ = false;
    bool hooksAttached_ = false;
};

}  // namespace cz
