#pragma once
// Every call the component makes on objects it does not know at compile time:
// the host object, the host's communication object and what it hands out, the
// sibling components and the localizer. One function per operation, with the
// member name and argument order the host relies on; the calls are late-bound
// underneath, so any host whose objects have members of these names works.
#include "platform/automation/AutomationError.h"
#include "platform/automation/Dispatch.h"

#include <QString>
#include <QStringList>
#include <QVariant>

namespace cz::host {

using automation::ObjectRef;

// Programmatic identifiers of the sibling components.
namespace progid {
inline const QString TimeZone = QStringLiteral("TimeZoneObject.TamrikTimeZone");
inline const QString DoorGroup = QStringLiteral("DoorGroups.TamrikDoorgroup");
inline const QString Door = QStringLiteral("DoorObject.TamrikDoor");
inline const QString Output = QStringLiteral("OutputObject.TamrikOutput");
inline const QString ExpOutput = QStringLiteral("ExpOutputObject.TamrikExpOutput");
inline const QString Input = QStringLiteral("InputObject.TamrikInput");
inline const QString ExpInput = QStringLiteral("ExpInputObject.TamrikExpInput");
inline const QString Reader = QStringLiteral("ReaderObject.Tamrikreader");
inline const QString Localizer = QStringLiteral("TamrikLocalizer.Localizer");
}  // namespace progid

// Host object ("Parent").
qint32 hwnd(const ObjectRef& parent);
void setEnabled(const ObjectRef& parent, bool enabled);
void CZCallback(const ObjectRef& parent, const QString& closeReason, const QString& cellEdited);

// Communication object ("NTConnection").
ObjectRef Security(const ObjectRef& nt);
QString GRS(const ObjectRef& nt, qint16 resourceId, const QStringList& inserts);
// controllerId and line keep the caller's types: the dialog passes a 32-bit id
// and the line as text, the resource-string function a 16-bit 0 and a number.
void LogError(const ObjectRef& nt, const QVariant& controllerId, const automation::AutomationError& error,
              const QString& location, const QVariant& line);
void ShowHelp(const ObjectRef& nt, qint16 topic);
bool EnableCustomize(const ObjectRef& nt);
void BeginTran(const ObjectRef& nt);
void Endtran(const ObjectRef& nt);
ObjectRef ControllersAdd(const ObjectRef& nt, qint32 controllerId);
void CommandSetsAdd(const ObjectRef& controller, const QString& commandSet, const QVariant& rowId);
void LogEvent(const ObjectRef& nt, const QString& eventText, const QString& objectKind, const QVariant& rowId,
              const QString& description, qint16 eventCode);

// Security object.
void setComponentType(const ObjectRef& security, qint16 componentType);
bool CanView(const ObjectRef& security);
bool CanSave(const ObjectRef& security);
ObjectRef SubPermissions(const ObjectRef& security);
// The collection's default member, keyed by tab caption, then "CanView".
bool SubPermissionCanView(const ObjectRef& subPermissions, const QString& tabCaption);

// Sibling components.
ObjectRef create(const QString& progId);
void setProperty(const ObjectRef& component, const QString& property, const QVariant& value);
void RaiseForm(const ObjectRef& component);
void AddNew(const ObjectRef& timeZoneObject);
// Writes the controller's number for the generic time zone into panelTZ.
bool SyncTZToController(const ObjectRef& timeZoneObject, qint32 controllerId, qint32 genericTZId, quint8& panelTZ);

// Localizer control.
void LocalizerConnection(const ObjectRef& localizer, QObject* connection);
void LocalizerComponentNumber(const ObjectRef& localizer, qint32 number);
void LocalizerVersion(const ObjectRef& localizer, const QString& version);
void LocalizerApply(const ObjectRef& localizer);
void LocalizerEnabled(const ObjectRef& localizer, bool enabled);
void LocalizerSelectControl(const ObjectRef& localizer, QObject* control, QObject* sizingFrame);
void LocalizerSelectLabel(const ObjectRef& localizer, QObject* label, QObject* sizingFrame);
QObject* LocalizerTargetChanged(const ObjectRef& localizer, QObject* sizingFrame, QObject* target);
void LocalizerRelease(const ObjectRef& localizer, qint32 windowHandle);
void LocalizerEnd(const ObjectRef& localizer);

}  // namespace cz::host
