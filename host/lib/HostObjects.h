#pragma once
// The host's own objects, as the component meets them by member name: the
// host object ("Parent"), the communication object ("NTConnection") with its
// security object, controllers and command sets. Everything the host writes
// while the dialog is open goes through the one connection it handed to the
// dialog, so that it lands inside the dialog's transactions.
#include "platform/database/Connection.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

class QWidget;

namespace czhost {

class HostObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(int hwnd READ hwnd)
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
public:
    explicit HostObject(QWidget* mainWindow, QObject* parent = nullptr);

    int hwnd() const;
    bool enabled() const;
    void setEnabled(bool enabled);

    Q_INVOKABLE void CZCallback(QString& closeReason, QString& cellEdited);

signals:
    void dialogClosed(const QString& closeReason, bool cellEdited);

private:
    QPointer<QWidget> window_;
};

class TabPermission : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool CanView READ canView)
public:
    TabPermission(bool canView, QObject* parent) : QObject(parent), canView_(canView) {}
    bool canView() const { return canView_; }

private:
    bool canView_;
};

class Security;

// Per-tab rights of the signed-in user, keyed by tab caption.
class SubPermissions : public QObject {
    Q_OBJECT
    Q_CLASSINFO("DefaultMember", "Item")
public:
    explicit SubPermissions(Security* security);
    Q_INVOKABLE QObject* Item(const QString& tabCaption);

private:
    Security* security_;
};

class Communication;

class Security : public QObject {
    Q_OBJECT
    Q_PROPERTY(int ComponentType READ componentType WRITE setComponentType)
    Q_PROPERTY(bool CanView READ canView)
    Q_PROPERTY(bool CanSave READ canSave)
    Q_PROPERTY(QObject* SubPermissions READ subPermissions)
public:
    explicit Security(Communication* comm);

    int componentType() const { return componentType_; }
    void setComponentType(int t) { componentType_ = t; }
    bool canView() const;
    bool canSave() const;
    QObject* subPermissions() const { return subPermissions_; }
    bool tabCanView(const QString& caption) const;

private:
    Communication* comm_;
    int componentType_ = 0;
    SubPermissions* subPermissions_;
};

class CommandSets : public QObject {
    Q_OBJECT
public:
    CommandSets(Communication* comm, qint32 controllerId, QObject* parent);
    // Queues the download of one command set for this controller.
    Q_INVOKABLE void Add(const QString& commandSet, const QVariant& objectId);

private:
    Communication* comm_;
    qint32 controllerId_;
};

class Controller : public QObject {
    Q_OBJECT
    Q_PROPERTY(int ControllerId READ controllerId)
    Q_PROPERTY(QObject* CommandSets READ commandSets)
public:
    Controller(Communication* comm, qint32 controllerId, QObject* parent);
    int controllerId() const { return controllerId_; }
    QObject* commandSets() const { return commandSets_; }

private:
    qint32 controllerId_;
    CommandSets* commandSets_;
};

class Controllers : public QObject {
    Q_OBJECT
public:
    explicit Controllers(Communication* comm);
    // The controller object of an id; the same object for the same id.
    Q_INVOKABLE QObject* Add(int& controllerId);

private:
    Communication* comm_;
    QHash<qint32, Controller*> byId_;
};

class Communication : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* Security READ security)
    Q_PROPERTY(bool EnableCustomize READ enableCustomize WRITE setEnableCustomize)
    Q_PROPERTY(QObject* Controllers READ controllers)
    // The host's own: the connection its stand-ins write through.
    Q_PROPERTY(QObject* Connection READ connectionObject)
public:
    Communication(database::Connection* connection, QString user, QObject* parent = nullptr);

    QObject* security() const { return security_; }
    QObject* controllers() const { return controllers_; }
    bool enableCustomize() const { return enableCustomize_; }
    void setEnableCustomize(bool on) { enableCustomize_ = on; }
    database::Connection* connection() const;
    QObject* connectionObject() const { return connection_; }
    const QString& user() const { return user_; }

    Q_INVOKABLE QString GRS(short& resourceId, QString& s1, QString& s2, QString& s3, QString& s4, QString& s5,
                            QString& s6, QString& s7, QString& s8, QString& s9);
    Q_INVOKABLE void LogError(QVariant& controllerId, QObject* error, QString& location, QVariant& line, QVariant& extra);
    Q_INVOKABLE void LogEvent(QString& eventText, QString& objectKind, QVariant& objectId, QString& description, short& eventCode);
    Q_INVOKABLE void ShowHelp(short topic);
    Q_INVOKABLE void BeginTran();
    // Commits the open transaction; harmless when none is open.
    Q_INVOKABLE void Endtran();

    // Resource text with %1..%9 replaced; empty text when the number is unknown.
    QString resourceText(int resourceId, const QStringList& inserts = {}) const;

private:
    QPointer<database::Connection> connection_;
    QString user_;
    bool enableCustomize_ = false;
    Security* security_;
    Controllers* controllers_;
};

}  // namespace czhost
