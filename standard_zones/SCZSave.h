#pragma once
// Writing the changed standard control zones back to the host's database when
// the dialog is confirmed, inside one host transaction: one row update, one
// download command and one event per changed zone.
#include "diagnostics/HostContext.h"
#include "platform/automation/Dispatch.h"

namespace cz {

class SCZTable;
class TimeZones;

// Writes every record marked Changed whose row the zone procedure returns, in
// the procedure's row order; the Changed flags stay as they are. Failures go
// to the host's error log (empty location): the transaction is ended there and
// m_ControllerObject dropped, and the save goes on with its next step.
// m_ControllerObject is the dialog's; it holds the host's controller object
// while the save runs and is empty afterwards.
void SaveSCZData(const HostContext& ctx, TimeZones& timeZones, const SCZTable& SCZArray, automation::ObjectRef& m_ControllerObject);

}  // namespace cz
