#include "master_zones/InCellEditing.h"

#include "diagnostics/ErrorTrap.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/ListControls.h"
#include "standard_zones/SCZRecords.h"

#include <QLineEdit>
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
    ErrorTrap step = ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.HighlightRow"));
    const int column = grid->col();
    // The grid's painting is frozen, not the grid hidden: hiding it would move
    // the keyboard focus to the next button, where Space presses it. Whatever
    // fails, painting and the guard are restored, so later edits still close.
    const bool painting = grid->updatesEnabled();
    step.afterReport([&] {
        grid->setUpdatesEnabled(painting);
        state.HighlightingRow = false;
    });
    step([&] {
        state.HighlightingRow = true;
        grid->setUpdatesEnabled(false);
    });
    for (int c = 1; c < grid->cols(); ++c)
        step([&] {
            grid->setCol(c);
            grid->setCellBackColor(On ? grid->backColorSel() : grid->backColor());
            grid->setCellForeColor(On ? grid->foreColorSel() : grid->foreColor());
        });
    step([&] {
        grid->setCol(column);
        grid->setUpdatesEnabled(painting);
        state.HighlightingRow = false;
    });
}

void LeaveCellEdit(const HostContext& ctx, EditState& state, RowHighlighter& highlighter, const InCellEditors& editors, SCZTable& SCZArray) {
    if (state.HighlightingRow || state.InitializingSCZGrid || state.InitializingMCZGrid) return;
    ErrorTrap step = ErrorTrap::showAndEnd(ctx, QStringLiteral("frmMain.LeaveCellEdit"));
    step([&] { highlighter.HighlightRow(ctx, state, editors.grdSCZ, false); });
    step([&] { highlighter.HighlightRow(ctx, state, editors.grdMCZ, false); });
    if (step.ended() || state.EditRow == 0) return;
    switch (state.EditMode) {
    case 1:
        step([&] { editors.cmdDropDown->hide(); });
        step([&] { editors.lstTimeZones->hide(); });
        break;
    case 2:
        step([&] { editors.cmdDropDown->hide(); });
        step([&] { editors.lstStdControlZones->hide(); });
        break;
    case 3:
        // Every call while the name box is the last editor writes its text back.
        step([&] { editors.grdSCZ->setTextMatrix(state.EditRow, state.EditCol, editors.txtText->text()); });
        step([&] { SCZArray(state.EditRow - 1).Name = editors.txtText->text(); });
        step([&] { SCZArray(state.EditRow - 1).Changed = true; });
        step([&] { editors.txtText->hide(); });
        break;
    default: break;
    }
}

}  // namespace cz
