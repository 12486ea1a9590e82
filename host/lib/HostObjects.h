#pragma once
// The host's own objects, as the component meets them by member name: the
// host object ("Parent"), the communication object ("NTConnection") with its
// security object, controllers and command sets. Everything the host writes
// while the dialog is open goes through the one connection it handed to the
// dialog, so that it lands inside the dialog's transactions.
#include "host/lib/SaveReport.h"
#include "platform/database/Connection.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <optional>

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

class Security;

// One tab's right, read from the database whenever it is asked for.
class TabPermission : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool CanView READ canView)
public:
    TabPermission(Security* security, QString caption, QObject* parent) : QObject(parent), security_(security), caption_(std::move(caption)) {}
    bool canView() const;

private:
    Security* security_;
    QString caption_;
};

// Per-tab rights of the signed-in user, keyed by tab caption.
class SubPermissions : public QObject {
    Q_OBJECT
    Q_CLASSINFO("DefaultMember", "Item")
public:
    explicit SubPermissions(Security* security);
    // The same object for the same caption: a lookup per dialog load must not add one each time.
    Q_INVOKABLE QObject* Item(const QString& tabCaption);

private:
    Security* security_;
    QHash<QString, TabPermission*> byCaption_;
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
    void setComponentType(int t) {
        componentType_ = t;
        rights_.reset();
    }
    bool canView() const;
    bool canSave() const;
    QObject* subPermissions() const { return subPermissions_; }
    bool tabCanView(const QString& caption) const;

private:
    // The user's row for the component type, read once per type set.
    const database::ResultSet& rights() const;

    Communication* comm_;
    int componentType_ = 0;
    mutable std::optional<database::ResultSet> rights_;
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
    // Whether the dialog checks, at OK, that no one else saved its zones since it loaded them.
    Q_PROPERTY(bool DetectConflicts READ detectConflicts WRITE setDetectConflicts)
public:
    Communication(database::Connection* connection, QString user, QObject* parent = nullptr);

    QObject* security() const { return security_; }
    QObject* controllers() const { return controllers_; }
    bool enableCustomize() const { return enableCustomize_; }
    void setEnableCustomize(bool on) { enableCustomize_ = on; }
    bool detectConflicts() const { return detectConflicts_; }
    void setDetectConflicts(bool on) { detectConflicts_ = on; }
    database::Connection* connection() const;
    QObject* connectionObject() const { return connection_; }
    const QString& user() const { return user_; }

    Q_INVOKABLE QString GRS(short& resourceId, QString& s1, QString& s2, QString& s3, QString& s4, QString& s5,
                            QString& s6, QString& s7, QString& s8, QString& s9);
    Q_INVOKABLE void LogError(QVariant& controllerId, QObject* error, QString& location, QVariant& line, QVariant& extra);
    Q_INVOKABLE void LogEvent(QString& eventText, QString& objectKind, QVariant& objectId, QString& description, short& eventCode);
    Q_INVOKABLE void ShowHelp(short topic);
    // The first one of a dialog starts its save report.
    Q_INVOKABLE void BeginTran();
    // Ends the open transaction whatever happens: commits it, or, when the
    // COMMIT fails, has it rolled back and reports that. Then writes the
    // error-log rows held back while it was open. Harmless when none is open.
    Q_INVOKABLE void Endtran();

    // Resource text with %1..%9 replaced; empty text when the number is unknown.
    // Each number is read from the database once.
    QString resourceText(int resourceId, const QStringList& inserts = {}) const;

    // While held, error-log rows wait and are then written together, in one
    // transaction of their own (a load can log thousands); they never wait
    // longer than the open zone transaction does.
    void holdErrorRows();
    void writeHeldErrorRows();

    // Ends the dialog's save report (at its "CZCallback") and hands it over.
    SaveReport endSession();
    bool inSession() const { return session_; }
    // Where error-log rows go when the database refuses them.
    void setFallbackLogPath(const QString& path) { fallbackLogPath_ = path; }
    QString fallbackLogPath() const { return fallbackLogPath_; }

    // Noted by the controller objects.
    void noteCommand(const QString& commandSet, int rowId);

signals:
    // An error-log row went to the fallback file (or nowhere): the status bar shows it.
    void errorLogFallback(const QString& text);

private:
    struct ErrorRow {
        QVariantList values;  // the errorlog row, in insertError's order
    };
    void writeErrorRows();
    void writeToFallback(const ErrorRow& row, const QString& why);

    QPointer<database::Connection> connection_;
    QString user_;
    bool enableCustomize_ = false;
    bool detectConflicts_ = false;
    Security* security_;
    Controllers* controllers_;
    bool session_ = false;
    bool transactionOpen_ = false;  // between a BeginTran that worked and its Endtran
    SaveReport report_;
    // Written after the transaction ends, so that a rollback never takes them.
    QList<ErrorRow> heldErrors_;
    bool holding_ = false;
    mutable QHash<int, QString> resourceTexts_;  // as stored, before the inserts
    QString fallbackLogPath_;
};

}  // namespace czhost
