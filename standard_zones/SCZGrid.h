#pragma once
// The standard zone grid: its column layout and its filling from the table.
#include "diagnostics/HostContext.h"

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

}  // namespace cz
