#include "platform/controls/MessageBox.h"

#include <QMessageBox>
#include <QMutex>
#include <cstdio>

namespace controls {

namespace {
QMutex handlerMutex;
MessageBoxService::Handler& currentHandler() {
    static MessageBoxService::Handler h;
    return h;
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
    if (qEnvironmentVariable("TAMRIK_MSGBOX") == QLatin1String("stderr")) {
        std::fprintf(stderr, "[message box] %s: %s\n", qPrintable(title), qPrintable(text));
        return firstButton(style);
    }
    QMessageBox box(owner);
    box.setWindowTitle(title);
    box.setText(text);
    switch (request.icon()) {
    case mb::Critical: box.setIcon(QMessageBox::Critical); break;
    case mb::Question: box.setIcon(QMessageBox::Question); break;
    case mb::Exclamation: box.setIcon(QMessageBox::Warning); break;
    case mb::Information: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (request.buttons()) {
    case mb::OKCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case mb::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return mb::Cancel;
    case QMessageBox::Yes: return mb::Yes;
    case QMessageBox::No: return mb::No;
    default: return mb::OK;
    }
}

}  // namespace controls
