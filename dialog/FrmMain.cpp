#include "dialog/FrmMain.h"

#include "component/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "platform/automation/Convert.h"

#include <QThread>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>

namespace cz {

class FrmMainWindow : public QDialog {
public:
    explicit FrmMainWindow(FrmMain& form) : form_(form) {
        setObjectName(QStringLiteral("frmMain"));
        setWindowTitle(QStringLiteral("Control Zones"));
        setAttribute(Qt::WA_DeleteOnClose, false);
    }

protected:
    void closeEvent(QCloseEvent* e) override {
        // The close box: query-unload mode 0, then the unload.
        if (form_.unloading_) {
            e->accept();
            return;
        }
        e->ignore();
        form_.Form_QueryUnload(0);
        form_.Unload();
    }

private:
    FrmMain& form_;
};

namespace {
thread_local std::unique_ptr<FrmMain> threadForm;

// Windows must go before the application object does; the dialog object
// itself may live on until the thread ends.
void destroyMainThreadWindow() {
    if (threadForm && threadForm->isLoaded()) threadForm->Unload();
}
}  // namespace

FrmMain& FrmMain::instance() {
    if (!threadForm) {
        threadForm.reset(new FrmMain);
        if (QCoreApplication::instance() && QCoreApplication::instance()->thread() == QThread::currentThread())
            qAddPostRoutine(destroyMainThreadWindow);
    }
    return *threadForm;
}

FrmMain::FrmMain() = default;
FrmMain::~FrmMain() {
    // A window still open when the thread ends without an application object cannot be destroyed safely.
    if (window_ && !QCoreApplication::instance()) (void)window_.release();
}

QWidget* FrmMain::window() const { return window_.get(); }

void FrmMain::Load() {
    if (window_) return;
    window_ = std::make_unique<FrmMainWindow>(*this);
    Form_Load();
}

void FrmMain::Show() {
    if (window_) window_->show();
}

void FrmMain::Unload() {
    if (!window_ || unloading_) return;
    unloading_ = true;
    Form_Unload();
    window_->hide();
    window_.reset();
    unloading_ = false;
}

void FrmMain::Form_Load() {
    FormLoadCanceled = false;
}

void FrmMain::Form_QueryUnload(int unloadMode) {
    if (unloadMode == 0) CloseReason = QStringLiteral("CANCEL");
}

void FrmMain::Form_Unload() {
    // Every failing step is skipped and the next one runs.
    auto step = [](auto&& f) {
        try {
            f();
        } catch (const automation::AutomationError&) {
        }
    };
    step([&] { host::setEnabled(m_Parent, true); });
    step([&] { host::CZCallback(m_Parent, CloseReason, automation::boolText(SCZCellEdited)); });
    step([&] {
        m_Parent.release();
        m_DBConnection.release();
        m_NTConnection.release();
    });
}

}  // namespace cz
