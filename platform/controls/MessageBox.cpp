#include "platform/controls/MessageBox.h"

#include <QMutex>
#include <cstdio>

namespace controls {

namespace {
QMutex handlerMutex;
MessageBoxService::Handler& currentHandler() {
    static MessageBoxService::Handler h;
    return h;
}
MessageBoxService::Handler& currentPresenter() {
    static MessageBoxService::Handler p;
    return p;
}

int firstButton(int style) {
    switch (style & 0x0F) {
    case mb::YesNo: return mb::Yes;
    default: return mb::OK;
    }
}
}  // namespace

MessageBoxService::Handler MessageBoxService::setHandler(Handler handler) {
    QMutexLocker lock(&handlerMutex);
    Handler previous = std::move(currentHandler());
    currentHandler() = std::move(handler);
    return previous;
}

int MessageBoxService::show(const QString& text, int style, const QString& title, QWidget* owner) {
    MessageBoxRequest request{text, title, style, owner};
    Handler handler;
    {
        QMutexLocker lock(&handlerMutex);
        handler = currentHandler();
    }
    if (handler) {
        // Showing a box never fails its caller: a refusal or an error report
        // must run to its end whatever the box does.
        try {
            return handler(request);
        } catch (...) {
            std::fprintf(stderr, "[message box not shown] %s: %s\n", qPrintable(title), qPrintable(text));
            return firstButton(style);
        }
    }
    Handler presenter;
    {
        QMutexLocker lock(&handlerMutex);
        presenter = currentPresenter();
    }
    if (presenter && qEnvironmentVariable("TAMRIK_MSGBOX") != QLatin1String("stderr")) return presenter(request);
    // Unattended, or no window system library loaded: printed and answered with the first button.
    std::fprintf(stderr, "[message box] %s: %s\n", qPrintable(title), qPrintable(text));
    return firstButton(style);
}

void MessageBoxService::setPresenter(Handler presenter) {
    QMutexLocker lock(&handlerMutex);
    currentPresenter() = std::move(presenter);
}

}  // namespace controls
