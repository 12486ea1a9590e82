// What an operator waits for, each figure measured beside its floor in the
// same run: the dialog's open (against the same statements run bare plus one
// repaint of the open dialog), OK with 1 and with 256 changed zones (against
// the same writes bare, each distinct statement prepared once), one
// controller among 2,000 against one alone, the grid's fill and paint against
// a stock QTableView, a highlight change, a resize, the memory of the host
// with the dialog open against an empty dialog, and a load that logs
// thousands of field errors. Prints a table (figure, floor, ratio, target,
// PASS or MISS) and the statements per open and per OK by kind, and writes it
// all as JSON (--czbench_json=FILE).
#include "bench/BenchSupport.h"

#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "dialog/LoadState.h"
#include "host/lib/Seed.h"
#include "master_zones/MCZRecords.h"
#include "platform/automation/AutomationError.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/MessageBox.h"
#include "standard_zones/SCZRecords.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>
#include <QStandardItemModel>
#include <QTableView>
#include <benchmark/benchmark.h>
#include <cstdio>

namespace {

using namespace bench;
using hostdb::demo::Warehouse;

int gRepetitions = 30;
int gSlowRepetitions = 3;  // the load that logs thousands of errors
QString gSelf;             // this program, for the memory probes

void check(bool ok, const char* what) {
    if (!ok) throw std::runtime_error(what);
}

// Sees whether a widget has painted.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted = true;
        return false;
    }
};

// The open as the operator waits for it: the host's open up to the painted
// dialog. The window's expose paints it; where the platform sends none, the
// first paint is asked for, as a screen's expose would.
double timedOpen(Host& host, int controller) {
    return millisecondsOf([&] {
        host.open(controller);
        PaintWatch watch;
        Host::dialog()->installEventFilter(&watch);
        QCoreApplication::processEvents();
        if (!watch.painted) Host::dialog()->repaint();
        Host::dialog()->removeEventFilter(&watch);
    });
}

int firstControllerId(Host& host) {
    return host.connection().fetchAll(QStringLiteral("select min(controller_id) from controllers")).rows.value(0).value(0).toInt();
}

void runCase(benchmark::State& state, const std::function<void(benchmark::State&)>& body) {
    try {
        body(state);
    } catch (const automation::AutomationError& e) {
        state.SkipWithError(e.description().toStdString().c_str());
    } catch (const std::exception& e) {
        state.SkipWithError(e.what());
    }
}

// Runs `once` (a figure and its floor, in ms) each iteration; their medians.
template <typename Once>
std::pair<double, double> medians(benchmark::State& state, Once&& once) {
    std::vector<double> figures, floors;
    for (auto _ : state) {
        const auto [figure, floor] = once();
        state.SetIterationTime(figure / 1000);
        figures.push_back(figure);
        floors.push_back(floor);
    }
    return {median(figures), median(floors)};
}

void openCase(benchmark::State& state, Engine engine) {
    Site site(engine, {});
    Host host(site.connectionString());
    Replayer twin(site.twinConnectionString());
    StatementLog log(host.connection());
    qsizetype openEnd = 0;
    bool buildInOpen = false;  // as the first open of a process does
    auto once = [&] {
        if (buildInOpen) cz::FrmMain::instance().DiscardNextWindow();
        log.start();
        const double open = timedOpen(host, Warehouse);
        openEnd = log.mark();
        // One repaint of the open dialog belongs to the floor.
        const double repaint = millisecondsOf([] { Host::dialog()->repaint(); });
        host.cancel();
        log.stop();
        const double bare = twin.run(log.statements, 0, openEnd, true);
        twin.run(log.statements, openEnd, log.statements.size(), true);  // what the close wrote
        return std::pair{open, bare + repaint};
    };
    once();  // both connections learn their procedures and columns
    const auto [figure, floor] = medians(state, once);
    addResult({QStringLiteral("open (RaiseForm to painted dialog)"), engineLabel(engine), QStringLiteral("ms"), figure, floor,
               QStringLiteral("<= 1.5 x (bare + repaint)"), figure <= 1.5 * floor, gRepetitions});
    const QMap<QString, int> counts = countByKind(log.statements, 0, openEnd);
    // The window is built while the host is idle after a close; a first open builds it.
    buildInOpen = true;
    std::vector<double> firsts, firstFloors;
    for (int i = 0; i < gRepetitions; ++i) {
        const auto [first, firstFloor] = once();
        firsts.push_back(first);
        firstFloors.push_back(firstFloor);
    }
    addResult({QStringLiteral("first open (window built in the open)"), engineLabel(engine), QStringLiteral("ms"), median(firsts),
               median(firstFloors), QStringLiteral("-"), std::nullopt, gRepetitions});
    addCounts(QStringLiteral("open"), engine, counts);
    if (engine == Engine::PostgreSQL)
        addResult({QStringLiteral("round trips per open (controller 5)"), engineLabel(engine), QStringLiteral("round trips"),
                   double(counts.value(QStringLiteral("round trips"))), std::nullopt, QStringLiteral("<= 45"),
                   counts.value(QStringLiteral("round trips")) <= 45, 1});
}

