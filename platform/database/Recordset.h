#pragma once
// A recordset in the shape of the data-access object the component was written
// against. It reads every row at Open (PostgreSQL loses the rest of a streamed
// result when another statement runs on the connection; reading all also gives
// MoveFirst), reads fields by name in any letter case, and writes the current
// row back through one optimistic UPDATE of the row's base table.
#include "platform/database/Connection.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <optional>

namespace database {

// Cursor types.
constexpr int adOpenUnspecified = -1;
constexpr int adOpenForwardOnly = 0;
constexpr int adOpenKeyset = 1;
constexpr int adOpenDynamic = 2;
constexpr int adOpenStatic = 3;
// Lock types: read-only unless one of the writable ones is asked for.
constexpr int adLockUnspecified = -1;
constexpr int adLockReadOnly = 1;
constexpr int adLockPessimistic = 2;
constexpr int adLockOptimistic = 3;
constexpr int adLockBatchOptimistic = 4;
// Command types.
constexpr int adCmdUnspecified = -1;
constexpr int adCmdText = 1;

// One field of the current row, seen in place: it is valid until the
// recordset moves, is written or closes, so it is read where it is taken.
// The typed reads have the platform's checked semantics: NULL is error 94,
// out of range 6, text that is no number 13.
class Field {
public:
    const QString& name() const { return *name_; }
    const QVariant& value() const { return *value_; }
    bool isNull() const;

    qint16 toInt16() const;
    quint8 toUInt8() const;
    qint32 toInt32() const;
    bool toBool() const;
    QString toText() const;

private:
    friend class Recordset;
    Field(const QString& name, const QVariant& value) : name_(&name), value_(&value) {}

    const QString* name_;
    const QVariant* value_;
};

// A column looked up once by name; reading it by position costs no lookup.
struct Column {
    int index = -1;  // -1: the rows have no such column
    QString name;
};

class Recordset {
public:
    Recordset() = default;

    // source: a procedure call or plain SQL, resolved by the connection.
    // cursorType and options are accepted for compatibility; every recordset
    // is static (all rows read at Open).
    void Open(const QString& source, Connection* connection, int cursorType = adOpenUnspecified,
              int lockType = adLockUnspecified, int options = adCmdUnspecified);
    // Raises while an edit is pending (call Update or CancelUpdate first).
    void Close();
    bool isOpen() const { return open_; }

    bool eof() const;
    void MoveFirst();  // saves a pending edit first
    void MoveNext();   // saves a pending edit first; at EOF: error 3021
    int recordCount() const;

    int fieldCount() const;
    QString fieldName(int index) const;
    // Case-insensitive; a missing name is error 3265, no current row 3021.
    Field field(const QString& name) const;
    Field fields(const QString& name) const { return field(name); }
    // For loops over the rows: the column is found once, before the loop. A
    // missing name is no error here; reading it is (3265).
    Column column(const QString& name) const;
    Field field(const Column& column) const;

    // Writes into the current row's buffer (read-only recordsets: error 3219).
    void setValue(const QString& name, const QVariant& value);
    bool editPending() const { return !pending_.isEmpty(); }
    void CancelUpdate() { pending_.clear(); }
    // Writes the changed fields of the current row with one UPDATE that also
    // checks the row still holds the values read; error RowChanged otherwise.
    // A failed Update drops the pending edit, so a later move does not repeat it.
    void Update();

    int lockType() const { return lockType_; }
    // Every row as read at Open (edits written by Update included).
    const ResultSet& data() const { return data_; }

private:
    void ensureOpen() const;
    void ensureRow() const;
    void ensureWritable() const;
    void writeRow();
    int position(const QString& name) const;

    // The UPDATE of one set of changed columns, built once and kept while the
    // rows written change the same columns (a save writes the same ones in
    // every row): the connection prepares it once and rebinds it per row.
    struct UpdatePlan {
        QList<int> changed;      // columns written, in column order
        QList<QMetaType> types;  // their base columns' types
        QList<int> compared;     // columns the optimistic check covers
        QList<QMetaType> comparedTypes;
        int keyColumn = -1;
        QString table, keyName;
        QString update;  // SET the changed, WHERE the key and the compared still hold what was read
        QString read;    // SQLite: the compared columns and a fingerprint of the stored values
    };
    UpdatePlan planUpdate(const QList<int>& changed) const;

    bool open_ = false;
    QPointer<Connection> connection_;
    ResultSet data_;
    QHash<QString, int> index_;  // lower-case name -> column
    mutable QHash<QString, int> asAsked_;  // names as callers spell them -> column
    std::optional<UpdatePlan> plan_;
    qsizetype position_ = 0;
    int lockType_ = adLockUnspecified;
    QHash<int, QVariant> pending_;  // column -> new value
};

}  // namespace database
