#include "standard_zones/ColumnLayout.h"

namespace cz {

qint16 BaseRelayCount(qint32 ControllerType) {
    switch (ControllerType) {
    case 3:
    case 7:
    case 11: return 4;
    case 4:
    case 15: return 8;
    case 8: return 1;
    case 9: return 2;
    default: return 0;
    }
}

void GetColumnRange(qint32 ControllerType, const QString& GroupName, qint16& First, qint16& Last) {
    const qint16 n = BaseRelayCount(ControllerType);
    if (GroupName == QLatin1String("BASE")) {
        First = 3;
        Last = n + 2;
    } else if (GroupName == QLatin1String("EXP")) {
        First = n + 3;
        Last = n + 66;
    } else if (GroupName == QLatin1String("TAG")) {
        First = Last = n + 67;
    } else if (GroupName == QLatin1String("ALERT")) {
        First = Last = n + 68;
    }
}

void GetMCZColumnRange(qint32 ControllerType, const QString& GroupName, qint16& First, qint16& Last) {
    qint16 first = First + 1, last = Last + 1;  // unchanged for an unknown group
    GetColumnRange(ControllerType, GroupName, first, last);
    First = first - 1;
    Last = last - 1;
}

}  // namespace cz
