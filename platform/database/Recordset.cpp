#include "platform/database/Recordset.h"

#include "platform/automation/AutomationError.h"
#include "platform/automation/Convert.h"

#include <QSqlDriver>
#include <algorithm>

namespace database {

using automation::AutomationError;
using automation::raise;
namespace err = automation::err;

namespace {

// Conversion errors name the field, so that a log line says which one.
template <typename F>
auto checked(const QString& field, F&& convert) {
    try {
        return convert();
    } catch (const AutomationError& e) {
        throw AutomationError(e.number(), QStringLiteral("%1 (field %2)").arg(e.description(), field), e.source());
    }
}

// PostgreSQL refuses a bool bound into smallint and an int into boolean.
QVariant toColumnType(const QVariant& v, QMetaType type) {
    if (!v.isValid() || automation::isNull(v)) return type.isValid() ? QVariant(type) : QVariant(QMetaType::fromType<QString>());
    if (!type.isValid()) return v;
    return automation::convertTo(v, type);
}

}  // namespace

bool Field::isNull() const { return !value_->isValid() || automation::isNull(*value_); }
qint16 Field::toInt16() const { return checked(*name_, [&] { return automation::toInt16(*value_); }); }
quint8 Field::toUInt8() const { return checked(*name_, [&] { return automation::toUInt8(*value_); }); }
qint32 Field::toInt32() const { return checked(*name_, [&] { return automation::toInt32(*value_); }); }
bool Field::toBool() const { return checked(*name_, [&] { return automation::toBool(*value_); }); }
QString Field::toText() const { return checked(*name_, [&] { return automation::toText(*value_); }); }

void Recordset::Open(const QString& source, Connection* connection, int cursorType, int lockType, int options) {
    if (open_) raise(err::OperationNotAllowed, QStringLiteral("the recordset is already open"));
    if (!connection) raise(err::InvalidCall, QStringLiteral("no connection given to open the recordset on"));
    if (cursorType < adOpenUnspecified || cursorType > adOpenStatic)
        raise(err::InvalidCall, QStringLiteral("unknown cursor type %1").arg(cursorType));
    if (lockType != adLockUnspecified && (lockType < adLockReadOnly || lockType > adLockBatchOptimistic))
        raise(err::InvalidCall, QStringLiteral("unknown lock type %1").arg(lockType));
    data_ = connection->fetchAll(source);
    index_.clear();
    asAsked_.clear();
    plan_.reset();
    for (int i = data_.columns.size() - 1; i >= 0; --i) index_.insert(data_.columns.at(i).toLower(), i);  // first wins
    connection_ = connection;
    position_ = 0;
    lockType_ = lockType;
    pending_.clear();
    open_ = true;
}

void Recordset::Close() {
    ensureOpen();
    if (!pending_.isEmpty()) raise(err::OperationNotAllowed, QStringLiteral("an edit is pending: call Update or CancelUpdate before Close"));
    open_ = false;
    data_ = ResultSet();
    index_.clear();
    asAsked_.clear();
    plan_.reset();
    connection_.clear();
}

void Recordset::ensureOpen() const {
    if (!open_) raise(err::OperationNotAllowed, QStringLiteral("the recordset is closed"));
}

void Recordset::ensureRow() const {
    ensureOpen();
    if (position_ >= data_.rows.size()) raise(err::BofOrEof);
}

void Recordset::ensureWritable() const {
    ensureOpen();
    if (lockType_ == adLockUnspecified || lockType_ == adLockReadOnly)
        raise(err::OperationNotAllowed, QStringLiteral("the recordset was opened read-only"));
}

bool Recordset::eof() const {
    ensureOpen();
    return position_ >= data_.rows.size();
}

void Recordset::MoveFirst() {
    ensureOpen();
    if (!pending_.isEmpty()) Update();
    position_ = 0;
}

void Recordset::MoveNext() {
    ensureRow();
    if (!pending_.isEmpty()) Update();
    ++position_;
}

int Recordset::recordCount() const {
    ensureOpen();
    return static_cast<int>(data_.rows.size());
}

int Recordset::fieldCount() const {
    ensureOpen();
    return static_cast<int>(data_.columns.size());
}

QString Recordset::fieldName(int index) const {
    ensureOpen();
    if (index < 0 || index >= data_.columns.size()) raise(err::ItemNotFound, QString::number(index));
    return data_.columns.at(index);
}

// Resolved once per spelling: a loop over the rows asks for the same names again.
int Recordset::position(const QString& name) const {
    ensureOpen();
    if (const auto known = asAsked_.constFind(name); known != asAsked_.constEnd()) return *known;
    const auto it = index_.constFind(name.toLower());
    if (it == index_.constEnd()) raise(err::ItemNotFound, name);
    asAsked_.insert(name, *it);
    return *it;
}

Column Recordset::column(const QString& name) const {
    ensureOpen();
    const auto it = index_.constFind(name.toLower());
    return Column{it == index_.constEnd() ? -1 : *it, name};
}

Field Recordset::field(const Column& column) const {
    ensureOpen();
    if (column.index < 0 || column.index >= data_.columns.size()) raise(err::ItemNotFound, column.name);
    ensureRow();
    const auto p = pending_.constFind(column.index);
    return Field(data_.columns.at(column.index), p != pending_.constEnd() ? *p : data_.rows.at(position_).at(column.index));
}

Field Recordset::field(const QString& name) const { return field(Column{position(name), name}); }

void Recordset::setValue(const QString& name, const QVariant& value) {
    const int c = position(name);
    ensureWritable();
    ensureRow();
    pending_.insert(c, value);
}

void Recordset::Update() {
    ensureWritable();
    ensureRow();
    if (pending_.isEmpty()) return;
    // A failed write is reported once and dropped: the row keeps what the
    // database holds, and moving on does not try the same write again.
    try {
        writeRow();
    } catch (...) {
        pending_.clear();
        throw;
    }
}

Recordset::UpdatePlan Recordset::planUpdate(const QList<int>& changed) const {
    if (!connection_) raise(err::OperationNotAllowed, QStringLiteral("the recordset's connection no longer exists"));
    if (data_.baseTable.isEmpty() || data_.keyColumn.isEmpty())
        raise(err::OperationNotAllowed,
              QStringLiteral("the rows have no known base table to update (only rows of a procedure that names its base table and key "
                             "column in sys_procedures can be written back)"));
    Connection& conn = *connection_;
    UpdatePlan plan;
    plan.changed = changed;
    plan.table = conn.tableName(data_.baseTable);
    const QHash<QString, ColumnInfo>& columns = conn.tableColumns(plan.table);
    const auto keyInfo = columns.constFind(data_.keyColumn.toLower());
    if (keyInfo == columns.constEnd())
        raise(err::ProviderError, QStringLiteral("key column %1 not found in table %2").arg(data_.keyColumn, plan.table));
    plan.keyName = keyInfo->name;
    const auto keyIt = index_.constFind(data_.keyColumn.toLower());
    if (keyIt == index_.constEnd())
        raise(err::OperationNotAllowed, QStringLiteral("the rows do not contain the key column %1 of table %2").arg(data_.keyColumn, plan.table));
    plan.keyColumn = *keyIt;

    QStringList sets;
    for (int c : changed) {
        const auto info = columns.constFind(data_.columns.at(c).toLower());
        if (info == columns.constEnd())
            raise(err::OperationNotAllowed, QStringLiteral("field %1 is not a column of table %2").arg(data_.columns.at(c), plan.table));
        sets << conn.escapeIdentifier(info->name) + QStringLiteral(" = ?");
        plan.types << info->type;
    }
    QStringList compared;
    for (int c = 0; c < data_.columns.size(); ++c) {
        if (c == plan.keyColumn || index_.value(data_.columns.at(c).toLower()) != c) continue;  // key apart; duplicates
        const auto info = columns.constFind(data_.columns.at(c).toLower());
        if (info == columns.constEnd() || !info->comparable) continue;
        compared << conn.escapeIdentifier(info->name);
        plan.compared << c;
        plan.comparedTypes << info->type;
    }
    const QString tableSql = conn.database().driver()->escapeIdentifier(plan.table, QSqlDriver::TableName);
    const QString keySql = conn.escapeIdentifier(keyInfo->name) + QStringLiteral(" = ?");
    QString where = keySql;
    if (conn.engine() == Engine::SQLite) {
        // SQLite keeps what it was given: a Boolean stored as -1 or 2, text
        // with invalid UTF-8. Read back, such values are normalised and no
        // longer equal what is stored, so a WHERE on them matches nothing.
        // Compare the row as read now with the row as read then, both
        // normalised alike, and let the UPDATE check the stored bytes it has
        // just seen (type and hex of every column), which is exact.
        QStringList parts;
        for (const QString& c : std::as_const(compared)) parts << QStringLiteral("typeof(%1) || ':' || hex(%1)").arg(c);
        const QString fingerprint = parts.isEmpty() ? QStringLiteral("''") : parts.join(QStringLiteral(" || ',' || "));
        plan.read = QStringLiteral("SELECT %1%2%3 FROM %4 WHERE %5")
                        .arg(compared.join(QStringLiteral(", ")), compared.isEmpty() ? QString() : QStringLiteral(", "), fingerprint, tableSql, keySql);
        where += QStringLiteral(" AND (%1) = ?").arg(fingerprint);
    } else {
        // The key and every base column still hold what was read.
        for (const QString& c : std::as_const(compared)) where += QStringLiteral(" AND %1 IS NOT DISTINCT FROM ?").arg(c);
    }
    plan.update = QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(tableSql, sets.join(QStringLiteral(", ")), where);
    return plan;
}

void Recordset::writeRow() {
    QList<int> changed = pending_.keys();
    std::sort(changed.begin(), changed.end());
    if (!plan_ || plan_->changed != changed) {
        plan_.reset();
        plan_ = planUpdate(changed);
    }
    const UpdatePlan& plan = *plan_;
    if (!connection_) raise(err::OperationNotAllowed, QStringLiteral("the recordset's connection no longer exists"));
    Connection& conn = *connection_;
    const QVariantList& original = data_.rows.at(position_);

    QVariantList params;
    params.reserve(changed.size() + plan.compared.size() + 1);
    for (qsizetype i = 0; i < changed.size(); ++i) {
        const int c = changed.at(i);
        params << checked(data_.columns.at(c), [&] { return toColumnType(pending_.value(c), plan.types.at(i)); });
    }
    const auto changedElsewhere = [&] {
        raise(err::RowChanged, QStringLiteral("the row of %1 with %2 = %3 was changed by someone else since it was read")
                                   .arg(plan.table, plan.keyName, original.at(plan.keyColumn).toString()));
    };
    params << original.at(plan.keyColumn);
    if (conn.engine() == Engine::SQLite) {
        const ResultSet now = conn.fetchAll(plan.read, {original.at(plan.keyColumn)});
        bool same = now.rows.size() == 1;
        for (qsizetype i = 0; same && i < plan.compared.size(); ++i) {
            const QVariant& was = original.at(plan.compared.at(i));
            const QVariant& is = now.rows.first().at(i);
            same = automation::isNull(was) ? automation::isNull(is) : (!automation::isNull(is) && was == is);
        }
        if (!same) changedElsewhere();
        params << now.rows.first().constLast();
    } else {
        for (qsizetype i = 0; i < plan.compared.size(); ++i) {
            const QVariant& o = original.at(plan.compared.at(i));
            const QMetaType type = plan.comparedTypes.at(i);
            params << (automation::isNull(o) && type.isValid() ? QVariant(type) : o);
        }
    }
    if (conn.write(plan.update, params) == 0) changedElsewhere();
    QVariantList& row = data_.rows[position_];
    for (qsizetype i = 0; i < changed.size(); ++i) row[changed.at(i)] = params.at(i);
    pending_.clear();
}

}  // namespace database
