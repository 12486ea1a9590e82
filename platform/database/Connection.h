#pragma once
// A database connection in the shape of the data-access object the component
// was written against: late-bound members (ConnectionString, State, Open,
// Close) over a QtSql connection, plus the C++ API the host and Recordset use.
//
// Every statement goes through one runner: it resolves stored-procedure calls
// against the database's own sys_procedures table, decides how the statement
// travels, and wraps it in a savepoint while a transaction is open.
//
// How a statement travels (PostgreSQL's driver sends a bound statement as
// PREPARE, EXECUTE and DEALLOCATE: three round trips):
//  - a procedure's first call with only the integers of its text: those
//    integers written into its SQL, sent as text in one round trip;
//  - any other bound value is bound, never written into the text; such a
//    statement (and a procedure called again) is prepared once per session
//    and re-executed, one round trip each, so a loop pays for one PREPARE;
//  - a statement without values goes as text.
//
// Inside a PostgreSQL transaction a failed statement aborts the transaction,
// so the runner keeps a savepoint; to spare a round trip per statement it is
// set once per batch of statements, and after a failure the runner rolls back
// to it and sends again the batch's statements that had succeeded.
#include <QHash>
#include <QList>
#include <QMetaType>
#include <QObject>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QSet>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace database {

enum class Engine { SQLite, PostgreSQL };

// A database carries its own stored procedures in this table, one row per
// procedure and engine; names are stored in lower case and matched without
// regard to case. sql_text has ? placeholders for the numeric arguments:
//   SQLite:     the query itself, e.g. "select ... from zones where id = ?"
//   PostgreSQL: a call of a set-returning LANGUAGE sql function the schema
//               created, e.g. "select * from sp_fetchzone(?)"
// base_table/key_column name the table a row comes from and its key, for
// Recordset::Update (the row's columns of that table must be its raw values);
// both null when the rows cannot be written back.
inline QString proceduresTableDdl() {
    return QStringLiteral(
        "CREATE TABLE sys_procedures (name text NOT NULL, engine text NOT NULL, sql_text text NOT NULL, "
        "param_count integer NOT NULL DEFAULT 0, base_table text NULL, key_column text NULL, "
        "PRIMARY KEY (name, engine), CHECK (engine IN ('sqlite', 'postgresql')))");
}

// A row of sys_procedures for the connection's engine.
struct Procedure {
    QString name;        // lower case
    QString sqlText;     // with ? placeholders
    int paramCount = 0;
    QString baseTable;   // where the rows come from, for updates; may be empty
    QString keyColumn;
};

// "EXECUTE sp_x 1, 2": optional EXECUTE/EXEC, a name, numeric arguments.
struct ProcedureCall {
    bool explicitExecute = false;
    QString name;        // as written
    QVariantList arguments;  // qlonglong or double
};
std::optional<ProcedureCall> parseProcedureCall(const QString& text);

// What a statement produced, read to the end.
struct ResultSet {
    QStringList columns;
    QList<QVariantList> rows;
    int rowsAffected = -1;
    QString baseTable;   // from sys_procedures, empty for plain SQL
    QString keyColumn;
};

// A column of a base table: its real name and the type values are converted
// to before they are bound.
struct ColumnInfo {
    QString name;
    QMetaType type;      // invalid: bind as is
    bool comparable = true;  // usable in an optimistic WHERE
};

class Connection : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString ConnectionString READ connectionString WRITE setConnectionString)
    Q_PROPERTY(int State READ state)

