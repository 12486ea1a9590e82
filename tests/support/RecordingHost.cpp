#include "tests/support/RecordingHost.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/Dispatch.h"
#include "platform/controls/WindowHandle.h"

namespace testsupport {

int Journal::count(const QString& prefix) const {
    int n = 0;
    for (const QString& c : calls)
        if (c.startsWith(prefix)) ++n;
    return n;
}

int RecordingHostObject::hwnd() const { return window ? controls::windowHandle(window) : 4242; }

void RecordingHostObject::setEnabled(bool e) {
    enabled_ = e;
    journal->calls << QStringLiteral("Enabled=%1").arg(e ? QStringLiteral("True") : QStringLiteral("False"));
}

void RecordingHostObject::CZCallback(QString& closeReason, QString& cellEdited) {
    lastCloseReason = closeReason;
    lastCellEdited = cellEdited;
    journal->calls << QStringLiteral("CZCallback(%1,%2)").arg(closeReason, cellEdited);
}

QObject* SubPermissionList::Item(const QString& caption) {
    if (failItem) automation::raise(automation::err::ItemNotFound, caption);
    return new TabPermission(canView.value(caption, true), this);
}

RecordingSecurity::RecordingSecurity(std::shared_ptr<Journal> j, QObject* parent)
    : QObject(parent), tabs(new SubPermissionList(this)), journal(std::move(j)) {}

void RecordingSecurity::setComponentType(int t) {
    componentType_ = t;
    journal->calls << QStringLiteral("ComponentType=%1").arg(t);
}

bool RecordingSecurity::canView() const {
    journal->calls << QStringLiteral("CanView");
    return view;
}

bool RecordingSecurity::canSave() const {
    journal->calls << QStringLiteral("CanSave");
    return save;
}

QObject* RecordingSecurity::subPermissions() const {
    journal->calls << QStringLiteral("SubPermissions");
    return tabs;
}

RecordingCommunication::RecordingCommunication(std::shared_ptr<Journal> j)
    : journal(std::move(j)), security_(new RecordingSecurity(journal, this)) {}

QString RecordingCommunication::GRS(short& resourceId, QString& s1, QString& s2, QString& s3, QString& s4, QString& s5,
                                    QString& s6, QString& s7, QString& s8, QString& s9) {
    journal->calls << QStringLiteral("GRS(%1)").arg(resourceId);
    if (failGRS) automation::raise(automation::err::UserDefined, QStringLiteral("resource file missing"));
    const QStringList inserts{s1, s2, s3, s4, s5, s6, s7, s8, s9};
    if (resources.contains(resourceId)) {
        QString text = resources.value(resourceId);
        for (int i = 0; i < 9; ++i) text.replace(QStringLiteral("%%1").arg(i + 1), inserts[i]);
        return text;
    }
    QString text = QStringLiteral("R%1").arg(resourceId);
    for (const QString& s : inserts)
        if (!s.isEmpty()) text += QLatin1Char('|') + s;
    return text;
}

void RecordingCommunication::LogError(QVariant& controllerId, QObject* error, QString& location, QVariant& line, QVariant& zero) {
    Journal::LoggedError e;
    e.controllerId = controllerId;
    e.number = automation::getProperty(error, QStringLiteral("Number")).toInt();
    e.description = automation::getProperty(error, QStringLiteral("Description")).toString();
    e.location = location;
    e.line = line;
    e.zero = zero;
    journal->errors.append(e);
    journal->calls << QStringLiteral("LogError(%1)").arg(location);
}

void RecordingCommunication::ShowHelp(short topic) { journal->calls << QStringLiteral("ShowHelp(%1)").arg(topic); }
void RecordingCommunication::BeginTran() { journal->calls << QStringLiteral("BeginTran"); }
void RecordingCommunication::Endtran() { journal->calls << QStringLiteral("Endtran"); }

void RecordingCommunication::LogEvent(QString& eventText, QString& kind, QVariant& rowId, QString& description, short& code) {
    journal->calls << QStringLiteral("LogEvent(%1,%2,%3,%4,%5)").arg(eventText, kind, rowId.toString(), description).arg(code);
}

RecordingHost::RecordingHost()
    : journal(std::make_shared<Journal>()),
      parent(std::make_unique<RecordingHostObject>(journal)),
      comm(std::make_unique<RecordingCommunication>(journal)) {}

}  // namespace testsupport
