#pragma once
// What the host hands to the dialog: its host object, its database connection,
// its communication object and the controller being edited. The dialog keeps
// these as its public variables; every operation below the dialog reaches the
// host through them.
#include "platform/automation/Dispatch.h"
#include "platform/database/Connection.h"

#include <qglobal.h>

namespace cz {

struct HostContext {
    automation::ObjectRef m_Parent;
    automation::ObjectRef m_DBConnection;
    automation::ObjectRef m_NTConnection;
    qint32 m_ControllerId = 0;

    // The connection as the database layer's object; raises when none was handed over.
    database::Connection* db() const;
};

}  // namespace cz
