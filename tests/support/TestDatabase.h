#pragma once
// Every test gets its own database: a SQLite file in a fresh temporary folder,
// or a freshly created PostgreSQL database on the server named by
// TAMRIK_TEST_PG_HOST (socket folder) and TAMRIK_TEST_PG_PORT (user postgres),
// dropped again afterwards. scripts/with-postgres.sh starts such a server.
#include "platform/database/Connection.h"
#include "tests/support/Errors.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <ostream>
#include <string>

namespace testsupport {

using Engine = database::Engine;

std::string engineName(Engine engine);

// TAMRIK_REQUIRE_PG=1: a missing server fails instead of skipping.
bool postgresRequired();

class TestDatabase {
public:
    // Throws std::runtime_error when the database cannot be made.
    explicit TestDatabase(Engine engine);
    ~TestDatabase();
    TestDatabase(const TestDatabase&) = delete;
    TestDatabase& operator=(const TestDatabase&) = delete;

    QString connectionString() const { return connectionString_; }
    // PostgreSQL: the database's name; SQLite: the file.
    QString name() const { return name_; }

    // Runs statements separated by ';' (quotes, comments and $$ bodies are
    // respected), one exec each, over a connection of its own.
    void runScript(const QString& script) const;
    // The first column of the first row (invalid when there is none), read
    // over a connection of its own: an independent look at what was stored.
    QVariant scalar(const QString& sql) const;
    // Every row, its columns joined by '|' (NULL as "NULL"), over a connection of its own.
    QStringList rows(const QString& sql) const;
    qlonglong count(const QString& table, const QString& where = QStringLiteral("1 = 1")) const {
        return scalar(QStringLiteral("select count(*) from %1 where %2").arg(table, where)).toLongLong();
    }

private:
    Engine engine_;
    std::unique_ptr<QTemporaryDir> dir_;
    QString name_;
    QString connectionString_;
};

// Base of suites that run every case on both engines: SetUp skips (or fails,
// when required) without a server, creates the database and calls
// prepareDatabase().
class DatabaseTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    virtual void prepareDatabase() {}

    Engine engine() const { return GetParam(); }
    bool isPostgres() const { return GetParam() == Engine::PostgreSQL; }
    const QString& pick(const QString& sqlite, const QString& postgres) const { return isPostgres() ? postgres : sqlite; }
    TestDatabase& db() { return *db_; }

private:
    std::unique_ptr<TestDatabase> db_;
};

struct EngineParamName {
    std::string operator()(const ::testing::TestParamInfo<Engine>& info) const { return engineName(info.param); }
};

}  // namespace testsupport

namespace database {
inline void PrintTo(Engine engine, std::ostream* os) { *os << testsupport::engineName(engine); }
}  // namespace database

// Instantiates a DatabaseTest suite as Engines/Fixture.Case/SQLite and .../PostgreSQL.
#define TAMRIK_ON_BOTH_ENGINES(Fixture)                                                                          \
    INSTANTIATE_TEST_SUITE_P(Engines, Fixture,                                                                   \
                             ::testing::Values(::testsupport::Engine::SQLite, ::testsupport::Engine::PostgreSQL), \
                             ::testsupport::EngineParamName())
// The same for suites whose cases exercise the dialog's own behaviour, which
// does not depend on the engine (the database only feeds the load): SQLite only.
#define TAMRIK_ON_ONE_ENGINE(Fixture) \
    INSTANTIATE_TEST_SUITE_P(Engines, Fixture, ::testing::Values(::testsupport::Engine::SQLite), ::testsupport::EngineParamName())
