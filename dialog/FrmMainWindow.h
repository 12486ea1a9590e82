#pragma once
// The dialog's window and its controls, each under its design name (control
// arrays as Name_Index), at its design-time place in twips. The window is
// destroyed on every unload; the dialog object (FrmMain) outlives it.
#include "platform/automation/Dispatch.h"
#include "platform/controls/TextBox.h"

#include <QDialog>
#include <array>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSplitter;

namespace controls {
class ComboBox;
class FlexGrid;
class ListBox;
class SizingFrame;
class TabControl;
}  // namespace controls

namespace cz {

class FrmMain;

class FrmMainWindow : public QDialog {
    Q_OBJECT
public:
    explicit FrmMainWindow(FrmMain& form);
    ~FrmMainWindow() override;

    // The designed tab captions, the keys of the per-tab rights.
    static const QString StandardTabCaption;
    static const QString MasterTabCaption;

    controls::TabControl* SSTab1;
    controls::FlexGrid* grdSCZ;
    QLabel* lblSCZDirections;
    QSplitter* SSSplitter1;
    QFrame* frmMCZContainer;
    QLabel* lblMCZDirections;
    controls::FlexGrid* grdMCZ;
    QFrame* Frame1;
    controls::ComboBox* cmbMCZIndex;
    controls::ComboBox* cmbMCZTimeZone;
    controls::ComboBox* cmbThreatLevel;
    controls::ComboBox* cmbGlobalId;
    controls::ComboBox* cmbLinkedZone;
    controls::ComboBox* cmbLinkedAccessZone;
    controls::TextBox* txtMCZName;
    controls::TextBox* txtMCZDescription;
    QCheckBox* chkGlobal;
    std::array<QCheckBox*, 2> chkTagAlert;
    std::array<QLabel*, 8> Label1;
    controls::TextBox* txtText;
    QPushButton* cmdDropDown;
    controls::ListBox* lstTimeZones;
    controls::ListBox* lstStdControlZones;
    QPushButton* cmdOK;
    QPushButton* CmdCancel;
    QPushButton* cmdHelp;
    controls::SizingFrame* MhStretch1;
    QMenu* mnuSCZPopupParent;
    std::array<QAction*, 3> mnuSCZPopupChild;
    // The localizer control: created by its identifier, owned by this window.
    automation::ObjectRef Localizer;

    // Places the controls for the current size (every resize).
    void Form_Resize();
    // Centres the master grid's hint in its frame.
    void CenterMCZDirections();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void build();
    void placeMCZGrid();
    FrmMain& form_;
};

}  // namespace cz