// Every zone OK writes gets a new name, so every update changes its row.
void editZones(int zones, int round) {
    cz::LoadState& s = cz::FrmMain::instance().state();
    if (zones == 1) {
        s.SCZArray(5).Name = QStringLiteral("Bench %1").arg(round);
        s.SCZArray(5).Changed = true;
        return;
    }
    for (int n = 0; n < cz::SCZTable::Count; ++n) {
        s.SCZArray(n).Name = QStringLiteral("S%1-%2").arg(round).arg(n);
        s.SCZArray(n).Changed = true;
    }
    for (int n = cz::MCZTable::First; n <= cz::MCZTable::Last; ++n) {
        s.MCZArray(n).Name = QStringLiteral("M%1-%2").arg(round).arg(n);
        s.MCZArray(n).Changed = true;
    }
}

void okCase(benchmark::State& state, Engine engine, int zones) {
    Site site(engine, {});
    Host host(site.connectionString());
    Replayer twin(site.twinConnectionString());
    StatementLog log(host.connection());
    qsizetype okStart = 0, okEnd = 0;
    int round = 0;
    auto once = [&] {
        log.start();
        host.open(Warehouse);
        editZones(zones, ++round);
        okStart = log.mark();
        const double ok = millisecondsOf([&] { host.ok(); });
        okEnd = log.mark();
        check(!cz::FrmMain::instance().isLoaded(), "OK did not close the dialog");
        Host::settle();
        log.stop();
        // The twin receives everything, so its rows stay the site's; only OK's writes are timed.
        twin.run(log.statements, 0, okStart, true);
        const double bare = twin.run(log.statements, okStart, okEnd, true);
        twin.run(log.statements, okEnd, log.statements.size(), true);
        return std::pair{ok, bare};
    };
    once();
    const auto [figure, floor] = medians(state, once);
    const bool all = zones > 1;
    addResult({QStringLiteral("OK with %1 changed zone%2").arg(zones).arg(all ? "s" : ""), engineLabel(engine), QStringLiteral("ms"), figure,
               floor, all ? QStringLiteral("<= 1.5 x bare writes") : QStringLiteral("-"),
               all ? std::optional<bool>(figure <= 1.5 * floor) : std::nullopt, gRepetitions});
    addCounts(QStringLiteral("OK(%1)").arg(zones), engine, countByKind(log.statements, okStart, okEnd));
}

void scaleCase(benchmark::State& state, Engine engine) {
    Site one(engine, {1, false});
    Site many(engine, {2000, false});
    Host small(one.connectionString());
    Host large(many.connectionString());
    const int id = firstControllerId(small);
    check(id == firstControllerId(large), "the sites do not share their first controller");
    auto once = [&](bool largeFirst) {
        double figure = 0, floor = 0;
        for (int pass = 0; pass < 2; ++pass) {
            const bool isLarge = (pass == 0) == largeFirst;
            Host& host = isLarge ? large : small;
            (isLarge ? figure : floor) = timedOpen(host, id);
            host.cancel();
        }
        return std::pair{figure, floor};
    };
    once(true);
    bool largeFirst = false;
    const auto [figure, floor] = medians(state, [&] { return once(largeFirst = !largeFirst); });
    addResult({QStringLiteral("open among 2,000 controllers (floor: 1)"), engineLabel(engine), QStringLiteral("ms"), figure, floor,
               QStringLiteral("<= 1.1 x one controller"), figure <= 1.1 * floor, gRepetitions});
}

void fieldErrorsCase(benchmark::State& state, Engine engine) {
    Site site(engine, {0, true});
    Host host(site.connectionString());
    Replayer twin(site.twinConnectionString());
    StatementLog log(host.connection());
    qsizetype openEnd = 0;
    const auto [figure, floor] = medians(state, [&] {
        log.start();
        const double open = timedOpen(host, Warehouse);
        openEnd = log.mark();
        host.cancel();
        log.stop();
        const double bare = twin.run(log.statements, 0, openEnd, true);
        twin.run(log.statements, openEnd, log.statements.size(), true);
        return std::pair{open, bare};
    });
    const bool sqlite = engine == Engine::SQLite;
    addResult({QStringLiteral("open logging 12,288 field errors"), engineLabel(engine), QStringLiteral("ms"), figure, floor,
               sqlite ? QStringLiteral("< 2000 ms") : QStringLiteral("-"), sqlite ? std::optional<bool>(figure < 2000) : std::nullopt,
               gSlowRepetitions});
    addCounts(QStringLiteral("open, errors"), engine, countByKind(log.statements, 0, openEnd));
}

