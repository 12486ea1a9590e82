#include "standard_zones/SCZGrid.h"

#include "diagnostics/ErrorTrap.h"
#include "diagnostics/MPublic.h"
#include "platform/controls/FlexGrid.h"
#include "reference/TimeZones.h"
#include "standard_zones/ColumnLayout.h"
#include "standard_zones/ComponentLaunch.h"
#include "standard_zones/SCZRecords.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Twips.h"

#include <QMenu>

namespace cz {

namespace {
const QString Mark = QStringLiteral("X");
const QColor White(0xFF, 0xFF, 0xFF);
// Resource texts of the column headers.
constexpr qint16 HeaderNumber = 1152, HeaderName = 1153, HeaderTimeZone = 1154, HeaderTag = 1155, HeaderAlert = 1156;
}  // namespace

void InitializeSCZGrid(const HostContext& ctx, controls::FlexGrid* grdSCZ, qint32 ControllerType, bool& InitializingSCZGrid) {
    ErrorTrap step = ErrorTrap::logAndContinue(ctx, QStringLiteral("InitializeSCZGrid"));
    step.afterReport([&] { InitializingSCZGrid = false; });
    // The widths change one by one; the scroll bars follow once, at the end.
    controls::FlexGrid::Batch layout(grdSCZ);
    qint16 first = 0, last = 0;
    step([&] { InitializingSCZGrid = true; });
    step([&] {
        GetColumnRange(ControllerType, QStringLiteral("ALERT"), first, last);
        grdSCZ->setCols(last + 1);
    });
    step([&] { grdSCZ->setRow(0); });
    step([&] { grdSCZ->setColWidth(0, 400); });
    step([&] { grdSCZ->setColWidth(1, 2000); });
    step([&] { grdSCZ->setColWidth(2, 2000); });
    for (int c = 3; c <= grdSCZ->cols() - 2; ++c) {
        step([&] { grdSCZ->setColWidth(c, 400); });
        step([&] { grdSCZ->setColAlignment(c, controls::align::CenterCenter); });
    }
    step([&] { grdSCZ->setTextMatrix(0, 0, GRS(ctx, HeaderNumber)); });
    step([&] { grdSCZ->setTextMatrix(0, 1, GRS(ctx, HeaderName)); });
    step([&] { grdSCZ->setTextMatrix(0, 2, GRS(ctx, HeaderTimeZone)); });
    GetColumnRange(ControllerType, QStringLiteral("BASE"), first, last);
    for (int c = first; c <= last; ++c) step([&] { grdSCZ->setTextMatrix(0, c, QString::number(c - (first - 1))); });
    GetColumnRange(ControllerType, QStringLiteral("EXP"), first, last);
    for (int c = first; c <= last; ++c) step([&] { grdSCZ->setTextMatrix(0, c, Mark + QString::number(c - (first - 1))); });
    GetColumnRange(ControllerType, QStringLiteral("TAG"), first, last);
    step([&] { grdSCZ->setColWidth(first, 650); });
    step([&] { grdSCZ->setColAlignment(first, controls::align::CenterCenter); });
    step([&] { grdSCZ->setTextMatrix(0, first, GRS(ctx, HeaderTag)); });
    GetColumnRange(ControllerType, QStringLiteral("ALERT"), first, last);
    step([&] { grdSCZ->setColWidth(first, 650); });
    step([&] { grdSCZ->setColAlignment(first, controls::align::CenterCenter); });
    step([&] { grdSCZ->setTextMatrix(0, first, GRS(ctx, HeaderAlert)); });
    for (int r = 1; r <= 192; ++r) {
        step([&] { grdSCZ->setRow(r); });
        for (int c = 0; c <= 2; ++c)
            step([&] {
                grdSCZ->setCol(c);
                grdSCZ->setCellAlignment(controls::align::LeftCenter);
            });
        step([&] {
            grdSCZ->setCol(1);
            grdSCZ->setCellBackColor(White);
        });
    }
    step([&] { InitializingSCZGrid = false; });
}

void FillSCZGrid(controls::FlexGrid* grdSCZ, const SCZTable& SCZArray, TimeZones& timeZones, qint32 ControllerType) {
    qint16 tag = 0, alert = 0, baseFirst = 0, baseLast = 0, expFirst = 0, expLast = 0, unused = 0;
    GetColumnRange(ControllerType, QStringLiteral("TAG"), tag, unused);
    GetColumnRange(ControllerType, QStringLiteral("ALERT"), alert, unused);
    GetColumnRange(ControllerType, QStringLiteral("BASE"), baseFirst, baseLast);
    GetColumnRange(ControllerType, QStringLiteral("EXP"), expFirst, expLast);
    for (int i = 0; i < SCZTable::Count; ++i) {
        const SCZRecord& zone = SCZArray(i);
        const int row = i + 1;
        grdSCZ->setTextMatrix(row, 0, QString::number(zone.ControlZoneIndex));
        grdSCZ->setTextMatrix(row, 1, zone.Name);
        grdSCZ->setTextMatrix(row, 2, timeZones.LookupGenericTZName(zone.TimeZoneId));
        grdSCZ->setTextMatrix(row, tag, zone.Tag ? Mark : QString());
        grdSCZ->setTextMatrix(row, alert, zone.Alert ? Mark : QString());
        for (int c = baseFirst; c <= baseLast; ++c) grdSCZ->setTextMatrix(row, c, zone.Relay[c - baseFirst + 1] ? Mark : QString());
        for (int c = expFirst; c <= expLast; ++c) grdSCZ->setTextMatrix(row, c, zone.ExpRelay[c - expFirst + 1] ? Mark : QString());
    }
}

void SCZGridEvents::grdSCZ_MouseDown() {
    controls::FlexGrid* grid = p_.editors.grdSCZ;
    // Right-clicked cells and the fixed name column become current too.
    grid->setRow(grid->mouseRow());
    grid->setCol(grid->mouseCol());
}

void SCZGridEvents::grdSCZ_MouseUp(Qt::MouseButton button, double xTwips, double yTwips) {
    controls::FlexGrid* grid = p_.editors.grdSCZ;
    const bool right = button == Qt::RightButton;
    if (right && grid->col() >= 3 && grid->row() >= 2) {
        const QPoint at(controls::twipsToPixelsX(grid, xTwips), controls::twipsToPixelsY(grid, yTwips));
        p_.popup->popup(grid->mapToGlobal(at));
    }
    rightClick_ = right;
}

void SCZGridEvents::grdSCZ_Click() {
    if (rightClick_) return;  // the click of a right-button release
    controls::FlexGrid* grid = p_.editors.grdSCZ;
    if (grid->col() >= 1 && grid->row() >= 2) p_.highlighter.HighlightRow(p_.ctx, p_.edit, grid, true);
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

void SCZGridEvents::grdSCZ_LeaveCell() {
    if (leavingCell_) return;
    leavingCell_ = true;
    p_.leaveCellEdit();
    leavingCell_ = false;
}

void SCZGridEvents::grdSCZ_Scroll() { p_.leaveCellEdit(); }

void SCZGridEvents::UpdateSCZArrayToggles() {
    ErrorTrap step = ErrorTrap::showAndEnd(p_.ctx, QStringLiteral("frmMain.UpdateSCZArrayToggles"));
    controls::FlexGrid* grid = p_.editors.grdSCZ;
    step([&] { ToggleSCZColumn(p_.SCZArray(grid->row() - 1), p_.ControllerType, grid->col()); });
}

void SCZGridEvents::ShowSCZDropDown() {
    using namespace controls;
    FlexGrid* grid = p_.editors.grdSCZ;
    p_.edit.EditMode = InCellEditor::TimeZoneList;
    p_.edit.EditRow = static_cast<qint16>(grid->mouseRow());
    p_.edit.EditCol = static_cast<qint16>(grid->mouseCol());
    PlaceDropDownButton(p_.editors.cmdDropDown, grid, twipsTop(grid) + twipsTop(p_.editors.SSTab1), twipsLeft(grid) + twipsLeft(p_.editors.SSTab1));
}

void SCZGridEvents::BeginSCZNameEdit() {
    using namespace controls;
    FlexGrid* grid = p_.editors.grdSCZ;
    TextBox* box = p_.editors.txtText;
    p_.SCZCellEdited = true;
    p_.edit.EditMode = InCellEditor::NameBox;
    p_.edit.EditRow = static_cast<qint16>(grid->row());
    p_.edit.EditCol = static_cast<qint16>(grid->col());
    setTwipsHeight(box, grid->cellHeight() - 20);
    setTwipsWidth(box, grid->cellWidth() - 50);
    setTwipsTop(box, twipsTop(grid) + twipsTop(p_.editors.SSTab1) + grid->cellTop() + 20);
    setTwipsLeft(box, twipsLeft(grid) + twipsLeft(p_.editors.SSTab1) + grid->cellLeft() + 50);
    box->setText(grid->text());
    box->setSelection(0, static_cast<int>(box->text().size()));
    box->raise();
    box->show();
    box->setFocus();
}

void SCZGridEvents::mnuSCZPopupChild_Click(int index) {
    LaunchFromSCZPopup(LaunchContext{p_.ctx, p_.ControllerType, p_.dialog, p_.window}, index, static_cast<qint16>(p_.editors.grdSCZ->col()));
}

}  // namespace cz
