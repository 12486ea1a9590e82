#include "platform/automation/Events.h"

#include "platform/automation/AutomationError.h"

#include <QMetaMethod>

namespace automation {

void connectEvent(QObject* source, const QString& eventName, QObject* owner, std::function<void()> handler) {
    if (!source) raise(err::ObjectNotSet, QStringLiteral("no object to take the event '%1' from").arg(eventName));
    const QMetaObject* mo = source->metaObject();
    for (int i = 0; i < mo->methodCount(); ++i) {
        const QMetaMethod m = mo->method(i);
        if (m.methodType() != QMetaMethod::Signal || QString::fromLatin1(m.name()).compare(eventName, Qt::CaseInsensitive) != 0) continue;
        auto* sink = new detail::EventSink(std::move(handler), owner);
        const QMetaMethod slot = sink->metaObject()->method(sink->metaObject()->indexOfSlot("fire()"));
        QObject::connect(source, m, sink, slot);
        return;
    }
    raise(err::MemberNotFound, QStringLiteral("%1 raises no event '%2'").arg(QString::fromLatin1(mo->className()), eventName));
}

}  // namespace automation