// The standard grid's shape and contents, as the dialog fills them.
QString cellText(int r, int c, int round) { return c == 0 ? QString::number(r - 1) : ((r * 7 + c + round) % 5 ? QString() : QStringLiteral("X")); }

void gridCase(benchmark::State& state) {
    constexpr int rows = 193, cols = 77;
    controls::FlexGrid grid;
    grid.resize(780, 420);
    grid.setRows(rows);
    grid.setCols(cols);
    grid.setFixedCols(2);
    grid.show();
    QStandardItemModel model(rows - 1, cols);
    QTableView view;
    view.setModel(&model);
    view.resize(780, 420);
    view.show();
    QCoreApplication::processEvents();
    QStringList headers;
    for (int c = 0; c < cols; ++c) headers << cellText(0, c, 0);
    int round = 0;
    auto once = [&] {
        ++round;
        const double figure = millisecondsOf([&] {
            for (int r = 1; r < rows; ++r) {
                for (int c = 0; c < cols; ++c) grid.setTextMatrix(r, c, cellText(r, c, round));
                grid.setRow(r);
                grid.setCol(1);
                grid.setCellBackColor(Qt::white);
            }
            QImage painted = grid.viewport()->grab().toImage();
            benchmark::DoNotOptimize(painted.bits());
        });
        const double floor = millisecondsOf([&] {
            model.setHorizontalHeaderLabels(headers);
            for (int r = 1; r < rows; ++r) {
                for (int c = 0; c < cols; ++c) model.setData(model.index(r - 1, c), cellText(r, c, round));
                model.setData(model.index(r - 1, 1), QColor(Qt::white), Qt::BackgroundRole);
            }
            QImage painted = view.viewport()->grab().toImage();
            benchmark::DoNotOptimize(painted.bits());
        });
        return std::pair{figure, floor};
    };
    once();
    const auto [figure, floor] = medians(state, once);
    addResult({QStringLiteral("grid fill and paint (floor: QTableView)"), QString(), QStringLiteral("ms"), figure, floor,
               QStringLiteral("<= 1.1 x QTableView"), figure <= 1.1 * floor, gRepetitions});
}

void click(controls::FlexGrid* grid, int r, int c) {
    const QPointF at = QRectF(grid->cellRect(r, c)).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, grid->viewport()->mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &press);
    QApplication::sendEvent(grid->viewport(), &release);
}

// Highlight changes and resizes of the open dialog (the engine does not matter).
void dialogCase(benchmark::State& state, bool resize) {
    Site site(Engine::SQLite, {});
    Host host(site.connectionString());
    host.open(Warehouse);
    cz::FrmMainWindow* w = Host::dialog();
    QCoreApplication::processEvents();
    const QSize base = w->size();
    int round = 0;
    auto once = [&] {
        ++round;
        return millisecondsOf([&] {
            if (resize) {
                w->resize(round % 2 ? base + QSize(40, 30) : base);
            } else {
                // A relay cell of another row: the highlight moves there.
                click(w->grdSCZ, round % 2 ? 3 : 4, 5);
            }
            QCoreApplication::processEvents();
        });
    };
    once();
    once();
    std::vector<double> figures;
    for (auto _ : state) {
        const double figure = once();
        state.SetIterationTime(figure / 1000);
        figures.push_back(figure);
    }
    host.cancel();
    const double figure = median(figures);
    if (resize)
        addResult({QStringLiteral("resize of the open dialog"), QString(), QStringLiteral("ms"), figure, std::nullopt,
                   QStringLiteral("<= 5 ms"), figure <= 5, gRepetitions});
    else
        addResult({QStringLiteral("highlight change (click, repaint)"), QString(), QStringLiteral("ms"), figure, std::nullopt,
                   QStringLiteral("<= 0.3 ms"), figure <= 0.3, gRepetitions});
}

// Runs this program as a probe: the host with the dialog open, or with an
// empty dialog of the given size; returns its resident kB and the dialog's size.
std::pair<double, QSize> probe(const QString& connectionString, const QString& what) {
    QProcess p;
    p.start(gSelf, {QStringLiteral("--czbench_probe=") + what, QStringLiteral("--czbench_site=") + connectionString});
    if (!p.waitForFinished(120000) || p.exitCode() != 0) throw std::runtime_error("a memory probe failed");
    const QStringList parts = QString::fromUtf8(p.readAllStandardOutput()).simplified().split(QLatin1Char(' '));
    if (parts.size() != 3) throw std::runtime_error("a memory probe said nothing");
    return {parts[0].toDouble(), QSize(parts[1].toInt(), parts[2].toInt())};
}

