#include "platform/automation/Registry.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/ComServer.h"
#include "platform/database/Connection.h"

#include <QHash>
#include <QMutex>

namespace automation {

namespace {

struct Classes {
    QMutex mutex;
    QHash<QString, Registry::Factory> byId;  // keys lower-case: identifiers are case-insensitive

    Classes() {
        // The platform's own creatable classes.
        byId.insert(QStringLiteral("adodb.connection"), [] { return static_cast<QObject*>(new database::Connection); });
    }
};

Classes& classes() {
    static Classes c;
    return c;
}

}  // namespace

void Registry::registerClass(const QString& progId, Factory factory) {
    QMutexLocker lock(&classes().mutex);
    classes().byId.insert(progId.toLower(), std::move(factory));
}

void Registry::unregisterClass(const QString& progId) {
    QMutexLocker lock(&classes().mutex);
    classes().byId.remove(progId.toLower());
}

bool Registry::isRegistered(const QString& progId) {
    QMutexLocker lock(&classes().mutex);
    return classes().byId.contains(progId.toLower());
}

ObjectRef Registry::create(const QString& progId) {
    Factory factory;
    {
        QMutexLocker lock(&classes().mutex);
        factory = classes().byId.value(progId.toLower());
    }
    QObject* obj = nullptr;
    if (factory) {
        try {
            obj = factory();
        } catch (const AutomationError& e) {
            throw AutomationError(err::CannotCreateObject, QStringLiteral("Cannot create object '%1': %2").arg(progId, e.description()));
        }
    } else {
        com::Registration reg;
        if (!com::lookupProgId(progId, &reg))
            raise(err::CannotCreateObject, QStringLiteral("no class is registered as '%1'").arg(progId));
        obj = com::createFromLibrary(reg.libraryPath, reg.clsid);
    }
    if (!obj) raise(err::CannotCreateObject, QStringLiteral("the factory of '%1' returned nothing").arg(progId));
    return ObjectRef::owned(obj);
}

}  // namespace automation
