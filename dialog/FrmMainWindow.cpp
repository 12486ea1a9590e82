#include "dialog/FrmMainWindow.h"

#include "component/contracts/HostContracts.h"
#include "diagnostics/ErrorTrap.h"
#include "dialog/FrmMain.h"
#include "platform/automation/Convert.h"
#include "platform/automation/Registry.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/SizingFrame.h"
#include "platform/controls/TabControl.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Twips.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QSplitter>
#include <cmath>

namespace cz {

const QString FrmMainWindow::StandardTabCaption = QStringLiteral("&Standard Control Zones");
const QString FrmMainWindow::MasterTabCaption = QStringLiteral("&Master Control Zones");

namespace {

// Design size of the dialog, in twips.
constexpr double kDesignWidth = 12075;
constexpr double kDesignHeight = 8415;
// What the operator may type into a name or description.
constexpr int kNameLength = 32;

template <typename W>
W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

void place(QWidget* w, double left, double top, double width, double height) { controls::setTwipsGeometry(w, left, top, width, height); }

QLabel* label(QWidget* parent, const QString& name, const QString& caption) {
    auto* l = named(new QLabel(caption, parent), name);
    return l;
}

// The drop-down button's picture: a black downward triangle (rows of 7, 5, 3
// and 1 pixels) on light grey.
QPixmap dropDownPicture() {
    QPixmap pm(16, 16);
    pm.fill(QColor(198, 195, 198));
    QPainter p(&pm);
    p.setPen(Qt::black);
    for (int row = 0; row < 4; ++row) {
        const int width = 7 - 2 * row;
        const int left = 4 + row;
        p.drawLine(left, 6 + row, left + width - 1, 6 + row);
    }
    return pm;
}

// Halves round to the even number, as every rounding of the layout does.
int roundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace

FrmMainWindow::FrmMainWindow(FrmMain& form) : form_(form) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Control Zones"));
    setSizeGripEnabled(true);
    // The design's captions were laid out for a small dialog font.
    QFont f = font();
    f.setPixelSize(11);
    setFont(f);
    build();
}

FrmMainWindow::~FrmMainWindow() = default;

void FrmMainWindow::build() {
    SSTab1 = named(new controls::TabControl(this), QStringLiteral("SSTab1"));
    SSTab1->setTabCaptions({StandardTabCaption, MasterTabCaption});

    // Standard tab.
    lblSCZDirections = label(SSTab1, QStringLiteral("lblSCZDirections"), QStringLiteral("Right-click cell to edit corresponding object"));
    lblSCZDirections->setAlignment(Qt::AlignCenter);
    place(lblSCZDirections, 3555, 420, 4335, 255);
    lblSCZDirections->adjustSize();  // sized to its caption; the layout centres it
    grdSCZ = named(new controls::FlexGrid(SSTab1), QStringLiteral("grdSCZ"));
    grdSCZ->setRows(193);
    grdSCZ->setCols(3);
    grdSCZ->setFixedRows(1);
    grdSCZ->setFixedCols(2);
    SSTab1->addToTab(0, lblSCZDirections);
    SSTab1->addToTab(0, grdSCZ);

    // Master tab: the splitter holds the property panel above the actions grid.
    SSSplitter1 = named(new QSplitter(Qt::Vertical, SSTab1), QStringLiteral("SSSplitter1"));
    SSSplitter1->setChildrenCollapsible(false);
    Frame1 = named(new QFrame(SSSplitter1), QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    frmMCZContainer = named(new QFrame(SSSplitter1), QStringLiteral("frmMCZContainer"));
    SSSplitter1->addWidget(Frame1);
    SSSplitter1->addWidget(frmMCZContainer);
    // Extra height goes to the actions grid; the panel keeps its design height.
    SSSplitter1->setStretchFactor(0, 0);
    SSSplitter1->setStretchFactor(1, 1);
    SSTab1->addToTab(1, SSSplitter1);
    lblMCZDirections = label(frmMCZContainer, QStringLiteral("lblMCZDirections"), QStringLiteral("Double-click cell to configure corresponding object"));
    lblMCZDirections->setAlignment(Qt::AlignCenter);
    place(lblMCZDirections, 3000, 60, 4335, 255);
    lblMCZDirections->adjustSize();
    grdMCZ = named(new controls::FlexGrid(frmMCZContainer), QStringLiteral("grdMCZ"));
    grdMCZ->setRows(22);
    grdMCZ->setCols(3);
    grdMCZ->setFixedRows(1);
    grdMCZ->setFixedCols(2);
    frmMCZContainer->installEventFilter(this);

    // The property panel.
    const QStringList captions{QStringLiteral("Name:"), QStringLiteral("Description:"), QStringLiteral("Time Zone:"), QStringLiteral("MCZ#:"),
                               QStringLiteral("Linked CZ:"), QStringLiteral("Linked Door Group:"), QStringLiteral("Set Threat Level To:"),
                               QStringLiteral("Map to Global ID:")};
    for (int i = 0; i < 8; ++i) Label1[i] = label(Frame1, QStringLiteral("Label1_%1").arg(i), captions[i]);
    place(Label1[3], 225, 270, 1035, 255);
    place(Label1[0], 225, 765, 1035, 255);
    place(Label1[1], 225, 1260, 1035, 255);
    place(Label1[2], 225, 1770, 1035, 255);
    // These two captions are longer than their designed room in this font: they start further left.
    place(Label1[6], 4620, 270, 1800, 255);
    place(Label1[7], 4620, 705, 1800, 255);
    place(Label1[4], 3840, 2715, 1260, 255);
    place(Label1[5], 3840, 3210, 1260, 255);
    Label1[4]->hide();
    Label1[5]->hide();

    cmbMCZIndex = named(new controls::ComboBox(Frame1), QStringLiteral("cmbMCZIndex"));
    place(cmbMCZIndex, 1320, 270, 735, 315);
    txtMCZName = named(new controls::TextBox(Frame1), QStringLiteral("txtMCZName"));
    txtMCZName->setTypingLimit(kNameLength);
    place(txtMCZName, 1320, 690, 3255, 315);
    txtMCZDescription = named(new controls::TextBox(Frame1), QStringLiteral("txtMCZDescription"));
    txtMCZDescription->setTypingLimit(kNameLength);
    place(txtMCZDescription, 1320, 1260, 3255, 315);
    cmbMCZTimeZone = named(new controls::ComboBox(Frame1), QStringLiteral("cmbMCZTimeZone"));
    place(cmbMCZTimeZone, 1320, 1755, 3255, 315);
    cmbThreatLevel = named(new controls::ComboBox(Frame1), QStringLiteral("cmbThreatLevel"));
    place(cmbThreatLevel, 6480, 270, 3255, 315);
    cmbGlobalId = named(new controls::ComboBox(Frame1), QStringLiteral("cmbGlobalId"));
    cmbGlobalId->setEditable(true);
    cmbGlobalId->setInsertPolicy(QComboBox::NoInsert);
    place(cmbGlobalId, 6480, 690, 3255, 315);
    chkGlobal = named(new QCheckBox(QStringLiteral("Broadcast Globally"), Frame1), QStringLiteral("chkGlobal"));
    place(chkGlobal, 6480, 1170, 2175, 252);
    chkTagAlert[0] = named(new QCheckBox(QStringLiteral("Tag"), Frame1), QStringLiteral("chkTagAlert_0"));
    chkTagAlert[1] = named(new QCheckBox(QStringLiteral("Alert"), Frame1), QStringLiteral("chkTagAlert_1"));
    place(chkTagAlert[0], 9990, 270, 852, 315);
    place(chkTagAlert[1], 9990, 585, 852, 315);
    // Filled and kept in step with the shown zone, but out of the operator's reach.
    cmbLinkedZone = named(new controls::ComboBox(Frame1), QStringLiteral("cmbLinkedZone"));
    place(cmbLinkedZone, 5160, 2715, 3255, 315);
    cmbLinkedZone->hide();
    cmbLinkedAccessZone = named(new controls::ComboBox(Frame1), QStringLiteral("cmbLinkedAccessZone"));
    place(cmbLinkedAccessZone, 5160, 3210, 3255, 315);
    cmbLinkedAccessZone->hide();
    Frame1->setMinimumHeight(controls::twipsToPixelsY(Frame1, 2175));
    SSSplitter1->setSizes({controls::twipsToPixelsY(Frame1, 2175), controls::twipsToPixelsY(Frame1, 4000)});

    // In-cell editors, hidden until a grid shows one.
    txtText = named(new controls::TextBox(this), QStringLiteral("txtText"));
    txtText->setTypingLimit(kNameLength);
    txtText->hide();
    cmdDropDown = named(new QPushButton(this), QStringLiteral("cmdDropDown"));
    cmdDropDown->setIcon(QIcon(dropDownPicture()));
    cmdDropDown->setFocusPolicy(Qt::NoFocus);
    cmdDropDown->hide();
    lstTimeZones = named(new controls::ListBox(this), QStringLiteral("lstTimeZones"));
    lstStdControlZones = named(new controls::ListBox(this), QStringLiteral("lstStdControlZones"));
    // Four cell heights tall: every pixel goes to entries.
    for (controls::ListBox* list : {lstTimeZones, lstStdControlZones}) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->hide();
    }

    // The button row.
    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("cmdOK"));
    CmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("CmdCancel"));
    cmdHelp = named(new QPushButton(QStringLiteral("&Help"), this), QStringLiteral("cmdHelp"));
    for (QPushButton* b : {cmdOK, CmdCancel, cmdHelp}) {
        b->setAutoDefault(false);
        controls::setTwipsWidth(b, 1215);
        controls::setTwipsHeight(b, 375);
    }

    // The sizing frame, used only in customize mode: parked out of sight.
    MhStretch1 = named(new controls::SizingFrame(this), QStringLiteral("MhStretch1"));
    MhStretch1->detach();

    mnuSCZPopupParent = named(new QMenu(QStringLiteral("SCZPopup"), this), QStringLiteral("mnuSCZPopupParent"));
    const QStringList entries{QStringLiteral("Input Properties..."), QStringLiteral("Relay Properties..."), QStringLiteral("Reader Properties...")};
    for (int i = 0; i < 3; ++i) {
        mnuSCZPopupChild[i] = mnuSCZPopupParent->addAction(entries[i]);
        mnuSCZPopupChild[i]->setObjectName(QStringLiteral("mnuSCZPopupChild_%1").arg(i));
    }

    // The localizer is a control of the form: it finds the other controls through its parent.
    // A host without a localizer: customize mode is then unavailable.
    ErrorTrap::endSilently(form_)([&] {
        Localizer = automation::Registry::create(host::progid::Localizer);
        Localizer.get()->setParent(this);
    });

    connect(cmdOK, &QPushButton::clicked, this, [this] { form_.cmdOK_Click(); });
    connect(CmdCancel, &QPushButton::clicked, this, [this] { form_.CmdCancel_Click(); });
    connect(cmdHelp, &QPushButton::clicked, this, [this] { form_.cmdHelp_Click(); });
    connect(SSTab1, &controls::TabControl::click, this, [this](int previous) { form_.SSTab1_Click(previous); });

    // In customize mode a click on one of these (the focus, for a combo box) selects it.
    // An editable combo's inner line edit is part of the combo, whose focus selects it.
    for (QWidget* w : findChildren<QWidget*>())
        if (qobject_cast<QPushButton*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QLabel*>(w) || qobject_cast<QComboBox*>(w) ||
            (qobject_cast<QLineEdit*>(w) && !qobject_cast<QComboBox*>(w->parentWidget())))
            w->installEventFilter(this);

    resize(controls::twipsToPixelsX(this, kDesignWidth), controls::twipsToPixelsY(this, kDesignHeight));
    Form_Resize();
}

