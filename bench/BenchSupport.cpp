#include "bench/BenchSupport.h"

#include "component/ControlZones.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "host/lib/HostDatabase.h"
#include "host/lib/MainWindow.h"
#include "host/lib/Seed.h"
#include "host/lib/StandIns.h"
#include "platform/automation/AutomationError.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace bench {

namespace {

QString pgHost() { return qEnvironmentVariable("TAMRIK_TEST_PG_HOST"); }
int pgPort() { return qEnvironmentVariableIntValue("TAMRIK_TEST_PG_PORT"); }

QString pgConnectionString(const QString& database) {
    return QStringLiteral("postgresql://postgres@/%1?host=%2&port=%3").arg(database, pgHost()).arg(pgPort());
}

void pgAdmin(const QString& sql) {
    database::Connection admin;
    admin.Open(pgConnectionString(QStringLiteral("postgres")));
    admin.execute(sql);
}

void seed(const QString& connectionString, const SiteSpec& spec) {
    database::Connection c;
    c.Open(connectionString);
    hostdb::createSchema(c);
    if (spec.scaleControllers > 0) {
        hostdb::seedScale(c, spec.scaleControllers);
    } else {
        hostdb::seedDemo(c);
    }
    if (spec.nullExpansionRelays) {
        QStringList sets;
        for (int k = 1; k <= 64; ++k) sets << QStringLiteral("xry%1 = NULL").arg(k);
        c.execute(QStringLiteral("update controllerstdcontrolzones set %1 where controllerid = %2")
                      .arg(sets.join(QStringLiteral(", ")))
                      .arg(hostdb::demo::Warehouse));
    }
}

struct Sample {
    std::vector<Result> results;
    QList<std::tuple<QString, Engine, QMap<QString, int>>> counts;
};
Sample& collected() {
    static Sample s;
    return s;
}

QString kindOf(const Statement& s) {
    if (s.sql.startsWith(QLatin1String("--"))) return QStringLiteral("catalogue");
    const QString head = s.sql.trimmed().section(QLatin1Char(' '), 0, 1, QString::SectionSkipEmpty).toLower();
    if (head.startsWith(QLatin1String("rollback to"))) return QStringLiteral("rollback to savepoint");
    QString first = head.section(QLatin1Char(' '), 0, 0);
    if (first == QLatin1String("set") || first == QLatin1String("pragma")) return QStringLiteral("lock wait setting");
    return first;
}

QString formatValue(double v, const QString& unit) {
    if (unit == QLatin1String("round trips")) return QString::number(std::lround(v));
    return QString::number(v, 'f', v < 10 ? 3 : 1);
}

}  // namespace

