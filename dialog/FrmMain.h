#pragma once
// The dialog object. One per thread, created on first use and shared by every
// ControlZones object of that thread; it outlives its window, so its variables
// (the close reason, the zone tables) carry from one load into the next.
#include "diagnostics/HostContext.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class QDialog;
class QWidget;

namespace cz {

class FrmMainWindow;

class FrmMain : public QObject, public HostContext {
    Q_OBJECT
public:
    static FrmMain& instance();
    ~FrmMain() override;

    // Public variables besides the host context.
    bool FormLoadCanceled = false;
    QString CloseReason;
    bool SCZCellEdited = false;

    // Creates the window and runs the load sequence; nothing when already loaded.
    void Load();
    // Shows the loaded window, not modal.
    void Show();
    // Runs the unload sequence and destroys the window; nothing when not loaded.
    void Unload();

    bool isLoaded() const { return window_ != nullptr; }
    QWidget* window() const;

private:
    friend class FrmMainWindow;
    FrmMain();
    void Form_Load();
    void Form_QueryUnload(int unloadMode);
    void Form_Unload();

    std::unique_ptr<FrmMainWindow> window_;
    bool unloading_ = false;
};

}  // namespace cz
