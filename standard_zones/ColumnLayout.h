#pragma once
// The relay column layout both zone grids share, by controller type: the base
// relays of the controller's own board, 64 expansion relays, then TAG and
// ALERT (standard grid only). The master grid has no time zone column, so its
// columns are the standard grid's shifted one to the left.
#include <QString>
#include <QtGlobal>

namespace cz {

qint16 BaseRelayCount(qint32 ControllerType);

// First and last column of a group ("BASE", "EXP", "TAG", "ALERT") in grdSCZ;
// any other group leaves both unchanged. Last < First for "BASE" without base relays.
void GetColumnRange(qint32 ControllerType, const QString& GroupName, qint16& First, qint16& Last);
// The same group's columns in grdMCZ.
void GetMCZColumnRange(qint32 ControllerType, const QString& GroupName, qint16& First, qint16& Last);

}  // namespace cz