public:
    explicit Connection(QObject* parent = nullptr);
    ~Connection() override;

    QString connectionString() const { return connectionString_; }
    void setConnectionString(const QString& s) { connectionString_ = s; }
    int state() const;  // 0 closed, 1 open

    Q_INVOKABLE void Open(const QVariant& connectionString = QVariant());
    Q_INVOKABLE void Close();

    QSqlDatabase database() const { return db_; }
    Engine engine() const { return engine_; }
    bool isOpen() const { return state() == 1; }

    bool inTransaction() const { return inTransaction_; }
    // Why the last transaction ended without its COMMIT or ROLLBACK (the
    // connection was lost, the database rolled it back); empty otherwise.
    QString lostTransaction() const { return lostTransaction_; }
    void beginTransaction();
    // A COMMIT that fails is rolled back: the transaction is over either way.
    void commitTransaction();
    void rollbackTransaction();

    // Reopens a connection the server dropped (never inside a transaction:
    // what it held is gone and must not be mistaken for saved). False when
    // the connection answered and was left as it was; raises when it cannot
    // be reopened.
    bool reconnectIfDropped();

    // How long a statement waits for a lock another connection holds (SQLite's
    // busy timeout, PostgreSQL's lock timeout); 5000 ms unless set.
    void setLockTimeout(int ms);
    int lockTimeout() const { return lockTimeout_; }
    // With a single wait on, once one statement has waited out the lock
    // timeout the later ones fail at once instead of waiting again; turning
    // it off (or on again) restores the full wait.
    void setSingleLockWait(bool on);
    int lockWaits() const { return lockWaits_; }        // statements that waited out the timeout
    int lockFailures() const { return lockFailures_; }  // statements refused for a lock, waited or not

    // One statement as the connection sends it, for the statement hook.
    struct Statement {
        QString sql;          // as the driver gets it: a procedure's own SQL
        QVariantList params;  // the values bound to it; empty when sent as text
        // Sent for the connection's own needs (savepoints, lock waits,
        // catalogue reads, its probes) rather than for its caller.
        bool own = false;
        // Messages to the server and back it costs on PostgreSQL, where the
        // driver sends a bound statement as PREPARE, EXECUTE and DEALLOCATE.
        int roundTrips = 1;
    };
    // Called before every statement the connection sends, its own included;
    // returning true makes a caller's statement (BEGIN, COMMIT and ROLLBACK
    // included) fail as the database would: fault injection. The connection's
    // own statements cannot be failed; the hook only sees them.
    using StatementHook = std::function<bool(const Statement&)>;
    void setStatementHook(StatementHook hook) { hook_ = std::move(hook); }

    // Runs a statement (procedure call or plain SQL; params are appended to a
    // call's arguments or bound to a plain statement's placeholders) and
    // returns the executed query (not forward-only: PostgreSQL buffers all
    // rows; SQLite steps them as they are read).
    QSqlQuery execute(const QString& sql, const QVariantList& params = QVariantList());
    // The same, reading every row before returning.
    ResultSet fetchAll(const QString& sql, const QVariantList& params = QVariantList());
    // Runs a statement that returns no rows; the rows it changed.
    int write(const QString& sql, const QVariantList& params = QVariantList());

    // Columns of a base table keyed by lower-case name; cached until Open/Close.
    // Raises when the table does not exist.
    const QHash<QString, ColumnInfo>& tableColumns(const QString& table);
    QString tableName(const QString& table);  // its real spelling
    QString escapeIdentifier(const QString& name) const;

private:
    enum class Travel {
        Text,  // no bound values
        Once,  // prepared for this one use (the caller keeps the query)
        Kept,  // prepared once per session, re-executed
    };
    struct Resolved {
        QString sql;
        QVariantList params;
        std::optional<Procedure> procedure;
        Travel travel = Travel::Text;
    };
    Resolved resolve(const QString& text, const QVariantList& params);
    const Procedure* findProcedure(const QString& name);
    void loadProcedures();
    QString adaptPlainSql(const QString& sql) const;

    // The one statement runner: savepoint, exec, consume, release.
    void run(const QString& sql, const QVariantList& params, Travel travel, const std::function<void(QSqlQuery&)>& consume,
             QSqlQuery* keep = nullptr);
    // The prepared statement kept for a text, prepared now when there is none.
    QSqlQuery& keptStatement(const QString& sql, bool* prepared);
    void dropStatement(const QString& sql);
    void dropStatements();
    void execControl(const QString& sql);
    void ensureUsable();
    [[noreturn]] void raiseFailure(const QSqlError& error);
    [[noreturn]] void raiseInjected(const QString& sql);
    void transactionLost(const QString& why);
    bool sqliteInAutocommit() const;
    void markSavepoint();
    void undoFailedStatement();
    bool injected(const QString& sql, const QVariantList& params, int roundTrips = 1) const {
        return hook_ && hook_(Statement{sql, params, false, roundTrips});
    }
    void observeOwn(const QString& sql, int roundTrips = 1) const {
        if (hook_) hook_(Statement{sql, {}, true, roundTrips});
    }
    bool isLockError(const QSqlError& error) const;
    void applyLockTimeout();
    void openHandle();
    bool connectionLost() const;
    void clearCaches();

    QString connectionString_;
    QString name_;
    QSqlDatabase db_;
    Engine engine_ = Engine::SQLite;
    bool open_ = false;
    bool inTransaction_ = false;
    bool savepointSet_ = false;  // PostgreSQL: one set in this transaction, not yet released
    // PostgreSQL: the statements that succeeded since the savepoint.
    struct Done {
        QString sql;
        QVariantList params;
        int rowsAffected = -1;  // -1: a query
    };
    std::vector<Done> sinceSavepoint_;
    QString lostTransaction_;
    int lockTimeout_ = 5000;
    int appliedLockTimeout_ = -1;  // what the session has now; -1 unknown
    bool singleLockWait_ = false;
    bool lockWaitSpent_ = false;
    int lockWaits_ = 0;
    int lockFailures_ = 0;
    StatementHook hook_;
    std::optional<QHash<QString, Procedure>> procedures_;
    QSet<QString> calledProcedures_;  // this session's
    struct KeptStatement {
        std::unique_ptr<QSqlQuery> query;
        quint64 lastUse = 0;
    };
    std::unordered_map<QString, KeptStatement> kept_;
    quint64 uses_ = 0;
    QHash<QString, QHash<QString, ColumnInfo>> columns_;
    QStringList tables_;
};

}  // namespace database
