#pragma once
// SQL scripts of several statements, as the host's schema and procedures and
// the tests' fixtures are written: one statement per exec on every engine.
#include <QString>
#include <QStringList>

namespace database {

// Splits at the semicolons that end statements: not inside quotes, comments
// or $tag$ bodies. Comments are dropped; empty statements are left out.
QStringList splitStatements(const QString& script);

}  // namespace database
