#pragma once
// The one way changed zones go back to the host's database when the dialog is
// confirmed, whatever their kind: inside one host transaction, through an
// updatable recordset of the kind's procedure, each changed zone whose row the
// procedure returns gets its columns written in order, one row update, one
// download command on the controller object (fetched at the first written
// row) and one event. The kinds differ only in what ZoneSaveKind names.
//
// Failures go to the host's error log under the kind's location; each ends
// the transaction and drops the controller object (not fetched again in this
// save), and the save goes on with its next step. A recordset that fails by
// itself (open, end test, moves) cannot be trusted to reach its end: the save
// then goes straight to its close.
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/HostContext.h"
#include "platform/automation/Dispatch.h"
#include "platform/database/Recordset.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <source_location>

namespace cz {

// The current row of a running save, as the kind's own parts see it.
class ZoneRow {
public:
    ZoneRow(database::Recordset& rs, ErrorTrap& step) : rs_(rs), step_(step) {}

    database::Field field(const QString& name) const { return rs_.field(name); }

    // One step of the save, reported with the caller's line when it fails.
    template <typename F>
    bool step(F&& f, std::source_location where = std::source_location::current()) {
        return step_(std::forward<F>(f), where);
    }

    // Stores one column of the row as a step of its own. value() runs inside
    // the step, so a failing conversion or lookup is that column's failure.
    template <typename F>
    void write(const QString& column, F&& value, std::source_location where = std::source_location::current()) {
        step_([&] { rs_.setValue(column, QVariant::fromValue(value())); }, where);
    }

private:
    database::Recordset& rs_;
    ErrorTrap& step_;
};

// A string the database never filled goes out as empty text, not NULL.
inline QString textOf(const QString& s) { return s.isNull() ? QString(QLatin1String("")) : s; }

struct ZoneSaveKind {
    QString procedure;          // called with the controller id appended
    QString indexColumn;        // the row's zone number, read as a 16-bit integer
    QString rowIdColumn;        // the row's database id, for the command and the event
    QString commandSet;         // queued on the controller per written zone
    QString descriptionPrefix;  // event description: "(" prefix number ") " name
    qint16 eventCode = 0;
    QString location;  // of every report in the host's error log
    // Whether zone n is to be written; raises error 9 for a number outside the table.
    std::function<bool(qint16 n)> isChanged;
    // Stores zone n's columns into the current row, in the table's column order.
    std::function<void(qint16 n, ZoneRow& row)> writeColumns;
    // When set, runs for every row, changed or not, before anything is
    // written; the save then moves back to the first row.
    std::function<void(ZoneRow& row)> beforeWrites;
};

// m_ControllerObject is the dialog's: it holds the host's controller object
// while the save runs and is empty afterwards.
void SaveChangedZones(const HostContext& ctx, const ZoneSaveKind& kind, automation::ObjectRef& m_ControllerObject);

}  // namespace cz
