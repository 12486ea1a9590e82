#pragma once
// The host application's database: one schema for SQLite and PostgreSQL, the
// stored procedures the component calls (functions plus sys_procedures rows
// for the connection's engine) and the operator texts. The SQL lives in
// host/sql/ and travels inside the library as the resources ":/sql/<file>".
#include "platform/database/Connection.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace hostdb {

// Creates tables, indexes, procedures and resource texts in one transaction
// (the caller's, when one is open). Does nothing when hasSchema() holds.
void createSchema(database::Connection& connection);
// Whether the host's tables exist (procedures, controllers, resource texts).
bool hasSchema(database::Connection& connection);

// The engine's name as sys_procedures stores it: "sqlite" or "postgresql".
QString engineName(database::Engine engine);
// The text of a script in host/sql, e.g. "procedures.sqlite.sql"; raises when missing.
QString scriptText(const QString& fileName);
// The one schema, spelled for the engine.
QString schemaText(database::Engine engine);
// The statements of a script: split at ';' outside quotes, comments and
// PostgreSQL $tag$ bodies; comments dropped, empty statements skipped.

// Runs a script statement by statement; a failure names the statement.
void runScript(database::Connection& connection, const QString& script, const QString& origin = QString());

// Runs work inside a transaction: the caller's if one is open, otherwise a new
// one that is committed at the end and rolled back when work throws.
void withTransaction(database::Connection& connection, const std::function<void()>& work);

}  // namespace hostdb
