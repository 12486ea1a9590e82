#pragma once
// Stands where the control-zone dialog stands for the sibling components: a
// window with a handle and the three public callbacks, recording each call.
#include "platform/controls/WindowHandle.h"

#include <QObject>
#include <QStringList>
#include <QWidget>

class RecordingDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(int hwnd READ hwnd)
public:
    RecordingDialog() { window.resize(300, 200); }
    int hwnd() { return controls::windowHandle(&window); }

    Q_INVOKABLE void TZCallback(int& type, int& identity, QString& description) {
        calls << QStringLiteral("TZCallback(%1,%2,%3)").arg(type).arg(identity).arg(description);
        lastId = identity;
    }
    Q_INVOKABLE void TZCancelCallback() { calls << QStringLiteral("TZCancelCallback"); }
    Q_INVOKABLE void Callback(QString& component, int& id, QVariant& action, QString& name) {
        calls << QStringLiteral("Callback(%1,%2,%3,%4)").arg(component).arg(id).arg(action.toString(), name);
        lastId = id;
    }

    QWidget window;
    QStringList calls;
    int lastId = 0;
};
