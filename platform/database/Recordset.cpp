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

bool Field::isNull() const { return !value_.isValid() || automation::isNull(value_); }
qint16 Field::toInt16() const { return checked(name_, [&] { return automation::toInt16(value_); }); }
quint8 Field::toUInt8() const { return checked(name_, [&] { return automation::toUInt8(value_); }); }
qint32 Field::toInt32() const { return checked(name_, [&] { return automation::toInt32(value_); }); }
bool Field::toBool() const { return checked(name_, [&] { return automation::toBool(value_); }); }
QString Field::toText() const { return checked(name_, [&] { return automation::toText(value_); }); }

void Recordset::Open(const QString& source, Connection* connection, int cursorType, int lockType, int options) {
    if (open_) raise(err::OperationNotAllowed, QStringLiteral("the recordset is already open"));
    if (!connection) raise(err::InvalidCall, QStringLiteral("no connection given to open the recordset on"));
    if (cursorType < adOpenUnspecified || cursorType > adOpenStatic)
        raise(err::InvalidCall, QStringLiteral("unknown cursor type %1").arg(cursorType));
    if (lockType != adLockUnspecified && (lockType < adLockReadOnly || lockType > adLockBatchOptimistic))
        raise(err::InvalidCall, QStringLiteral("unknown lock type %1").arg(lockType));
    data_ = connection->fetchAll(source);
    index_.clear();
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

int Recordset::column(const QString& name) const {
    ensureOpen();
    const auto it = index_.constFind(name.toLower());
    if (it == index_.constEnd()) raise(err::ItemNotFound, name);
    return *it;
}

Field Recordset::field(const QString& name) const {
    const int c = column(name);
    ensureRow();
    const auto p = pending_.constFind(c);
    return Field(data_.columns.at(c), p != pending_.constEnd() ? *p : data_.rows.at(position_).at(c));
}

void Recordset::setValue(const QString& name, const QVariant& value) {
    const int c = column(name);
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

void Recordset::writeRow() {
    if (!connection_) raise(err::OperationNotAllowed, QStringLiteral("the recordset's connection no longer exists"));
    if (data_.baseTable.isEmpty() || data_.keyColumn.isEmpty())
        raise(err::OperationNotAllowed,
              QStringLiteral("the rows have no known base table to update (only rows of a procedure that names its base table and key "
                             "column in sys_procedures can be written back)"));
    Connection& conn = *connection_;
    const QString table = conn.tableName(data_.baseTable);
    const QHash<QString, ColumnInfo> columns = conn.tableColumns(table);
    const auto keyInfo = columns.constFind(data_.keyColumn.toLower());
    if (keyInfo == columns.constEnd()) raise(err::ProviderError, QStringLiteral("key column %1 not found in table %2").arg(data_.keyColumn, table));
    const auto keyIt = index_.constFind(data_.keyColumn.toLower());
    if (keyIt == index_.constEnd())
        raise(err::OperationNotAllowed, QStringLiteral("the rows do not contain the key column %1 of table %2").arg(data_.keyColumn, table));
    const int keyColumn = *keyIt;
    const QVariantList& original = data_.rows.at(position_);

    QList<int> changed = pending_.keys();
    std::sort(changed.begin(), changed.end());
    QStringList sets;
    QVariantList params;
    QHash<int, QVariant> written;
    for (int c : changed) {
        const auto info = columns.constFind(data_.columns.at(c).toLower());
        if (info == columns.constEnd())
            raise(err::OperationNotAllowed, QStringLiteral("field %1 is not a column of table %2").arg(data_.columns.at(c), table));
        const QVariant v = checked(data_.columns.at(c), [&] { return toColumnType(pending_.value(c), info->type); });
        sets << conn.escapeIdentifier(info->name) + QStringLiteral(" = ?");
        params << v;
        written.insert(c, v);
    }
    const auto changedElsewhere = [&] {
        raise(err::RowChanged, QStringLiteral("the row of %1 with %2 = %3 was changed by someone else since it was read")
                                   .arg(table, keyInfo->name, original.at(keyColumn).toString()));
    };
    QStringList compared;  // base columns the optimistic check covers
    QList<int> comparedAt;
    for (int c = 0; c < data_.columns.size(); ++c) {
        if (c == keyColumn || index_.value(data_.columns.at(c).toLower()) != c) continue;  // key apart; duplicates
        const auto info = columns.constFind(data_.columns.at(c).toLower());
        if (info == columns.constEnd() || !info->comparable) continue;
        compared << conn.escapeIdentifier(info->name);
        comparedAt << c;
    }
    const QString tableSql = conn.database().driver()->escapeIdentifier(table, QSqlDriver::TableName);
    const QString keySql = conn.escapeIdentifier(keyInfo->name) + QStringLiteral(" = ?");
    params << original.at(keyColumn);
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
        const ResultSet now = conn.fetchAll(
            QStringLiteral("SELECT %1%2%3 FROM %4 WHERE %5")
                .arg(compared.join(QStringLiteral(", ")), compared.isEmpty() ? QString() : QStringLiteral(", "), fingerprint, tableSql, keySql),
            {original.at(keyColumn)});
        bool same = now.rows.size() == 1;
        for (int i = 0; same && i < comparedAt.size(); ++i) {
            const QVariant& was = original.at(comparedAt.at(i));
            const QVariant& is = now.rows.first().at(i);
            same = automation::isNull(was) ? automation::isNull(is) : (!automation::isNull(is) && was == is);
        }
        if (!same) changedElsewhere();
        where += QStringLiteral(" AND (%1) = ?").arg(fingerprint);
        params << now.rows.first().constLast();
    } else {
        // The key and every base column still hold what was read.
        for (int i = 0; i < comparedAt.size(); ++i) {
            const QVariant& o = original.at(comparedAt.at(i));
            const QMetaType type = columns.value(data_.columns.at(comparedAt.at(i)).toLower()).type;
            where += QStringLiteral(" AND %1 IS NOT DISTINCT FROM ?").arg(compared.at(i));
            params << (automation::isNull(o) && type.isValid() ? QVariant(type) : o);
        }
    }
    const QString sql = QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(tableSql, sets.join(QStringLiteral(", ")), where);
    const ResultSet result = conn.fetchAll(sql, params);
    if (result.rowsAffected == 0) changedElsewhere();
    QVariantList& row = data_.rows[position_];
    for (auto it = written.cbegin(); it != written.cend(); ++it) row[it.key()] = it.value();
    pending_.clear();
}

}  // namespace database
