#include "master_zones/InCellEditing.h"

#include "diagnostics/ErrorTrap.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/KeyPress.h"
#include "platform/controls/ListControls.h"
#include "platform/controls/TextBox.h"
#include "platform/controls/Twips.h"
#include "standard_zones/SCZRecords.h"

#include <QPushButton>

namespace cz {

RowHighlighter::Painted& RowHighlighter::last(const controls::FlexGrid* grid) {
    for (Painted& p : painted_)
        if (p.grid == grid) return p;
    for (Painted& p : painted_)
        if (!p.grid) {
            p.grid = grid;
            return p;
        }
    // A third grid: reuse the first slot (the dialog has two).
    painted_[0] = Painted{grid};
    return painted_[0];
}

void RowHighlighter::HighlightRow(const HostContext& ctx, EditState& state, controls::FlexGrid* grid, bool On) {
    if (grid->row() == 0) return;
    Painted& p = last(grid);
    if (p.row == grid->row() && p.on == On) return;
    p.row = grid->row();
    p.on = On;
    // One call colours the row and repaints it once: the current cell stays
    // where it is, the grid keeps the focus, and no half-painted row is seen.
    state.HighlightingRow = true;
    ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.HighlightRow"))([&] {
        grid->setRowColors(grid->row(), 1, On ? grid->backColorSel() : grid->backColor(), On ? grid->foreColorSel() : grid->foreColor());
    });
    state.HighlightingRow = false;
}

void LeaveCellEdit(const HostContext& ctx, EditState& state, RowHighlighter& highlighter, const InCellEditors& editors, SCZTable& SCZArray) {
    if (state.HighlightingRow || state.InitializingSCZGrid || state.InitializingMCZGrid) return;
    ErrorTrap step = ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.LeaveCellEdit"));
    step([&] { highlighter.HighlightRow(ctx, state, editors.grdSCZ, false); });
    step([&] { highlighter.HighlightRow(ctx, state, editors.grdMCZ, false); });
    if (step.ended() || state.EditRow == 0) return;
    switch (state.EditMode) {
    case InCellEditor::TimeZoneList:
        step([&] { editors.cmdDropDown->hide(); });
        step([&] { editors.lstTimeZones->hide(); });
        break;
    case InCellEditor::ZoneList:
        step([&] { editors.cmdDropDown->hide(); });
        step([&] { editors.lstStdControlZones->hide(); });
        break;
    case InCellEditor::NameBox:
        // Every call while the name box is the last editor writes its text back.
        step([&] { editors.grdSCZ->setTextMatrix(state.EditRow, state.EditCol, editors.txtText->text()); });
        step([&] { SCZArray(state.EditRow - 1).Name = editors.txtText->text(); });
        step([&] { SCZArray(state.EditRow - 1).Changed = true; });
        step([&] { editors.txtText->hide(); });
        break;
    case InCellEditor::None: break;
    }
}

void PlaceDropDownButton(QPushButton* button, controls::FlexGrid* grid, double top, double left, double shift) {
    using namespace controls;
    const double side = grid->cellHeight();
    setTwipsHeight(button, side);
    setTwipsWidth(button, side);
    setTwipsTop(button, top + grid->cellTop());
    setTwipsLeft(button, left + grid->cellLeft() + grid->cellWidth() - twipsWidth(button) + shift);
    button->raise();
    button->show();
}

void cmdDropDown_Click(const EditState& state, const InCellEditors& e) {
    using namespace controls;
    // Four cells high, as wide as the cell, right under it.
    auto open = [](ListBox* list, FlexGrid* grid, double top, double left) {
        setTwipsTop(list, top);
        setTwipsLeft(list, left);
        setTwipsWidth(list, grid->cellWidth());
        setTwipsHeight(list, 4 * grid->cellHeight());
        list->raise();
        list->show();
    };
    if (state.EditMode == InCellEditor::ZoneList) {
        FlexGrid* grid = e.grdMCZ;
        const double top = twipsTop(e.SSTab1) + twipsTop(e.SSSplitter1) + twipsTop(e.frmMCZContainer) + twipsTop(grid);
        const double left = twipsLeft(e.SSTab1) + twipsLeft(e.SSSplitter1) + twipsLeft(e.frmMCZContainer) + twipsLeft(grid);
        open(e.lstStdControlZones, grid, top + grid->cellTop() + grid->cellHeight(), left + grid->cellLeft());
    } else if (state.EditMode == InCellEditor::TimeZoneList) {
        FlexGrid* grid = e.grdSCZ;
        open(e.lstTimeZones, grid, twipsTop(e.cmdDropDown) + twipsHeight(e.cmdDropDown), twipsLeft(e.SSTab1) + twipsLeft(grid) + grid->cellLeft());
    }
}

void RefuseNameCharacters(QWidget* box) {
    constexpr int Percent = 37, Comma = 44;
    controls::onKeyPress(box, [](int key) { return key != Percent && key != Comma; });
}

bool RemoveCommas(QLineEdit* box) {
    if (!box->text().contains(QLatin1Char(','))) return false;
    QString text = box->text();
    text.remove(QLatin1Char(','));
    box->setText(text);
    box->setCursorPosition(static_cast<int>(text.size()));
    return true;
}

}  // namespace cz
