#pragma once
// The one way zone rows come into a zone table, whatever their kind: each row
// of the kind's procedure addresses its record by the number in its index
// column, and every field store is a step of its own, so a failing store
// (NULL, out of range, a missing column) costs only its own field. Failures go
// to the host's error log under the kind's location and loading goes on.
#include "diagnostics/ErrorTrap.h"
#include "diagnostics/HostContext.h"
#include "platform/automation/AutomationError.h"
#include "platform/database/Recordset.h"

#include <QString>
#include <functional>
#include <optional>
#include <source_location>

namespace cz {

struct ZoneLoadKind {
    QString procedure;  // called with the controller id appended
    int cursor = database::adOpenForwardOnly;
    QString indexColumn;  // the row's zone number, read as a 16-bit integer
    QString location;     // of every report in the host's error log
    // Sees the rows as read, before any is stored (the conflict check keeps them).
    std::function<void(const database::Recordset&)> afterOpen;
};

// The current row of a running load, as the kind's field stores see it.
template <typename Table>
class LoadedRow {
public:
    using Record = std::remove_reference_t<decltype(std::declval<Table&>()(0))>;

    LoadedRow(database::Recordset& rs, ErrorTrap& step, Table& table, std::optional<qint16> number)
        : rs_(rs), step_(step), table_(table), number_(number) {}

    database::Field field(const database::Column& column) const { return rs_.field(column); }
    qint16 number() const { return *number_; }

    // One field store. The record is addressed before the value is read, so
    // a row without a usable number reports every store the same way rather
    // than landing in another zone.
    template <typename F>
    void store(F&& f, std::source_location where = std::source_location::current()) {
        step_(
            [&] {
                if (!number_) automation::raise(automation::err::SubscriptOutOfRange, QStringLiteral("the row has no usable zone number"));
                f(table_(*number_));
            },
            where);
    }

private:
    database::Recordset& rs_;
    ErrorTrap& step_;
    Table& table_;
    std::optional<qint16> number_;
};

// `columnsOf(rs)` runs once the rows are read: it finds the columns its
// stores read, once per recordset, and returns the stores of one row, which
// run for every row. A recordset that fails by itself ends loading with the
// rows read so far.
template <typename Table, typename ColumnsOf>
void LoadZones(const HostContext& ctx, const ZoneLoadKind& kind, Table& table, ColumnsOf&& columnsOf) {
    auto step = ErrorTrap::logAndContinue(ctx, kind.location);
    database::Recordset rs;
    if (!step([&] { rs.Open(kind.procedure + QString::number(ctx.m_ControllerId), ctx.db(), kind.cursor, database::adLockReadOnly); })) return;
    if (kind.afterOpen) kind.afterOpen(rs);
    const database::Column index = rs.column(kind.indexColumn);
    auto storeFields = columnsOf(std::as_const(rs));
    step.forEachRow(rs, [&] {
        // Read afresh for every row: a row without one has no record.
        std::optional<qint16> n;
        step([&] { n = rs.field(index).toInt16(); });
        LoadedRow<Table> row(rs, step, table, n);
        storeFields(row);
    });
    step([&] { rs.Close(); });
}

}  // namespace cz
