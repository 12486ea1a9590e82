#pragma once
// The columns of the two zone procedures, spelled as the component reads them.
#include <QStringList>

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

}  // namespace testsupport
