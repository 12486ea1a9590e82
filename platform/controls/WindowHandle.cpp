#include "platform/controls/WindowHandle.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace controls {

namespace {
struct Handles {
    QHash<qint32, QPointer<QWidget>> byHandle;
    QHash<QWidget*, qint32> byWidget;
    qint32 next = 0x10000;
};
Handles& handles() {
    static Handles h;
    return h;
}
}  // namespace

qint32 windowHandle(QWidget* window) {
    if (!window) return 0;
    Handles& h = handles();
    auto it = h.byWidget.constFind(window);
    if (it != h.byWidget.constEnd() && h.byHandle.value(*it) == window) return *it;
    const qint32 handle = h.next;
    h.next += 4;
    h.byHandle.insert(handle, window);
    h.byWidget.insert(window, handle);
    QObject::connect(window, &QObject::destroyed, [window, handle] {
        handles().byHandle.remove(handle);
        handles().byWidget.remove(window);
    });
    return handle;
}

QWidget* windowFromHandle(qint32 handle) { return handles().byHandle.value(handle).data(); }

qint32 ownerWindow(QWidget* window) {
    if (!window || !window->windowHandle()) return 0;
    QWindow* owner = window->windowHandle()->transientParent();
    if (!owner) return 0;
    for (auto it = handles().byHandle.constBegin(); it != handles().byHandle.constEnd(); ++it)
        if (it.value() && it.value()->windowHandle() == owner) return it.key();
    return 0;
}

qint32 setOwnerWindow(QWidget* window, qint32 ownerHandle) {
    if (!window) return 0;
    const qint32 previous = ownerWindow(window);
    window->winId();  // the window needs its native handle before it can be owned
    QWidget* owner = windowFromHandle(ownerHandle);
    if (owner) owner->winId();
    window->windowHandle()->setTransientParent(owner ? owner->windowHandle() : nullptr);
    return previous;
}

}  // namespace controls