void FrmMainWindow::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    Form_Resize();
}

void FrmMainWindow::Form_Resize() {
    using namespace controls;
    const double W = pixelsToTwipsX(this, width());
    const double H = pixelsToTwipsY(this, height());
    const int B = roundEven((pixelsToTwipsX(this, frameGeometry().width()) - W) / 2);
    // Each assignment that would give a negative size is skipped; the control keeps its last one.
    auto setHeight = [](QWidget* w, double h) {
        if (h >= 0) setTwipsHeight(w, h);
    };
    auto setWidth = [](QWidget* w, double v) {
        if (v >= 0) setTwipsWidth(w, v);
    };

    const double cancelHeight = twipsHeight(CmdCancel);
    setTwipsTop(SSTab1, 90);
    setTwipsLeft(SSTab1, 75);
    setHeight(SSTab1, H - 2 * cancelHeight + 90);
    setWidth(SSTab1, W - 2 * 75);

    const int T = roundEven(H - 1.5 * cancelHeight + 90);
    for (QPushButton* b : {CmdCancel, cmdOK, cmdHelp}) setTwipsTop(b, T);
    setTwipsLeft(CmdCancel, W - (75 + twipsWidth(CmdCancel)));
    setTwipsLeft(cmdHelp, 75);
    setTwipsLeft(cmdOK, twipsLeft(CmdCancel) - (75 + twipsWidth(cmdOK)));

    form_.LeaveCellEdit();

    const double tabHeight = pixelsToTwipsY(SSTab1, SSTab1->tabHeightPixels());
    setTwipsTop(SSSplitter1, tabHeight + B);
    setTwipsLeft(SSSplitter1, B);
    setHeight(SSSplitter1, twipsHeight(SSTab1) - tabHeight - 2 * B);
    setWidth(SSSplitter1, twipsWidth(SSTab1) - 2 * twipsLeft(SSTab1));

    CenterMCZDirections();
    placeMCZGrid();

    setTwipsTop(grdSCZ, B + twipsTop(lblSCZDirections) + twipsHeight(lblSCZDirections));
    setTwipsLeft(grdSCZ, 225);
    setHeight(grdSCZ, twipsHeight(SSTab1) - tabHeight - 2 * B - twipsTop(lblSCZDirections) - twipsHeight(lblSCZDirections) / 2.0);
    setWidth(grdSCZ, twipsWidth(SSTab1) - 450);
    setTwipsLeft(lblSCZDirections, twipsWidth(SSTab1) / 2.0 - twipsWidth(lblSCZDirections) / 2.0);
}

