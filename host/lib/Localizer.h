#pragma once
// The localizer control: applies the texts and layout stored for a component
// in the host database to the controls of the form it sits on, and records the
// changes an operator makes in customize mode.
#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace czhost {

class Localizer : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* LocalizerConnection READ connection WRITE setConnection)
    Q_PROPERTY(int LocalizerComponentNumber READ componentNumber WRITE setComponentNumber)
    Q_PROPERTY(QString LocalizerVersion READ version WRITE setVersion)
    Q_PROPERTY(bool LocalizerEnabled READ enabled WRITE setEnabled)
public:
    QObject* connection() const { return connection_; }
    void setConnection(QObject* c) { connection_ = c; }
    int componentNumber() const { return componentNumber_; }
    void setComponentNumber(int n) { componentNumber_ = n; }
    QString version() const { return version_; }
    void setVersion(const QString& v) { version_ = v; }
    bool enabled() const { return enabled_; }
    // Enabled, the localizer offers customize mode on its form (Ctrl+Alt+L toggles it).
    void setEnabled(bool e);

    // The form is the localizer's parent widget; stored values are applied to
    // the form's children by object name (the form itself by its own name).
    Q_INVOKABLE void LocalizerApply();
    Q_INVOKABLE void LocalizerSelectControl(QObject* control, QObject* sizingFrame);
    Q_INVOKABLE void LocalizerSelectLabel(QObject* label, QObject* sizingFrame);
    // Stores the target's new geometry (twips) and text; the target may be replaced.
    Q_INVOKABLE void LocalizerTargetChanged(QObject* sizingFrame, QObject*& target);
    Q_INVOKABLE void LocalizerRelease(int windowHandle);
    Q_INVOKABLE void LocalizerEnd();

    // Starts and ends customize mode (the host's menu or a test).
    void beginCustomize();
    void endCustomize();
    bool customizing() const { return customizing_; }
    QObject* selected() const { return selected_; }

    // Stores one customization: property "Caption" or "Left"/"Top"/"Width"/"Height" (twips).
    void store(const QString& controlName, const QString& property, const QString& value);

signals:
    void CustomizeStarted();
    void CustomizeEnded();

private:
    QWidget* form() const;
    QPointer<QObject> connection_;
    int componentNumber_ = 0;
    QString version_;
    bool enabled_ = false;
    bool customizing_ = false;
    QPointer<QObject> shortcut_;
    QPointer<QObject> selected_;
};

}  // namespace czhost
