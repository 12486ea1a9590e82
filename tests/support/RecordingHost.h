#pragma once
// A host written for the tests: any QObject with the member names a host
// offers. Each object appends the calls it receives to a shared journal, so a
// test can check names, order and arguments.
#include <QHash>
#include <QWidget>
#include <QObject>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>

namespace testsupport {

struct Journal {
    QStringList calls;
    // Arguments of every LogError: controller id, error number, error text, location, line, last.
    struct LoggedError {
        QVariant controllerId;
        int number = 0;
        QString description;
        QString location;
        QVariant line;
        QVariant zero;
    };
    QList<LoggedError> errors;
    int count(const QString& prefix) const;
};

class RecordingHostObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(int hwnd READ hwnd)
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
public:
    explicit RecordingHostObject(std::shared_ptr<Journal> j) : journal(std::move(j)) {}
    // The handle of `window` when a test gives it one.
    int hwnd() const;
    QWidget* window = nullptr;
    bool enabled() const { return enabled_; }
    void setEnabled(bool e);
    Q_INVOKABLE void CZCallback(QString& closeReason, QString& cellEdited);

    std::shared_ptr<Journal> journal;
    QString lastCloseReason;
    QString lastCellEdited;

private:
    bool enabled_ = true;
};

class TabPermission : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool CanView READ canView)
public:
    TabPermission(bool v, QObject* parent) : QObject(parent), view(v) {}
    bool canView() const { return view; }
    bool view;
};

class SubPermissionList : public QObject {
    Q_OBJECT
    Q_CLASSINFO("DefaultMember", "Item")
public:
    explicit SubPermissionList(QObject* parent) : QObject(parent) {}
    Q_INVOKABLE QObject* Item(const QString& caption);
    QHash<QString, bool> canView;  // missing captions are viewable
    bool failItem = false;         // the lookup itself fails
};

class RecordingSecurity : public QObject {
    Q_OBJECT
    Q_PROPERTY(int ComponentType READ componentType WRITE setComponentType)
    Q_PROPERTY(bool CanView READ canView)
    Q_PROPERTY(bool CanSave READ canSave)
    Q_PROPERTY(QObject* SubPermissions READ subPermissions)
public:
    RecordingSecurity(std::shared_ptr<Journal> j, QObject* parent);
    int componentType() const { return componentType_; }
    void setComponentType(int t);
    bool canView() const;
    bool canSave() const;
    QObject* subPermissions() const;

    bool view = true;
    bool save = true;
    SubPermissionList* tabs;
    std::shared_ptr<Journal> journal;

private:
    int componentType_ = 0;
};

class RecordingCommunication : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* Security READ security)
    Q_PROPERTY(bool EnableCustomize READ enableCustomize)
public:
    explicit RecordingCommunication(std::shared_ptr<Journal> j);
    QObject* security() const { return security_; }
    bool enableCustomize() const { return customize; }

    // Texts are "R<number>" followed by "|<insert>" for each non-empty insert,
    // unless a text was set in `resources` ("%1".."%9" take the inserts).
    Q_INVOKABLE QString GRS(short& resourceId, QString& s1, QString& s2, QString& s3, QString& s4, QString& s5,
                            QString& s6, QString& s7, QString& s8, QString& s9);
    Q_INVOKABLE void LogError(QVariant& controllerId, QObject* error, QString& location, QVariant& line, QVariant& zero);
    Q_INVOKABLE void ShowHelp(short topic);
    Q_INVOKABLE void BeginTran();
    Q_INVOKABLE void Endtran();
    Q_INVOKABLE void LogEvent(QString& eventText, QString& kind, QVariant& rowId, QString& description, short& code);

    std::shared_ptr<Journal> journal;
    RecordingSecurity* securityObject() const { return security_; }
    QHash<int, QString> resources;
    bool customize = false;
    bool failGRS = false;

private:
    RecordingSecurity* security_;
};

// A host object, a communication object and their journal, ready to hand over.
struct RecordingHost {
    RecordingHost();
    std::shared_ptr<Journal> journal;
    std::unique_ptr<RecordingHostObject> parent;
    std::unique_ptr<RecordingCommunication> comm;
};

}  // namespace testsupport
