#pragma once
// A host written for the tests: any QObject with the member names a host
// offers. Each object appends the calls it receives to a shared journal, so a
// test can check names, order and arguments. Message boxes are recorded too.
#include "platform/automation/AutomationError.h"
#include "platform/automation/Dispatch.h"
#include "platform/controls/MessageBox.h"
#include "platform/controls/WindowHandle.h"

#include <QHash>
#include <QObject>
#include <QRegularExpression>
#include <QStringList>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <memory>

namespace testsupport {

struct Journal {
    QStringList calls;
    // Arguments of every LogError: controller id, error number, error text, location, line, last.
    struct LoggedError {
        QVariant controllerId;
        int number = 0;
        QString description, location;
        QVariant line, zero;
    };
    QList<LoggedError> errors;
    // "location number" of every error logged, e.g. "LoadSCZArray 94".
    QStringList logged() const {
        QStringList out;
        for (const LoggedError& e : errors) out << QStringLiteral("%1 %2").arg(e.location).arg(e.number);
        return out;
    }
    int count(const QString& prefix) const {
        return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const QString& c) { return c.startsWith(prefix); }));
    }
};

class RecordingHostObject : public QObject {
    Q_OBJECT
    Q_PROPERTY(int hwnd READ hwnd)
    Q_PROPERTY(bool Enabled READ enabled WRITE setEnabled)
public:
    explicit RecordingHostObject(std::shared_ptr<Journal> j) : journal(std::move(j)) {}
    // The handle of `window` when a test gives it one.
    int hwnd() const { return window ? controls::windowHandle(window) : 4242; }
    QWidget* window = nullptr;
    bool enabled() const { return enabled_; }
    void setEnabled(bool e) { enabled_ = e, journal->calls << QStringLiteral("Enabled=%1").arg(e ? QStringLiteral("True") : QStringLiteral("False")); }
    Q_INVOKABLE void CZCallback(QString& closeReason, QString& cellEdited) {
        lastCloseReason = closeReason, lastCellEdited = cellEdited;
        journal->calls << QStringLiteral("CZCallback(%1,%2)").arg(closeReason, cellEdited);
    }

    std::shared_ptr<Journal> journal;
    QString lastCloseReason, lastCellEdited;

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
    Q_INVOKABLE QObject* Item(const QString& caption) {
        if (failItem) automation::raise(automation::err::ItemNotFound, caption);
        return new TabPermission(canView.value(caption, true), this);
    }
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
    RecordingSecurity(std::shared_ptr<Journal> j, QObject* parent) : QObject(parent), tabs(new SubPermissionList(this)), journal(std::move(j)) {}
    int componentType() const { return componentType_; }
    void setComponentType(int t) { componentType_ = t, journal->calls << QStringLiteral("ComponentType=%1").arg(t); }
    bool canView() const { journal->calls << QStringLiteral("CanView"); return view; }
    bool canSave() const { journal->calls << QStringLiteral("CanSave"); return save; }
    QObject* subPermissions() const { journal->calls << QStringLiteral("SubPermissions"); return tabs; }

    bool view = true, save = true;
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
    explicit RecordingCommunication(std::shared_ptr<Journal> j) : journal(std::move(j)), securityObject(new RecordingSecurity(journal, this)) {}
    QObject* security() const { return securityObject; }
    bool enableCustomize() const { return customize; }

    // Texts are "R<number>" followed by "|<insert>" for each non-empty insert,
    // unless a text was set in `resources` ("%1".."%9" take the inserts).
    Q_INVOKABLE QString GRS(short& resourceId, QString& s1, QString& s2, QString& s3, QString& s4, QString& s5, QString& s6, QString& s7,
                            QString& s8, QString& s9) {
        journal->calls << QStringLiteral("GRS(%1)").arg(resourceId);
        if (failGRS) automation::raise(automation::err::UserDefined, QStringLiteral("resource file missing"));
        const QStringList inserts{s1, s2, s3, s4, s5, s6, s7, s8, s9};
        const bool stored = resources.contains(resourceId);
        QString text = resources.value(resourceId, QStringLiteral("R%1").arg(resourceId));
        for (int i = 0; i < 9; ++i) {
            if (stored) text.replace(QStringLiteral("%%1").arg(i + 1), inserts[i]);
            if (!stored && !inserts[i].isEmpty()) text += QLatin1Char('|') + inserts[i];
        }
        return text;
    }
    Q_INVOKABLE void LogError(QVariant& controllerId, QObject* error, QString& location, QVariant& line, QVariant& zero) {
        journal->errors.append({controllerId, automation::getProperty(error, QStringLiteral("Number")).toInt(),
                                automation::getProperty(error, QStringLiteral("Description")).toString(), location, line, zero});
        journal->calls << QStringLiteral("LogError(%1)").arg(location);
    }
    Q_INVOKABLE void ShowHelp(short topic) { journal->calls << QStringLiteral("ShowHelp(%1)").arg(topic); }
    Q_INVOKABLE void BeginTran() { journal->calls << QStringLiteral("BeginTran"); }
    Q_INVOKABLE void Endtran() { journal->calls << QStringLiteral("Endtran"); }
    Q_INVOKABLE void LogEvent(QString& eventText, QString& kind, QVariant& rowId, QString& description, short& code) {
        journal->calls << QStringLiteral("LogEvent(%1,%2,%3,%4,%5)").arg(eventText, kind, rowId.toString(), description).arg(code);
    }

    std::shared_ptr<Journal> journal;
    RecordingSecurity* const securityObject;
    QHash<int, QString> resources;
    bool customize = false, failGRS = false;
};

// A host object, a communication object and their journal, ready to hand over.
struct RecordingHost {
    std::shared_ptr<Journal> journal = std::make_shared<Journal>();
    std::unique_ptr<RecordingHostObject> parent = std::make_unique<RecordingHostObject>(journal);
    std::unique_ptr<RecordingCommunication> comm = std::make_unique<RecordingCommunication>(journal);
};

// Records every message box instead of showing it, and answers OK; the first
// `failures` boxes fail to show instead, as without a desktop.
class MessageBoxRecorder {
public:
    MessageBoxRecorder()
        : scope_([this](const controls::MessageBoxRequest& r) {
              if (failures > 0) {
                  --failures;
                  automation::raise(automation::err::UserDefined, QStringLiteral("no desktop to show boxes on"));
              }
              boxes.append(r);
              return answer;
          }) {}

    // Each box: an error box as "function number" (e.g. "frmMain.X 94"), any other as "style title: text".
    QStringList shown() const {
        static const QRegularExpression fields(QStringLiteral("Function Name: (\\S*).*Number: (-?\\d+)"), QRegularExpression::DotMatchesEverythingOption);
        QStringList out;
        for (const auto& b : boxes)
            if (b.icon() == controls::mb::Critical) out << fields.match(b.text).capturedTexts().mid(1).join(QLatin1Char(' '));
            else out << QStringLiteral("%1 %2: %3").arg(b.style).arg(b.title, b.text);
        return out;
    }

    QList<controls::MessageBoxRequest> boxes;
    int answer = controls::mb::OK;
    int failures = 0;

private:
    controls::ScopedMessageBoxHandler scope_;
};

}  // namespace testsupport
