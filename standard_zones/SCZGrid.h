#pragma once
// The standard zone grid: its column layout and its filling from the table.
#include "diagnostics/HostContext.h"

#include "master_zones/InCellEditing.h"

#include <functional>

class QMenu;
class QObject;

namespace controls {
class FlexGrid;
}

namespace cz {

class SCZTable;
class TimeZones;

// Sets up headers, widths and alignments for the controller type. Failures go
// to the host's log and the set-up goes on.
void InitializeSCZGrid(const HostContext& ctx, controls::FlexGrid* grdSCZ, qint32 ControllerType, bool& InitializingSCZGrid);
// Writes rows 1..192 from the table: number, name, time zone name, marks.
void FillSCZGrid(controls::FlexGrid* grdSCZ, const SCZTable& SCZArray, TimeZones& timeZones, qint32 ControllerType);

// The grid's event handlers: mark toggles, the name and time zone editors,
// and the pop-up menu that opens the object behind a relay cell.
class SCZGridEvents {
public:
    struct Pieces {
        const HostContext& ctx;
        const InCellEditors& editors;
        QMenu* popup;
        QObject* dialog;     // handed to launched components as "Parent"
        QWidget* window;     // takes no input while a launched component's dialog is open
        EditState& edit;
        RowHighlighter& highlighter;
        SCZTable& SCZArray;
        const qint32& ControllerType;
        bool& SCZCellEdited;
        std::function<void()> leaveCellEdit;
    };
    explicit SCZGridEvents(Pieces pieces) : p_(std::move(pieces)) {}

    void grdSCZ_MouseDown();
    void grdSCZ_MouseUp(Qt::MouseButton button, double xTwips, double yTwips);
    void grdSCZ_Click();
    void grdSCZ_LeaveCell();
    void grdSCZ_Scroll();
    void UpdateSCZArrayToggles();
    void ShowSCZDropDown();
    void BeginSCZNameEdit();
    // Entry `index` of the pop-up menu: 0 input, 1 relay, 2 reader.
    void mnuSCZPopupChild_Click(int index);

private:
    Pieces p_;
    // The last button released over the grid was the right one.
    bool rightClick_ = false;
    bool leavingCell_ = false;
};

}  // namespace cz
