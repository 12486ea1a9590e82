#include "diagnostics/HostContext.h"

#include "platform/automation/AutomationError.h"

namespace cz {

database::Connection* HostContext::db() const {
    QObject* o = m_DBConnection.get();
    if (!o) automation::raise(automation::err::ObjectNotSet, QStringLiteral("no database connection"));
    auto* c = qobject_cast<database::Connection*>(o);
    if (!c) automation::raise(automation::err::TypeMismatch, QStringLiteral("DBConnection is not a Connection"));
    return c;
}

}  // namespace cz