QString engineLabel(Engine engine) { return engine == Engine::SQLite ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL"); }

QList<Engine> availableEngines() {
    QList<Engine> engines{Engine::SQLite};
    if (pgHost().isEmpty() || pgPort() <= 0) {
        std::fprintf(stderr, "czbench: no PostgreSQL server named (TAMRIK_TEST_PG_HOST/PORT): SQLite only\n");
        return engines;
    }
    try {
        pgAdmin(QStringLiteral("select 1"));
        engines << Engine::PostgreSQL;
    } catch (const automation::AutomationError& e) {
        std::fprintf(stderr, "czbench: PostgreSQL unreachable (%s): SQLite only\n", qPrintable(e.description()));
    }
    return engines;
}

Site::Site(Engine engine, const SiteSpec& spec) : engine_(engine) {
    if (engine == Engine::SQLite) {
        main_ = QStringLiteral("sqlite:") + dir_.filePath(QStringLiteral("site.db"));
        QFile(dir_.filePath(QStringLiteral("site.db"))).open(QIODevice::WriteOnly);
        seed(main_, spec);
        if (!QFile::copy(dir_.filePath(QStringLiteral("site.db")), dir_.filePath(QStringLiteral("twin.db"))))
            throw std::runtime_error("cannot copy the site");
        twin_ = QStringLiteral("sqlite:") + dir_.filePath(QStringLiteral("twin.db"));
        return;
    }
    const QString base = QStringLiteral("czbench_%1").arg(QUuid::createUuid().toString(QUuid::Id128).left(12));
    pgAdmin(QStringLiteral("CREATE DATABASE %1").arg(base));
    pgDatabases_ << base;
    main_ = pgConnectionString(base);
    seed(main_, spec);
    pgAdmin(QStringLiteral("CREATE DATABASE %1_twin TEMPLATE %1").arg(base));
    pgDatabases_ << base + QStringLiteral("_twin");
    twin_ = pgConnectionString(base + QStringLiteral("_twin"));
}

Site::~Site() {
    for (const QString& name : std::as_const(pgDatabases_)) {
        try {
            pgAdmin(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
        } catch (const automation::AutomationError& e) {
            std::fprintf(stderr, "czbench: cannot drop %s: %s\n", qPrintable(name), qPrintable(e.description()));
        }
    }
}

StatementLog::StatementLog(database::Connection& connection) : connection_(connection) {
    connection_.setStatementHook([this](const Statement& s) {
        if (recording) statements << s;
        return false;
    });
}

StatementLog::~StatementLog() { connection_.setStatementHook(nullptr); }

QMap<QString, int> countByKind(const QList<Statement>& statements, qsizetype from, qsizetype to) {
    if (to < 0) to = statements.size();
    QMap<QString, int> counts;
    for (qsizetype i = from; i < to; ++i) {
        const Statement& s = statements.at(i);
        ++counts[kindOf(s)];
        ++counts[QStringLiteral("statements")];
        counts[QStringLiteral("round trips")] += s.roundTrips;
    }
    return counts;
}

Replayer::Replayer(const QString& connectionString) : connection_(std::make_unique<database::Connection>()) {
    connection_->Open(connectionString);
}

Replayer::~Replayer() = default;

double Replayer::run(const QList<Statement>& statements, qsizetype from, qsizetype to, bool preparedOnce) {
    QSqlDatabase db = connection_->database();
    const bool sqlite = connection_->engine() == Engine::SQLite;
    double ms = 0;
    ms = millisecondsOf([&] {
        QHash<QString, std::shared_ptr<QSqlQuery>> prepared;
        auto readAll = [](QSqlQuery& q) {
            if (!q.isSelect()) return;
            const int n = q.record().count();
            while (q.next())
                for (int i = 0; i < n; ++i) (void)q.value(i);
        };
        for (qsizetype i = from; i < to; ++i) {
            const Statement& s = statements.at(i);
            if (s.own) continue;
            bool ok = true;
            if (s.sql == QLatin1String("BEGIN")) {
                ok = db.transaction();
            } else if (s.sql == QLatin1String("COMMIT")) {
                ok = db.commit();
            } else if (s.sql == QLatin1String("ROLLBACK")) {
                ok = db.rollback();
            } else if (s.params.isEmpty()) {
                QSqlQuery q(db);
                if (sqlite) q.setForwardOnly(true);
                ok = q.exec(s.sql);
                readAll(q);
            } else if (preparedOnce) {
                std::shared_ptr<QSqlQuery>& q = prepared[s.sql];
                if (!q) {
                    q = std::make_shared<QSqlQuery>(db);
                    if (sqlite) q->setForwardOnly(true);
                    ok = q->prepare(s.sql);
                }
                for (int p = 0; p < s.params.size(); ++p) q->bindValue(p, s.params.at(p));
                ok = ok && q->exec();
                readAll(*q);
                q->finish();
            } else {
                QSqlQuery q(db);
                if (sqlite) q.setForwardOnly(true);
                ok = q.prepare(s.sql);
                for (const QVariant& p : s.params) q.addBindValue(p);
                ok = ok && q.exec();
                readAll(q);
            }
            if (!ok) std::fprintf(stderr, "czbench: the floor's statement failed: %s\n", qPrintable(s.sql.left(100)));
        }
    });
    return ms;
}

Host::Host(const QString& connectionString)
    : connection_(std::make_unique<database::Connection>()), zones_(std::make_unique<cz::ControlZones>()) {
    connection_->Open(connectionString);
    czhost::registerStandIns();
    window_ = std::make_unique<czhost::MainWindow>(connection_.get(), QStringLiteral("admin"), zones_.get());
}

Host::~Host() {
    if (cz::FrmMain::instance().isLoaded()) cz::FrmMain::instance().Unload();
    settle();
    window_.reset();
}

void Host::open(int controller) {
    window_->openControlZones(controller);
    if (!cz::FrmMain::instance().isLoaded()) throw std::runtime_error("the dialog did not open");
}

void Host::cancel() {
    cz::FrmMain::instance().CmdCancel_Click();
    settle();
}

void Host::ok() { cz::FrmMain::instance().cmdOK_Click(); }

cz::FrmMainWindow* Host::dialog() { return cz::FrmMain::instance().window(); }

void Host::settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

double millisecondsOf(const std::function<void()>& f) {
    const auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double median(std::vector<double> v) {
    if (v.empty()) return std::nan("");
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

void addResult(const Result& r) { collected().results.push_back(r); }

void addCounts(const QString& operation, Engine engine, const QMap<QString, int>& counts) {
    collected().counts.append({operation, engine, counts});
}

void printReport() {
    const Sample& s = collected();
    std::printf("\n%-44s %-10s %12s %12s %8s  %-28s %s\n", "figure", "engine", "median", "floor", "ratio", "target", "");
    for (const Result& r : s.results) {
        const QString floor = r.floor ? formatValue(*r.floor, r.unit) : QStringLiteral("-");
        const QString ratio = r.floor && *r.floor > 0 ? QString::number(r.value / *r.floor, 'f', 2) : QStringLiteral("-");
        const QString verdict = !r.pass ? QString() : (*r.pass ? QStringLiteral("PASS") : QStringLiteral("MISS"));
        std::printf("%-44s %-10s %9s %-2s %9s %-2s %8s  %-28s %s\n", qPrintable(r.figure), qPrintable(r.engine),
                    qPrintable(formatValue(r.value, r.unit)), qPrintable(r.unit == QLatin1String("round trips") ? QStringLiteral("rt") : r.unit),
                    qPrintable(floor), qPrintable(r.floor ? (r.unit == QLatin1String("round trips") ? QStringLiteral("rt") : r.unit) : QString()),
                    qPrintable(ratio), qPrintable(r.target), qPrintable(verdict));
    }
    // Statements per operation and kind, one column per operation and engine.
    QStringList columns, kinds;
    for (const auto& [op, engine, counts] : s.counts) {
        columns << op + QLatin1Char('/') + engineLabel(engine);
        for (auto it = counts.cbegin(); it != counts.cend(); ++it)
            if (!kinds.contains(it.key()) && it.key() != QLatin1String("statements") && it.key() != QLatin1String("round trips")) kinds << it.key();
    }
    if (columns.isEmpty()) return;
    kinds.sort();
    kinds << QStringLiteral("statements") << QStringLiteral("round trips");
    std::printf("\nstatements by kind%*s", 8, "");
    for (const QString& c : columns) std::printf(" %16s", qPrintable(c));
    std::printf("\n");
    for (const QString& k : kinds) {
        std::printf("%-26s", qPrintable(k));
        for (const auto& entry : s.counts) std::printf(" %16d", std::get<2>(entry).value(k));
        std::printf("\n");
    }
    std::printf("(round trips: PostgreSQL's messages to the server and back; a bound statement costs three when prepared for one use)\n");
}

void writeJson(const QString& path) {
    const Sample& s = collected();
    QJsonArray results;
    for (const Result& r : s.results) {
        QJsonObject o{{QStringLiteral("figure"), r.figure}, {QStringLiteral("engine"), r.engine}, {QStringLiteral("unit"), r.unit},
                      {QStringLiteral("median"), r.value}, {QStringLiteral("target"), r.target},
                      {QStringLiteral("repetitions"), r.repetitions}};
        if (r.floor) {
            o.insert(QStringLiteral("floor"), *r.floor);
            if (*r.floor > 0) o.insert(QStringLiteral("ratio"), r.value / *r.floor);
        }
        if (r.pass) o.insert(QStringLiteral("verdict"), *r.pass ? QStringLiteral("PASS") : QStringLiteral("MISS"));
        results.append(o);
    }
    QJsonArray counts;
    for (const auto& [op, engine, byKind] : s.counts) {
        QJsonObject kinds;
        for (auto it = byKind.cbegin(); it != byKind.cend(); ++it) kinds.insert(it.key(), it.value());
        counts.append(QJsonObject{{QStringLiteral("operation"), op}, {QStringLiteral("engine"), engineLabel(engine)}, {QStringLiteral("counts"), kinds}});
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "czbench: cannot write %s\n", qPrintable(path));
        return;
    }
    f.write(QJsonDocument(QJsonObject{{QStringLiteral("results"), results}, {QStringLiteral("statements"), counts}}).toJson());
    std::printf("JSON: %s\n", qPrintable(path));
}

}  // namespace bench
