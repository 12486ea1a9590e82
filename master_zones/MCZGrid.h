#pragma once
// The master zone actions grid: one row per action of the shown master zone,
// with the standard zone the action uses and that zone's relay marks.
#include "diagnostics/HostContext.h"

#include <functional>

#include "master_zones/InCellEditing.h"

#include <functional>

class QObject;
class QWidget;

namespace controls {
class FlexGrid;
}

namespace cz {

class SCZTable;
class MCZTable;

// Headers, widths, the action names from the database; failures go to the
// host's log as "Initialize MCZ grid" and the set-up goes on.
void InitializeMCZGrid(const HostContext& ctx, controls::FlexGrid* grdMCZ, qint32 ControllerType, bool& InitializingMCZGrid,
                       const std::function<void()>& centerDirections);

// Shows standard zone SCZ (0..191) in action row Row (1..21); a failure shows the error box.
void UpdateMCZSCZDefinition(const HostContext& ctx, controls::FlexGrid* grdMCZ, const SCZTable& SCZArray, qint32 ControllerType,
                            qint16 Row, qint16 SCZ);
// Redraws rows 1..21 from the actions of master zone MCZ.
void UpdateALLMCZSCZDefinitions(const HostContext& ctx, controls::FlexGrid* grdMCZ, const SCZTable& SCZArray, const MCZTable& MCZArray,
                                qint32 ControllerType, quint8 MCZ);

// The grid's event handlers: the zone picked for an action under its cell,
// and double-clicks that open the object behind a relay cell.
class MCZGridEvents {
public:
    struct Pieces {
        const HostContext& ctx;
        const InCellEditors& editors;
        QObject* dialog;  // handed to launched components as "Parent"
        QWidget* window;  // takes no input while a launched component's dialog is open
        EditState& edit;
        RowHighlighter& highlighter;
        const SCZTable& SCZArray;
        MCZTable& MCZArray;
        const quint8& CurrentMCZ;
        const qint32& ControllerType;
    };
    explicit MCZGridEvents(Pieces pieces) : p_(std::move(pieces)) {}

    void grdMCZ_Click();
    void grdMCZ_DblClick();
    void ShowMCZDropDown();
    void lstStdControlZones_Click();

private:
    Pieces p_;
};

}  // namespace cz
