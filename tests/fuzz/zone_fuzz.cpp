// libFuzzer target: stores what the input says into one controller's zone rows
// (records [table: even standard, odd master] [zone] [column] [kind, see value()]
// [payload]), then loads and saves the zones stored into and the one the last
// byte names, through the host's real objects on an in-memory SQLite database.
// A sanitizer report is a finding; so is a save that leaves its transaction open.
#include "diagnostics/HostContext.h"
#include "host/lib/HostDatabase.h"
#include "host/lib/HostObjects.h"
#include "host/lib/Seed.h"
#include "host/lib/StandIns.h"
#include "master_zones/MCZRecords.h"
#include "master_zones/MCZSave.h"
#include "platform/automation/AutomationError.h"
#include "platform/controls/MessageBox.h"
#include "platform/database/Connection.h"
#include "reference/TimeZones.h"
#include "standard_zones/SCZRecords.h"
#include "standard_zones/SCZSave.h"

#include <QApplication>
#include <QSet>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>

namespace {

constexpr int kController = hostdb::demo::Warehouse;
// The controller keeps this many rows of each kind: every path of the loaders
// and the saves is there, and a run stays quick.
constexpr int kStdRows = 16, kMasterRows = 8;
const QStringList kRestored{QStringLiteral("controllerstdcontrolzones"), QStringLiteral("controllermastercontrolzones"),
                            QStringLiteral("controllertimezoneslots")};

struct Fixture {
    database::Connection conn;
    std::unique_ptr<czhost::Communication> comm;
    czhost::TimeZoneComponent timeZoneComponent;
    QStringList columns[2];  // standard, master; controllerid left out
};
Fixture* fx = nullptr;

// The input read front to back; past its end every byte is 0.
struct Input {
    const uint8_t *p, *end;
    bool more() const { return p < end; }
    uint8_t byte() { return p < end ? *p++ : 0; }
    int64_t word(int bytes) {
        uint64_t v = 0;
        for (int i = 0; i < bytes; ++i) v = (v << 8) | byte();
        return static_cast<int64_t>(v);
    }
    QByteArray bytes(size_t n) {
        const QByteArray out(reinterpret_cast<const char*>(p), static_cast<qsizetype>(std::min<size_t>(n, end - p)));
        p += out.size();
        return out;
    }
};

// The value a record stores, and the SQL expression that stores it (text as
// raw bytes, so invalid UTF-8 reaches the database as it is).
std::pair<QString, QVariant> value(Input& in) {
    const auto number = [](qlonglong v) { return std::pair{QStringLiteral("?"), QVariant(v)}; };
    const auto text = [](const QByteArray& v) { return std::pair{QStringLiteral("cast(? as text)"), QVariant(v)}; };
    switch (in.byte() % 12) {
    case 0: return {QStringLiteral("NULL"), {}};
    case 1: return number(-qlonglong(in.byte()));
    case 2: return number(255 + in.byte() % 3 - 1);
    case 3: return number(32767 + in.byte() % 3 - 1);
    case 4: return number(std::numeric_limits<int32_t>::max() + qlonglong(in.byte() % 3) - 1);
    case 5: return number(in.word(8));
    case 6: return number(std::numeric_limits<int64_t>::min() + in.byte() % 2);
    case 7: return {QStringLiteral("?"), QVariant(static_cast<double>(in.word(4)) / 7.0)};
    case 8: return text(in.bytes(in.byte() % 48));
    case 9: return text(in.bytes(1 + in.byte() % 4).repeated(1 + (in.byte() << 6)));  // 1 to 4 bytes repeated, up to 64 KiB
    case 10: return number(static_cast<int8_t>(in.byte()));
    default: return {QStringLiteral("?"), QVariant(QString::number(in.word(2)))};  // a number as text
    }
}

void install() {
    static int argc = 1;
    static char name[] = "zone_fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(argc, argv);
    controls::MessageBoxService::setHandler([](const controls::MessageBoxRequest&) { return controls::mb::OK; });
    czhost::registerStandIns();
    fx = new Fixture;
    fx->conn.Open(QStringLiteral("sqlite::memory:"));  // a file's journal would cost most of each run
    hostdb::createSchema(fx->conn);
    hostdb::seedDemo(fx->conn);
    for (const auto& [table, first] : {std::pair{"controllerstdcontrolzones where controlzoneindex", kStdRows},
                                       {"controllermastercontrolzones where mastercontrolzoneindex", 192 + kMasterRows}})
        fx->conn.fetchAll(QStringLiteral("delete from %1 >= %2 and controllerid = %3").arg(QLatin1String(table)).arg(first).arg(kController));
    for (const QString& t : kRestored)  // the rows as seeded, put back before every input (a save may give a time zone a slot)
        fx->conn.fetchAll(QStringLiteral("create table pristine_%1 as select * from %1 where controllerid = %2").arg(t).arg(kController));
    fx->conn.setLockTimeout(0);
    fx->comm = std::make_unique<czhost::Communication>(&fx->conn, QStringLiteral("fuzz"));
    fx->timeZoneComponent.setDBConnection(&fx->conn);
    fx->timeZoneComponent.setNTConnection(fx->comm.get());
    for (int master = 0; master < 2; ++master) {
        const QString sql = QStringLiteral("select name from pragma_table_info('%1') where name <> 'controllerid'").arg(kRestored[master]);
        for (const QVariantList& row : fx->conn.fetchAll(sql).rows) fx->columns[master] << row[0].toString();
    }
}

void restore() {
    hostdb::withTransaction(fx->conn, [] {
        for (const QString& t : kRestored) {
            fx->conn.fetchAll(QStringLiteral("delete from %1 where controllerid = %2").arg(t).arg(kController));
            fx->conn.fetchAll(QStringLiteral("insert into %1 select * from pristine_%1").arg(t));
        }
        for (const char* t : {"downloadqueue", "eventlog", "errorlog"}) fx->conn.fetchAll(QStringLiteral("delete from %1").arg(QLatin1String(t)));
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!fx) install();
    restore();
    Input in{data, data + size};
    QSet<int> changed{size > 0 ? data[size - 1] : 0};
    // At most 16 stores an input: each changed zone costs the save a dozen
    // statements, and variety comes from many inputs, not long ones.
    for (int n = 0; n < 16 && in.more(); ++n) {
        const int master = in.byte() & 1;
        const int zone = master ? 192 + in.byte() % kMasterRows : in.byte() % kStdRows;
        const QString column = fx->columns[master].at(in.byte() % fx->columns[master].size());
        const auto [expression, v] = value(in);
        changed.insert(zone);
        try {  // a value the schema refuses (a NOT NULL column, a duplicate key) stores nothing
            fx->conn.fetchAll(QStringLiteral("update %1 set \"%2\" = %3 where controllerid = %4 and %5controlzoneindex = %6")
                                  .arg(kRestored[master], column, expression)
                                  .arg(kController)
                                  .arg(master ? QStringLiteral("master") : QString())
                                  .arg(zone),
                              expression == QLatin1String("NULL") ? QVariantList() : QVariantList{v});
        } catch (const automation::AutomationError&) {
        }
    }

    cz::HostContext ctx;
    ctx.m_NTConnection = automation::ObjectRef::borrowed(fx->comm.get());
    ctx.m_DBConnection = automation::ObjectRef::borrowed(&fx->conn);
    ctx.m_ControllerId = kController;
    automation::ObjectRef controllerObject, timeZoneObject = automation::ObjectRef::borrowed(&fx->timeZoneComponent);
    cz::TimeZones tz{ctx, timeZoneObject};  // holds on to the reference
    auto scz = std::make_unique<cz::SCZTable>();
    auto mcz = std::make_unique<cz::MCZTable>();
    tz.LoadTimeZoneInformation(kController);
    cz::LoadSCZArray(ctx, tz, *scz);
    cz::LoadMCZArray(ctx, tz, *mcz);
    for (int z : std::as_const(changed)) (z < 192 ? (*scz)(z).Changed : (*mcz)(z).Changed) = true;
    cz::SaveSCZData(ctx, tz, *scz, controllerObject);
    cz::SaveMCZData(ctx, tz, *mcz, controllerObject);
    fx->comm->endSession();
    // Whatever failed, the saves ended their transactions and let go of the controller.
    if (fx->conn.inTransaction() || controllerObject) {
        std::fprintf(stderr, "zone_fuzz: a save left its transaction open or kept the controller object\n");
        std::abort();
    }
    return 0;
}
