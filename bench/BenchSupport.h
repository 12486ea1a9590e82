#pragma once
// What the benchmark cases share: sites on either engine (with a twin that
// receives the same statements, so the floor runs on the same data), the
// shipped host over a site, the statements an operation sends as the
// connection's hook sees them, their bare replay through the same driver, and
// the table of figures against floors.
#include "platform/database/Connection.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QObject;

namespace czhost {
class MainWindow;
}
namespace cz {
class ControlZones;
class FrmMainWindow;
}  // namespace cz

namespace bench {

using database::Engine;
using Statement = database::Connection::Statement;

QString engineLabel(Engine engine);
// The engines this run can use: SQLite always, PostgreSQL when the server
// scripts/with-postgres.sh starts is named in the environment.
QList<Engine> availableEngines();

// What a site holds besides the host's schema.
struct SiteSpec {
    int scaleControllers = 0;          // 0: the demo site; otherwise only this many generated controllers
    bool nullExpansionRelays = false;  // every xry column of the demo Warehouse's standard zones NULL
};

// A freshly seeded database and its twin, created equal.
class Site {
public:
    Site(Engine engine, const SiteSpec& spec);
    ~Site();
    Site(const Site&) = delete;
    Site& operator=(const Site&) = delete;

    Engine engine() const { return engine_; }
    QString connectionString() const { return main_; }
    QString twinConnectionString() const { return twin_; }

private:
    Engine engine_;
    QTemporaryDir dir_;
    QString main_, twin_;
    QStringList pgDatabases_;
};

// The statements a connection sends while recording, in order.
class StatementLog {
public:
    explicit StatementLog(database::Connection& connection);
    ~StatementLog();
    void start() {
        statements.clear();
        recording = true;
    }
    void stop() { recording = false; }
    // Where the statements of the current step begin.
    qsizetype mark() const { return statements.size(); }

    QList<Statement> statements;
    bool recording = false;

private:
    database::Connection& connection_;
};

// Statement counts by kind ("select", "update", "savepoint", ...), plus the
// totals "statements" and "round trips".
QMap<QString, int> countByKind(const QList<Statement>& statements, qsizetype from = 0, qsizetype to = -1);

// Runs the caller's statements bare through the same driver on another
// connection: no procedure dispatch, no savepoints, no conversions; every row
// read. With preparedOnce, each distinct text with bound values is prepared
// once and re-executed; otherwise each goes as the connection sent it.
// Returns milliseconds.
class Replayer {
public:
    explicit Replayer(const QString& connectionString);
    ~Replayer();
    double run(const QList<Statement>& statements, qsizetype from, qsizetype to, bool preparedOnce);

private:
    std::unique_ptr<database::Connection> connection_;
};

// The shipped host's main window and the component, over a connection of its own.
class Host {
public:
    explicit Host(const QString& connectionString);
    ~Host();
    database::Connection& connection() { return *connection_; }
    void open(int controller);
    void cancel();
    void ok();
    static cz::FrmMainWindow* dialog();
    static void settle();

private:
    std::unique_ptr<database::Connection> connection_;
    std::unique_ptr<cz::ControlZones> zones_;
    std::unique_ptr<czhost::MainWindow> window_;
};

double millisecondsOf(const std::function<void()>& f);
double median(std::vector<double> v);

// One line of the table.
struct Result {
    QString figure;        // what was measured
    QString engine;        // "SQLite", "PostgreSQL" or "" (no database)
    QString unit;          // "ms", "MB", "round trips"
    double value = 0;      // median of the figure
    std::optional<double> floor;  // median of its floor, measured beside it
    QString target;        // as the issue states it
    // Whether the figure meets the target; empty when there is none.
    std::optional<bool> pass;
    int repetitions = 0;
};
void addResult(const Result& r);
// Statement counts of one operation on one engine.
void addCounts(const QString& operation, Engine engine, const QMap<QString, int>& counts);

void printReport();
void writeJson(const QString& path);

}  // namespace bench
