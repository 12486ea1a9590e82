#include "host/lib/HostDatabase.h"

#include "platform/automation/AutomationError.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>

namespace hostdb {

using automation::AutomationError;
namespace err = automation::err;

namespace {

// Tables whose presence means the schema was created (it is created in one
// transaction, so all or none of them exist).
const QStringList kMarkerTables{QStringLiteral("sys_procedures"), QStringLiteral("controllers"), QStringLiteral("resources")};

}  // namespace

QString engineName(database::Engine engine) {
    return engine == database::Engine::SQLite ? QStringLiteral("sqlite") : QStringLiteral("postgresql");
}

QString scriptText(const QString& fileName) {
    QFile f(QStringLiteral(":/sql/") + fileName);
    if (!f.open(QIODevice::ReadOnly))
        automation::raise(err::ProviderError, QStringLiteral("the host database script %1 is missing from the library").arg(fileName));
    return QString::fromUtf8(f.readAll());
}

QStringList splitStatements(const QString& script) {
    static const QRegularExpression dollarTag(QStringLiteral("\\$[A-Za-z_]*\\$"));
    QStringList out;
    QString current;
    auto flush = [&] {
        const QString s = current.trimmed();
        if (!s.isEmpty()) out << s;
        current.clear();
    };
    const qsizetype n = script.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = script.at(i);
        const QChar next = i + 1 < n ? script.at(i + 1) : QChar();
        if (c == QLatin1Char('-') && next == QLatin1Char('-')) {
            const qsizetype end = script.indexOf(QLatin1Char('\n'), i);
            i = end < 0 ? n : end;  // keep the line break
        } else if (c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = script.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? n : end + 2;
            current += QLatin1Char(' ');
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            // A doubled quote inside is read as closing and reopening: same text.
            const qsizetype end = script.indexOf(c, i + 1);
            const qsizetype stop = end < 0 ? n : end + 1;
            current += QStringView(script).mid(i, stop - i);
            i = stop;
        } else if (c == QLatin1Char('$')) {
            const QRegularExpressionMatch m =
                dollarTag.match(script, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch()) {
                const QString tag = m.captured();
                const qsizetype end = script.indexOf(tag, i + tag.size());
                const qsizetype stop = end < 0 ? n : end + tag.size();
                current += QStringView(script).mid(i, stop - i);
                i = stop;
            } else {
                current += c;
                ++i;
            }
        } else if (c == QLatin1Char(';')) {
            flush();
            ++i;
        } else {
            current += c;
            ++i;
        }
    }
    flush();
    return out;
}

void runScript(database::Connection& connection, const QString& script, const QString& origin) {
    for (const QString& statement : splitStatements(script)) {
        try {
            connection.fetchAll(statement);
        } catch (const AutomationError& e) {
            const QString head = statement.section(QLatin1Char('\n'), 0, 0).left(120);
            throw AutomationError(
                e.number(),
                QStringLiteral("%1\n  in %2: %3").arg(e.description(), origin.isEmpty() ? QStringLiteral("script") : origin, head),
                e.source());
        }
    }
}

void withTransaction(database::Connection& connection, const std::function<void()>& work) {
    if (connection.inTransaction()) {
        work();
        return;
    }
    connection.beginTransaction();
    try {
        work();
    } catch (...) {
        if (connection.inTransaction()) {
            try {
                connection.rollbackTransaction();
            } catch (const AutomationError&) {
                // The original failure is the one worth reporting.
            }
        }
        throw;
    }
    connection.commitTransaction();
}

bool hasSchema(database::Connection& connection) {
    if (!connection.isOpen()) automation::raise(err::OperationNotAllowed, QStringLiteral("the connection is closed"));
    const QStringList tables = connection.database().tables();
    for (const QString& t : kMarkerTables)
        if (!tables.contains(t, Qt::CaseInsensitive)) return false;
    return true;
}

void createSchema(database::Connection& connection) {
    if (hasSchema(connection)) return;
    const QString engine = engineName(connection.engine());
    const QStringList files{QStringLiteral("schema.%1.sql").arg(engine), QStringLiteral("procedures.%1.sql").arg(engine),
                            QStringLiteral("resources.sql")};
    withTransaction(connection, [&] {
        for (const QString& file : files) runScript(connection, scriptText(file), file);
    });
}

}  // namespace hostdb
