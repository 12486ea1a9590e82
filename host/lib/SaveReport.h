#pragma once
// What the host saw of one dialog's save, from its first "BeginTran" to its
// "CZCallback": the failures the component logged, the host's own failures
// (a COMMIT that had to be rolled back, an error log the database refused),
// and the zones it queued download commands and logged events for. The
// component reports save failures to the host's log only; this is how the
// operator hears of them.
#include <QList>
#include <QString>
#include <QStringList>

namespace czhost {

class SaveReport {
public:
    struct Failure {
        int number = 0;
        QString description;
        QString location;
        QString line;
    };
    // A command or an event the host wrote for a zone row.
    struct ZoneWrite {
        QString kind;  // "SCZ" or "MCZ"
        int rowId = 0;
        int zone = -1;  // -1 until an event names it
    };

    void addFailure(Failure f) { failures_ << std::move(f); }
    void addHostError(const QString& text) { hostErrors_ << text; }
    void addCommand(const QString& commandSet, int rowId);
    // The event description starts "(SCZ5)" or "(MCZ200)": it names the zone.
    void addEvent(const QString& description, int rowId);
    // Ends the open transaction's writes: kept, or taken back by a rollback.
    void endTransaction(bool committed);

    const QList<Failure>& failures() const { return failures_; }
    const QStringList& hostErrors() const { return hostErrors_; }
    // "SCZ 5" (or "SCZ row 505" when no event named the zone), in order.
    QStringList commands() const { return labels(commands_); }
    QStringList events() const { return labels(events_); }
    QStringList rolledBack() const { return labels(rolledBack_); }

    bool anythingToTell() const { return !failures_.isEmpty() || !hostErrors_.isEmpty() || !rolledBack_.isEmpty(); }
    // The one message the operator gets.
    QString operatorText(int controllerId) const;

private:
    QStringList labels(const QList<ZoneWrite>& writes) const;

    QList<Failure> failures_;
    QStringList hostErrors_;
    QList<ZoneWrite> commands_, events_, rolledBack_;
    qsizetype openCommands_ = 0, openEvents_ = 0;  // first of the open transaction
};

}  // namespace czhost
