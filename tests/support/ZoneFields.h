#pragma once
// Every field of a zone record as one comparable tuple; relay flags for records
// written as designated initializers.
#include "master_zones/MCZRecords.h"
#include "standard_zones/SCZRecords.h"

#include <array>
#include <initializer_list>
#include <tuple>

namespace testsupport {

inline auto fieldsOf(const cz::SCZRecord& r) {
    return std::tie(r.ControlZoneIndex, r.Name, r.Defined, r.Tag, r.Alert, r.TimeZoneId, r.Relay, r.ExpRelay, r.Changed);
}
inline auto fieldsOf(const cz::MCZRecord& r) {
    return std::tie(r.MasterControlZoneIndex, r.Changed, r.Name, r.Description, r.Defined, r.TimeZoneId, r.LinkedZone, r.DoorGroupID,
                    r.SecurityLevel, r.Tag, r.Alert, r.GlobalId, r.GlobalOut, r.Actions);
}
// N flags, those at `on` set.
template <std::size_t N>
std::array<bool, N> relays(std::initializer_list<int> on) {
    std::array<bool, N> r{};
    for (int k : on) r[k] = true;
    return r;
}

}  // namespace testsupport
