#pragma once
// Opening the property dialog of the hardware object behind a relay column of
// either zone grid: the column gives the object's number on the controller,
// the database gives its id (or its door's), and the sibling component made by
// programmatic identifier shows its own dialog. Columns are grdMCZ columns
// unless a function says otherwise (a grdSCZ column c is grdMCZ column c - 1).
#include "diagnostics/HostContext.h"

#include <QString>
#include <QtGlobal>

class QObject;
class QWidget;

namespace cz {

// What a launch needs from the dialog.
struct LaunchContext {
    const HostContext& host;   // connection, communication object, controller id
    qint32 ControllerType = 0;
    QObject* dialog = nullptr;  // handed to the component as "Parent"; its Callback ends the launch
    QWidget* window = nullptr;  // takes no input while the component's dialog is open
};

// The database id of an object as text: code "RY", "XRY", "INP", "XINP" or
// "RDR" and the object's number. "D" and a door id for a relay or input that
// belongs to a door; "0" when there is no row, for any other code, and after a
// database error (shown as "frmMain.GetComponentIdStr").
QString GetComponentIdStr(const HostContext& ctx, const QString& code, qint16 number);

// Base relay (or its door) or expansion relay; raised only for an id above 0.
// gridName "MCZ" takes the column as a grdMCZ column, anything else as grdSCZ.
void LaunchRelayObject(const LaunchContext& lc, qint16 column, const QString& gridName);
// Base input (or its door) or expansion input 1..32; raised even when no row
// was found (id 0). Controller type 3 has base inputs 1 and 2 only, type 7 no
// expansion inputs: those columns show a message instead.
void LaunchInputObject(const LaunchContext& lc, qint16 column);
// Readers 1..16 sit over the first 16 expansion columns; elsewhere a message.
void LaunchReaderObject(const LaunchContext& lc, qint16 column);

// kind "OUTPUT", "INPUT" or "READER", column one left of the grdMCZ column
// (the popup's grdSCZ column - 2); any other kind does nothing.
void LaunchComponent(const LaunchContext& lc, const QString& kind, qint16 column);
// Double-click on the master grid: the action row decides the kind.
void LaunchActionComponent(const LaunchContext& lc, qint16 row, qint16 column);
// Entry `index` of the standard grid's popup menu (0 input, 1 relay, 2 reader)
// over grdSCZ column `currentColumn`.
void LaunchFromSCZPopup(const LaunchContext& lc, int index, qint16 currentColumn);

}  // namespace cz
