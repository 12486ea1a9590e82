#pragma once
// Events of late-bound objects: a handler is attached to a signal found by
// its name alone, as an event sink of the original platform was.
#include <QObject>
#include <QString>
#include <functional>

namespace automation {

// Calls `handler` whenever `source` raises the named event (a signal without
// arguments, or whose arguments the handler ignores). The connection ends
// with `owner`. Raises error 438 when the source has no such event.
void connectEvent(QObject* source, const QString& eventName, QObject* owner, std::function<void()> handler);

namespace detail {
// The receiving end of one event connection.
class EventSink : public QObject {
    Q_OBJECT
public:
    EventSink(std::function<void()> handler, QObject* owner) : QObject(owner), handler_(std::move(handler)) {}
public slots:
    void fire() { handler_(); }

private:
    std::function<void()> handler_;
};
}  // namespace detail

}  // namespace automation
