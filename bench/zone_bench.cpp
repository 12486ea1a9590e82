// Benchmarks of what an operator waits for: the grid filling and painting,
// the dialog opening on a seeded site, and one controller's zones read from a
// site of thousands of controllers.
#include "component/ControlZones.h"
#include "dialog/FrmMain.h"
#include "dialog/FrmMainWindow.h"
#include "host/lib/HostDatabase.h"
#include "host/lib/HostObjects.h"
#include "host/lib/Seed.h"
#include "host/lib/StandIns.h"
#include "platform/automation/Dispatch.h"
#include "platform/controls/FlexGrid.h"
#include "platform/controls/MessageBox.h"
#include "platform/database/Connection.h"
#include "reference/TimeZones.h"
#include "standard_zones/SCZRecords.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// A fresh SQLite site with `controllers` controllers (the demo site when 0).
struct Site {
    QTemporaryDir dir;
    database::Connection connection;
    explicit Site(int controllers) {
        const QString path = dir.filePath(QStringLiteral("site.db"));
        QFile(path).open(QIODevice::WriteOnly);
        connection.Open(QStringLiteral("sqlite:") + path);
        hostdb::createSchema(connection);
        hostdb::seedDemo(connection);
        if (controllers > 0) hostdb::seedScale(connection, controllers);
    }
};

void BM_GridFillAndPaint(benchmark::State& state) {
    controls::FlexGrid grid;
    grid.resize(780, 420);
    grid.setRows(193);
    grid.setCols(77);
    grid.setFixedCols(2);
    for (auto _ : state) {
        for (int r = 1; r < 193; ++r) {
            grid.setRow(r);
            for (int c = 0; c < 77; ++c) grid.setTextMatrix(r, c, (r * 7 + c) % 5 ? QString() : QStringLiteral("X"));
            grid.setCol(1);
            grid.setCellBackColor(Qt::white);
        }
        QImage painted = grid.viewport()->grab().toImage();
        benchmark::DoNotOptimize(painted.bits());
    }
}
BENCHMARK(BM_GridFillAndPaint)->Unit(benchmark::kMillisecond);

void BM_DialogOpenAndClose(benchmark::State& state) {
    Site site(0);
    czhost::registerStandIns();
    QWidget mainWindow;
    czhost::HostObject host(&mainWindow);
    czhost::Communication comm(&site.connection, QStringLiteral("admin"));
    cz::ControlZones zones;
    for (auto _ : state) {
        automation::setProperty(&zones, QStringLiteral("Parent"), automation::fromObject(&host));
        automation::setProperty(&zones, QStringLiteral("DBConnection"), automation::fromObject(&site.connection));
        automation::setProperty(&zones, QStringLiteral("NTConnection"), automation::fromObject(&comm));
        QVariantList args{hostdb::demo::Warehouse};
        automation::callByRef(&zones, QStringLiteral("RaiseForm"), args);
        cz::FrmMain::instance().CmdCancel_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_DialogOpenAndClose)->Unit(benchmark::kMillisecond);

void BM_LoadZonesFromALargeSite(benchmark::State& state) {
    Site site(static_cast<int>(state.range(0)));
    cz::HostContext ctx;
    ctx.m_DBConnection = automation::ObjectRef::borrowed(&site.connection);
    ctx.m_ControllerId = hostdb::demo::Warehouse;
    automation::ObjectRef noTimeZoneObject;
    cz::TimeZones timeZones(ctx, noTimeZoneObject);
    timeZones.LoadTimeZoneInformation(ctx.m_ControllerId);
    cz::SCZTable table;
    for (auto _ : state) cz::LoadSCZArray(ctx, timeZones, table);
}
BENCHMARK(BM_LoadZonesFromALargeSite)->Arg(0)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A benchmark answers every box by itself.
    controls::MessageBoxService::setHandler([](const controls::MessageBoxRequest&) { return controls::mb::OK; });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
