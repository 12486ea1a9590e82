#pragma once
// In-place editing shared by both grids: the edit state, the row highlight,
// and closing whatever editor is open.
#include "diagnostics/HostContext.h"

class QLineEdit;
class QPushButton;

namespace controls {
class FlexGrid;
class ListBox;
}  // namespace controls

namespace cz {

class SCZTable;

struct EditState {
    qint32 EditMode = 0;  // 0 none yet, 1 time zone list, 2 zone list (master grid), 3 name box
    qint16 EditRow = 0;
    qint16 EditCol = 0;
    bool InitializingSCZGrid = false;
    bool InitializingMCZGrid = false;
    bool HighlightingRow = false;
};

struct InCellEditors {
    controls::FlexGrid* grdSCZ;
    controls::FlexGrid* grdMCZ;
    QLineEdit* txtText;
    QPushButton* cmdDropDown;
    controls::ListBox* lstTimeZones;
    controls::ListBox* lstStdControlZones;
};

// Paints the current row of a grid in the selection colours (or back in the
// normal ones), only when row or state differ from what it painted last.
class RowHighlighter {
public:
    void HighlightRow(const HostContext& ctx, EditState& state, controls::FlexGrid* grid, bool On);

private:
    struct Painted {
        const controls::FlexGrid* grid = nullptr;
        qint32 row = 0;
        bool on = false;
    };
    Painted& last(const controls::FlexGrid* grid);
    Painted painted_[2];
};

// Closes the open editor of either grid and removes both row highlights; a
// name being edited is written back into its cell and zone.
void LeaveCellEdit(const HostContext& ctx, EditState& state, RowHighlighter& highlighter, const InCellEditors& editors, SCZTable& SCZArray);

}  // namespace cz
