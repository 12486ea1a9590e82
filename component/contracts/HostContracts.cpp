#include "component/contracts/HostContracts.h"

#include "platform/automation/Convert.h"
#include "platform/automation/ErrObject.h"
#include "platform/automation/Registry.h"

namespace cz::host {

using automation::fromObject;

qint32 hwnd(const ObjectRef& parent) { return automation::toInt32(parent.get(QStringLiteral("hwnd"))); }

void setEnabled(const ObjectRef& parent, bool enabled) { parent.set(QStringLiteral("Enabled"), enabled); }

void CZCallback(const ObjectRef& parent, const QString& closeReason, const QString& cellEdited) {
    QVariantList args{closeReason, cellEdited};
    parent.callByRef(QStringLiteral("CZCallback"), args);
}

ObjectRef Security(const ObjectRef& nt) { return nt.getObject(QStringLiteral("Security")); }

QString GRS(const ObjectRef& nt, qint16 resourceId, const QStringList& inserts) {
    QVariantList args{QVariant::fromValue(resourceId)};
    for (int i = 0; i < 9; ++i) args.append(i < inserts.size() ? inserts[i] : QString(QLatin1String("")));
    return automation::toText(nt.callByRef(QStringLiteral("GRS"), args));
}

void LogError(const ObjectRef& nt, const QVariant& controllerId, const automation::AutomationError& error,
              const QString& location, const QVariant& line) {
    automation::ErrObject err(error);
    QVariantList args{controllerId, fromObject(&err), location, line, QVariant::fromValue(qint16(0))};
    nt.callByRef(QStringLiteral("LogError"), args);
}

void ShowHelp(const ObjectRef& nt, qint16 topic) { nt.call(QStringLiteral("ShowHelp"), {QVariant::fromValue(topic)}); }

bool EnableCustomize(const ObjectRef& nt) { return automation::toBool(nt.get(QStringLiteral("EnableCustomize"))); }

void BeginTran(const ObjectRef& nt) { nt.call(QStringLiteral("BeginTran")); }
void Endtran(const ObjectRef& nt) { nt.call(QStringLiteral("Endtran")); }

ObjectRef ControllersAdd(const ObjectRef& nt, qint32 controllerId) {
    ObjectRef controllers = nt.getObject(QStringLiteral("Controllers"));
    QVariantList args{QVariant::fromValue(controllerId)};
    QObject* controller = automation::toObject(controllers.callByRef(QStringLiteral("Add"), args));
    if (!controller) automation::raise(automation::err::ObjectRequired, QStringLiteral("Controllers.Add returned no controller"));
    return ObjectRef::borrowed(controller);
}

void CommandSetsAdd(const ObjectRef& controller, const QString& commandSet, const QVariant& rowId) {
    ObjectRef sets = controller.getObject(QStringLiteral("CommandSets"));
    QVariantList args{commandSet, rowId};
    sets.callByRef(QStringLiteral("Add"), args);
}

void LogEvent(const ObjectRef& nt, const QString& eventText, const QString& objectKind, const QVariant& rowId,
              const QString& description, qint16 eventCode) {
    QVariantList args{eventText, objectKind, rowId, description, QVariant::fromValue(eventCode)};
    nt.callByRef(QStringLiteral("LogEvent"), args);
}

void setComponentType(const ObjectRef& security, qint16 componentType) {
    security.set(QStringLiteral("ComponentType"), QVariant::fromValue(componentType));
}

bool CanView(const ObjectRef& security) { return automation::toBool(security.get(QStringLiteral("CanView"))); }
bool CanSave(const ObjectRef& security) { return automation::toBool(security.get(QStringLiteral("CanSave"))); }
ObjectRef SubPermissions(const ObjectRef& security) { return security.getObject(QStringLiteral("SubPermissions")); }

bool SubPermissionCanView(const ObjectRef& subPermissions, const QString& tabCaption) {
    QVariantList args{tabCaption};
    QObject* entry = automation::toObject(automation::callDefault(subPermissions.get(), args));
    if (!entry) automation::raise(automation::err::ObjectRequired, QStringLiteral("no permission entry for '%1'").arg(tabCaption));
    return automation::toBool(automation::getProperty(entry, QStringLiteral("CanView")));
}

ObjectRef create(const QString& progId) { return automation::Registry::create(progId); }

void setProperty(const ObjectRef& component, const QString& property, const QVariant& value) { component.set(property, value); }

void RaiseForm(const ObjectRef& component) { component.call(QStringLiteral("RaiseForm")); }

void AddNew(const ObjectRef& timeZoneObject) { timeZoneObject.call(QStringLiteral("AddNew")); }

bool SyncTZToController(const ObjectRef& timeZoneObject, qint32 controllerId, qint32 genericTZId, quint8& panelTZ) {
    QVariantList args{QVariant::fromValue(controllerId), QVariant::fromValue(genericTZId), QVariant::fromValue(panelTZ)};
    const bool ok = automation::toBool(timeZoneObject.callByRef(QStringLiteral("SyncTZToController"), args));
    if (ok) panelTZ = automation::toUInt8(args[2]);
    return ok;
}

void LocalizerConnection(const ObjectRef& localizer, QObject* connection) {
    localizer.set(QStringLiteral("LocalizerConnection"), fromObject(connection));
}
void LocalizerComponentNumber(const ObjectRef& localizer, qint32 number) {
    localizer.set(QStringLiteral("LocalizerComponentNumber"), QVariant::fromValue(number));
}
void LocalizerVersion(const ObjectRef& localizer, const QString& version) { localizer.set(QStringLiteral("LocalizerVersion"), version); }
void LocalizerApply(const ObjectRef& localizer) { localizer.call(QStringLiteral("LocalizerApply")); }
void LocalizerEnabled(const ObjectRef& localizer, bool enabled) { localizer.set(QStringLiteral("LocalizerEnabled"), enabled); }
void LocalizerSelectControl(const ObjectRef& localizer, QObject* control, QObject* sizingFrame) {
    localizer.call(QStringLiteral("LocalizerSelectControl"), {fromObject(control), fromObject(sizingFrame)});
}
void LocalizerSelectLabel(const ObjectRef& localizer, QObject* label, QObject* sizingFrame) {
    localizer.call(QStringLiteral("LocalizerSelectLabel"), {fromObject(label), fromObject(sizingFrame)});
}
QObject* LocalizerTargetChanged(const ObjectRef& localizer, QObject* sizingFrame, QObject* target) {
    QVariantList args{fromObject(sizingFrame), fromObject(target)};
    localizer.callByRef(QStringLiteral("LocalizerTargetChanged"), args);
    return automation::toObject(args[1]);
}
void LocalizerRelease(const ObjectRef& localizer, qint32 windowHandle) {
    localizer.call(QStringLiteral("LocalizerRelease"), {QVariant::fromValue(windowHandle)});
}
void LocalizerEnd(const ObjectRef& localizer) { localizer.call(QStringLiteral("LocalizerEnd")); }

}  // namespace cz::host
