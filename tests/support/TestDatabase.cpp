#include "tests/support/TestDatabase.h"

#include "platform/database/Script.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>
#include <stdexcept>

namespace testsupport {

namespace {

QAtomicInt helperCounter;

[[noreturn]] void fail(const QString& what) { throw std::runtime_error(what.toStdString()); }

QString pgHost() { return qEnvironmentVariable("TAMRIK_TEST_PG_HOST"); }
int pgPort() { return qEnvironmentVariableIntValue("TAMRIK_TEST_PG_PORT"); }

// Runs statements over a QSqlDatabase of its own for the length of the call;
// the rows of the last one (none for one that returns none).
QList<QVariantList> run(Engine engine, const QString& database, const QStringList& statements) {
    const QString name = QStringLiteral("tamrik_test_helper_%1").arg(helperCounter.fetchAndAddRelaxed(1));
    QList<QVariantList> out;
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(engine == Engine::SQLite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), name);
        db.setDatabaseName(database);
        if (engine == Engine::PostgreSQL) {
            db.setHostName(pgHost());
            db.setPort(pgPort());
            db.setUserName(QStringLiteral("postgres"));
        } else {
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
        }
        if (!db.open()) error = QStringLiteral("cannot open %1: %2").arg(database, db.lastError().text());
        for (const QString& sql : statements) {
            if (!error.isEmpty()) break;
            QSqlQuery q(db);
            if (!q.exec(sql)) error = QStringLiteral("%1\n  in: %2").arg(q.lastError().text(), sql);
            out.clear();
            while (q.isSelect() && q.next()) {
                QVariantList row;
                for (int i = 0; i < q.record().count(); ++i) row << q.value(i);
                out << row;
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    if (!error.isEmpty()) fail(error);
    return out;
}

}  // namespace

std::string engineName(Engine engine) { return engine == Engine::SQLite ? "SQLite" : "PostgreSQL"; }

// Why PostgreSQL tests cannot run here (empty when they can).
static QString postgresUnavailable() {
    if (pgHost().isEmpty() || pgPort() <= 0)
        return QStringLiteral("no PostgreSQL server: set TAMRIK_TEST_PG_HOST (socket folder) and TAMRIK_TEST_PG_PORT, "
                              "e.g. run the tests under scripts/with-postgres.sh");
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL"))) return QStringLiteral("the QPSQL driver is not installed");
    return QString();
}

bool postgresRequired() { return qEnvironmentVariable("TAMRIK_REQUIRE_PG") == QLatin1String("1"); }

TestDatabase::TestDatabase(Engine engine) : engine_(engine) {
    if (engine == Engine::SQLite) {
        dir_ = std::make_unique<QTemporaryDir>();
        if (!dir_->isValid()) fail(QStringLiteral("cannot create a temporary folder: %1").arg(dir_->errorString()));
        name_ = dir_->filePath(QStringLiteral("test.db"));
        run(engine, name_, {});  // opening creates the file
        connectionString_ = QStringLiteral("sqlite:") + name_;
        return;
    }
    if (const QString why = postgresUnavailable(); !why.isEmpty()) fail(why);
    name_ = QStringLiteral("tamrik_%1_%2").arg(QCoreApplication::applicationPid()).arg(QUuid::createUuid().toString(QUuid::Id128));
    run(engine, QStringLiteral("postgres"), {QStringLiteral("CREATE DATABASE \"%1\"").arg(name_)});
    connectionString_ = QStringLiteral("postgresql://postgres@/%1?host=%2&port=%3")
                            .arg(name_, QString::fromUtf8(QUrl::toPercentEncoding(pgHost())), QString::number(pgPort()));
}

TestDatabase::~TestDatabase() {
    if (engine_ != Engine::PostgreSQL || name_.isEmpty()) return;
    try {
        run(engine_, QStringLiteral("postgres"), {QStringLiteral("DROP DATABASE IF EXISTS \"%1\" WITH (FORCE)").arg(name_)});
    } catch (const std::exception& e) {
        qWarning("cannot drop test database %s: %s", qPrintable(name_), e.what());
    }
}

void TestDatabase::runScript(const QString& script) const { run(engine_, name_, database::splitStatements(script)); }

QVariant TestDatabase::scalar(const QString& sql) const {
    const QList<QVariantList> all = run(engine_, name_, {sql});
    return all.isEmpty() ? QVariant() : all.first().value(0);
}

QStringList TestDatabase::rows(const QString& sql) const {
    QStringList out;
    for (const QVariantList& row : run(engine_, name_, {sql})) {
        QStringList cells;
        for (const QVariant& v : row) cells << (v.isNull() ? QStringLiteral("NULL") : v.toString());
        out << cells.join(QLatin1Char('|'));
    }
    return out;
}

void DatabaseTest::SetUp() {
    if (isPostgres()) {
        if (const QString why = postgresUnavailable(); !why.isEmpty()) {
            if (postgresRequired()) FAIL() << "TAMRIK_REQUIRE_PG=1 but " << why.toStdString();
            GTEST_SKIP() << why.toStdString();
        }
    }
    try {
        db_ = std::make_unique<TestDatabase>(GetParam());
        prepareDatabase();
    } catch (const std::exception& e) {
        FAIL() << "cannot prepare the " << engineName(GetParam()) << " test database: " << e.what();
    }
}

}  // namespace testsupport
