#pragma once
// In-place editing shared by both grids: the edit state, the row highlight,
// the drop-down button and its lists, the name box's filters, and closing
// whatever editor is open.
#include "diagnostics/HostContext.h"

class QLineEdit;
class QPushButton;
class QWidget;

namespace controls {
class FlexGrid;
class ListBox;
class TextBox;
}  // namespace controls

namespace cz {

class SCZTable;

// Which in-cell editor was shown last; never cleared by closing it.
enum class InCellEditor : qint32 { None = 0, TimeZoneList = 1, ZoneList = 2, NameBox = 3 };

struct EditState {
    InCellEditor EditMode = InCellEditor::None;
    qint16 EditRow = 0;  // 0 until an editor has been shown
    qint16 EditCol = 0;
    bool InitializingSCZGrid = false;
    bool InitializingMCZGrid = false;
    bool HighlightingRow = false;
};

// The editors, and the containers their places are measured from.
struct InCellEditors {
    controls::FlexGrid* grdSCZ;
    controls::FlexGrid* grdMCZ;
    controls::TextBox* txtText;
    QPushButton* cmdDropDown;
    controls::ListBox* lstTimeZones;
    controls::ListBox* lstStdControlZones;
    QWidget* SSTab1;
    QWidget* SSSplitter1;
    QWidget* frmMCZContainer;
};

// Paints the current row of a grid in the selection colours (or back in the
// normal ones), only when row or state differ from what it painted last for
// that grid. Its memory belongs to one load: the grids die with the window.
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

// Puts the square drop-down button at the right end of the grid's current
// cell; (top, left) is where the grid's cell coordinates start in the dialog,
// in twips, and `shift` moves the button right.
void PlaceDropDownButton(QPushButton* button, controls::FlexGrid* grid, double top, double left, double shift = 0);
// The drop-down button's click: opens the pick list of the editor shown last
// under its cell.
void cmdDropDown_Click(const EditState& state, const InCellEditors& editors);

// Name boxes take neither "%" nor ",".
void RefuseNameCharacters(QWidget* box);
// Removes every "," (a pasted one) and puts the cursor at the end; true when it did.
bool RemoveCommas(QLineEdit* box);

}  // namespace cz
