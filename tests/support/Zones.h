#pragma once
// The columns of the two zone procedures, spelled as the component reads
// them; every field of a zone record as one comparable tuple; relay flags for
// records written as designated initializers.
#include "master_zones/MCZRecords.h"
#include "standard_zones/SCZRecords.h"

#include <QStringList>
#include <array>
#include <initializer_list>
#include <tuple>

namespace testsupport {

inline QStringList actionColumns() {
    return {"trigger",   "Clear",     "mask",          "unmask",         "Unlock",       "relock",     "force_on",
            "force_on_rel", "force_off", "force_off_rel", "lock_down", "lock_down_rel", "lock_open", "lock_open_rel",
            "annunc_keypads", "entry_cancel", "exit_start", "unmaskif", "farm", "LEDOn", "LEDOff"};
}
inline QStringList standardZoneColumns() {
    QStringList c{"ControllerControlZoneId", "ControlZoneIndex", "name", "Defined", "tag", "alert", "TZ_PRED"};
    for (int k = 1; k <= 8; ++k) c << QStringLiteral("ry%1").arg(k);
    for (int k = 1; k <= 64; ++k) c << QStringLiteral("xry%1").arg(k);
    return c;
}
inline QStringList masterZoneColumns() {
    return QStringList{"ControllerMasterControlZoneID", "MasterControlZoneIndex", "name", "Description", "Defined", "TZ_PRED", "LinkedZone",
                       "DoorGroupID", "SecurityLevel", "tag", "alert", "globid", "globout"} +
           actionColumns();
}
// Lower case and quoted, for statements of both engines ("trigger" is a keyword).
inline QStringList quoted(QStringList columns) {
    for (QString& c : columns) c = QLatin1Char('"') + c.toLower() + QLatin1Char('"');
    return columns;
}

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