void memoryCase(benchmark::State& state, Engine engine) {
    Site site(engine, {});
    std::vector<double> figures, floors;
    for (auto _ : state) {
        const auto [dialogKb, size] = probe(site.connectionString(), QStringLiteral("dialog"));
        const auto [emptyKb, unused] = probe(site.connectionString(), QStringLiteral("empty:%1x%2").arg(size.width()).arg(size.height()));
        state.SetIterationTime(0.001);
        figures.push_back(dialogKb / 1024);
        floors.push_back(emptyKb / 1024);
    }
    const double figure = median(figures), floor = median(floors);
    addResult({QStringLiteral("resident memory, dialog open (floor: empty)"), engineLabel(engine), QStringLiteral("MB"), figure, floor,
               QStringLiteral("<= empty dialog + 10 MB"), figure <= floor + 10, static_cast<int>(figures.size())});
}

long residentKb() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

int runProbe(const QString& what, const QString& connectionString) {
    Host host(connectionString);
    QSize size;
    std::unique_ptr<QDialog> empty;
    if (what == QLatin1String("dialog")) {
        host.open(Warehouse);
        size = Host::dialog()->size();
    } else {
        const QStringList wh = what.section(QLatin1Char(':'), 1).split(QLatin1Char('x'));
        empty = std::make_unique<QDialog>();
        empty->resize(wh.value(0).toInt(), wh.value(1).toInt());
        empty->show();
        size = empty->size();
    }
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    std::printf("%ld %d %d\n", residentKb(), size.width(), size.height());
    std::fflush(stdout);
    return 0;
}

void add(const QString& name, int repetitions, std::function<void(benchmark::State&)> body) {
    benchmark::RegisterBenchmark(name.toStdString().c_str(), [body](benchmark::State& s) { runCase(s, body); })
        ->Iterations(repetitions)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
}

// Removes every --name=value from the arguments; the last one counts.
QString takeFlag(int& argc, char** argv, const char* name) {
    const QByteArray prefix = QByteArray("--") + name + "=";
    QString value;
    for (int i = 1; i < argc;) {
        if (!QByteArray(argv[i]).startsWith(prefix)) {
            ++i;
            continue;
        }
        value = QString::fromLocal8Bit(argv[i] + prefix.size());
        for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
        --argc;
    }
    return value;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    const QString probeWhat = takeFlag(argc, argv, "czbench_probe");
    const QString probeSite = takeFlag(argc, argv, "czbench_site");
    QString json = takeFlag(argc, argv, "czbench_json");
    if (const QString n = takeFlag(argc, argv, "czbench_repetitions"); !n.isEmpty()) gRepetitions = std::max(1, n.toInt());
    if (const QString n = takeFlag(argc, argv, "czbench_slow_repetitions"); !n.isEmpty()) gSlowRepetitions = std::max(1, n.toInt());
    QApplication app(argc, argv);
    gSelf = QCoreApplication::applicationFilePath();
    // A benchmark answers every box by itself.
    controls::MessageBoxService::setHandler([](const controls::MessageBoxRequest&) { return controls::mb::OK; });
    if (!probeWhat.isEmpty()) return runProbe(probeWhat, probeSite);

    for (const Engine engine : availableEngines()) {
        const QString e = engineLabel(engine);
        add(QStringLiteral("open/") + e, gRepetitions, [engine](benchmark::State& s) { openCase(s, engine); });
        add(QStringLiteral("ok_1/") + e, gRepetitions, [engine](benchmark::State& s) { okCase(s, engine, 1); });
        add(QStringLiteral("ok_256/") + e, gRepetitions, [engine](benchmark::State& s) { okCase(s, engine, 256); });
        add(QStringLiteral("scale_2000/") + e, gRepetitions, [engine](benchmark::State& s) { scaleCase(s, engine); });
        add(QStringLiteral("field_errors/") + e, gSlowRepetitions, [engine](benchmark::State& s) { fieldErrorsCase(s, engine); });
        add(QStringLiteral("memory/") + e, 3, [engine](benchmark::State& s) { memoryCase(s, engine); });
    }
    add(QStringLiteral("grid_fill_paint"), gRepetitions, gridCase);
    add(QStringLiteral("highlight"), gRepetitions, [](benchmark::State& s) { dialogCase(s, false); });
    add(QStringLiteral("resize"), gRepetitions, [](benchmark::State& s) { dialogCase(s, true); });

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printReport();
    if (json.isEmpty()) json = QStringLiteral("czbench.json");
    writeJson(json);
    return 0;
}
