#include "component/ControlZones.h"

#include "dialog/FrmMain.h"
#include "platform/automation/AutomationError.h"
#include "platform/database/Connection.h"

namespace cz {

ControlZones::ControlZones(QObject* parent) : QObject(parent) {}

QObject* ControlZones::writeOnlyObject() const { automation::raise(automation::err::PropertyWriteOnly); }
int ControlZones::writeOnlyInt() const { automation::raise(automation::err::PropertyWriteOnly); }

void ControlZones::setParentObject(QObject* newParent) { FrmMain::instance().m_Parent = automation::ObjectRef::borrowed(newParent); }

void ControlZones::setDBConnection(QObject* newConnection) {
    if (newConnection && !qobject_cast<database::Connection*>(newConnection))
        automation::raise(automation::err::TypeMismatch, QStringLiteral("DBConnection must be a Connection"));
    FrmMain::instance().m_DBConnection = automation::ObjectRef::borrowed(newConnection);
}

void ControlZones::setNTConnection(QObject* newNTConnection) {
    FrmMain::instance().m_NTConnection = automation::ObjectRef::borrowed(newNTConnection);
}

void ControlZones::setControlZoneType(int newCZType) { czType_ = newCZType; }

void ControlZones::RaiseForm(int& ControllerId) {
    FrmMain& form = FrmMain::instance();
    // While the dialog is open its tables belong to the controller it was opened for: a
    // second request only brings it forward, so a save can never write one controller's
    // zones into another's rows.
    if (form.isLoaded()) {
        form.Show();
        return;
    }
    form.m_ControllerId = ControllerId;
    form.Load();
    if (form.FormLoadCanceled) {
        form.Unload();
        return;
    }
    form.Show();
}

}  // namespace cz
