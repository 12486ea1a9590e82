#pragma once
// Creation by programmatic identifier, process-wide. A host registers the
// classes it provides (its stand-ins for sibling components); the component
// creates them by name without knowing where they live. Identifiers that are
// not registered in-process are looked up in the registration file, where
// in-process servers record their classes, and created through the server's
// entry points.
#include "platform/automation/Dispatch.h"

#include <QString>
#include <functional>

namespace automation {

class Registry {
public:
    using Factory = std::function<QObject*()>;

    static void registerClass(const QString& progId, Factory factory);
    static void unregisterClass(const QString& progId);
    static bool isRegistered(const QString& progId);

    // The new object is owned by the returned reference. Unknown identifiers
    // and failing factories raise error 429.
    static ObjectRef create(const QString& progId);
};

}  // namespace automation
