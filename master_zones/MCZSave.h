#pragma once
// Writing the changed master control zones back to the host's database when
// the dialog is confirmed, after the standard zones and in a host transaction
// of its own: one row update, one download command and one event per changed
// zone.
#include "diagnostics/HostContext.h"
#include "platform/automation/Dispatch.h"

namespace cz {

class MCZTable;
class TimeZones;

// Writes every record marked Changed whose row the master zone procedure
// returns, in the procedure's row order; the Changed flags stay as they are.
// Unlike the standard save there is no time zone pass over every row: a
// zone's time zone gets its controller number when that zone is written.
// Failures go to the host's error log ("SaveMCZData"): the transaction is
// ended there and m_ControllerObject dropped, and the save goes on with its
// next step. m_ControllerObject is empty afterwards.
void SaveMCZData(const HostContext& ctx, TimeZones& timeZones, const MCZTable& MCZArray, automation::ObjectRef& m_ControllerObject);

}  // namespace cz