void FrmMainWindow::CenterMCZDirections() {
    using namespace controls;
    setTwipsLeft(lblMCZDirections, roundEven(twipsWidth(frmMCZContainer) / 2.0) - twipsWidth(lblMCZDirections) / 2.0);
}

void FrmMainWindow::placeMCZGrid() {
    using namespace controls;
    // The actions grid fills its frame below the hint.
    setTwipsTop(grdMCZ, twipsTop(lblMCZDirections) + twipsHeight(lblMCZDirections));
    setTwipsLeft(grdMCZ, 225);
    const double h = twipsHeight(frmMCZContainer) - twipsTop(grdMCZ);
    const double w = twipsWidth(frmMCZContainer) - 2 * twipsLeft(grdMCZ);
    if (h >= 0) setTwipsHeight(grdMCZ, h);
    if (w >= 0) setTwipsWidth(grdMCZ, w);
}

bool FrmMainWindow::eventFilter(QObject* watched, QEvent* e) {
    if (form_.CustomizeMode && watched != MhStretch1 && watched != cmdDropDown) {
        auto* control = qobject_cast<QWidget*>(watched);
        const bool combo = qobject_cast<QComboBox*>(watched) != nullptr;
        if (control && ((combo && e->type() == QEvent::FocusIn) || (!combo && e->type() == QEvent::MouseButtonPress)))
            form_.SelectForCustomization(control);
    }
    // The splitter moved or the dialog resized: the frame holding the actions grid changed size.
    // A hidden frame's first resize (delivered late, e.g. when the dialog is grabbed) moves no splitter.
    if (watched == frmMCZContainer && e->type() == QEvent::Resize) {
        CenterMCZDirections();
        placeMCZGrid();
        const auto* resize = static_cast<QResizeEvent*>(e);
        if (frmMCZContainer->isVisible() && resize->oldSize().isValid() && resize->oldSize() != resize->size()) form_.LeaveCellEdit();
    }
    return QDialog::eventFilter(watched, e);
}

void FrmMainWindow::closeEvent(QCloseEvent* e) {
    if (form_.unloading()) {
        e->accept();
        return;
    }
    // The close box: query-unload mode 0, then the unload destroys this window.
    e->ignore();
    form_.Form_QueryUnload(0);
    form_.Unload();
}

void FrmMainWindow::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        form_.Form_KeyDown(FrmMain::EscapeKey);
        return;
    }
    QDialog::keyPressEvent(e);
}

void FrmMainWindow::reject() { form_.Form_KeyDown(FrmMain::EscapeKey); }

}  // namespace cz
