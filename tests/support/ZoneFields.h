#pragma once
// Every field of a zone record as one comparable tuple.
#include "master_zones/MCZRecords.h"
#include "standard_zones/SCZRecords.h"

#include <tuple>

namespace testsupport {

inline auto fieldsOf(const cz::SCZRecord& r) {
    return std::tie(r.ControlZoneIndex, r.Name, r.Defined, r.Tag, r.Alert, r.TimeZoneId, r.Relay, r.ExpRelay, r.Changed);
}
inline auto fieldsOf(const cz::MCZRecord& r) {
    return std::tie(r.MasterControlZoneIndex, r.Changed, r.Name, r.Description, r.Defined, r.TimeZoneId, r.LinkedZone, r.DoorGroupID,
                    r.SecurityLevel, r.Tag, r.Alert, r.GlobalId, r.GlobalOut, r.Actions);
}

}  // namespace testsupport
