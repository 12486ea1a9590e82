// Loading the standard and master control zones from the host's database.
#include "tests/zones/ZoneDatabase.h"

#include <QMap>

// Expected records name only the fields that differ from an empty one.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace zonetest;
using cz::MCZRecord;
using cz::SCZRecord;

namespace {

using testsupport::relays;

class ControlZonesLoading : public ZoneDatabaseTest {
protected:
    void prepareDatabase() override {
        ZoneDatabaseTest::prepareDatabase();
        addTimeZones(QStringLiteral("(2, 'Office hours')"));
        addSlots(QStringLiteral("(7, 4, 'S', 2)"));
        tz.LoadTimeZoneInformation(Controller);
    }
    // A row of either zone table ("std" or "master").
    void add(const char* kind, const QString& columns, const QString& values, int controller = Controller) {
        exec(QStringLiteral("insert into controller%1controlzones (controllerid, %2) values (%3, %4)").arg(QLatin1String(kind), columns).arg(controller).arg(values));
    }
    // The zone procedure of a kind, rewritten to select `columns` under `tail`.
    void rewriteZones(const char* kind, const QStringList& columns, const QString& tail) {
        rewriteProcedure(QStringLiteral("sp_fetchallcontroller%1controlzones").arg(QLatin1String(kind)),
                         QStringLiteral("select %1 from controller%2controlzones %3").arg(columns.join(QStringLiteral(", ")), QLatin1String(kind), tail));
    }
    void load() {
        cz::LoadSCZArray(ctx, tz, scz);
        cz::LoadMCZArray(ctx, tz, mcz);
    }
    // Every record of both tables that is not `expected` (by zone) is empty.
    void expectTables(const QMap<int, SCZRecord>& standard, const QMap<int, MCZRecord>& master) {
        for (int n = 0; n < cz::SCZTable::Count; ++n) EXPECT_TRUE(fieldsOf(scz(n)) == fieldsOf(standard.value(n))) << "SCZ " << n;
        for (int n = cz::MCZTable::First; n <= cz::MCZTable::Last; ++n) EXPECT_TRUE(fieldsOf(mcz(n)) == fieldsOf(master.value(n))) << "MCZ " << n;
    }
};
TAMRIK_ON_BOTH_ENGINES(ControlZonesLoading);

TEST_P(ControlZonesLoading, ARowFillsEveryFieldOfItsOwnRecord) {
    const QString yes = pick(QStringLiteral("1"), QStringLiteral("true"));
    add("std", QStringLiteral("controlzoneindex, name, defined, tag, alert, tz_pred, ry1, ry8, xry1, xry64"), QStringLiteral("0, 'Lobby', %1, 1, 0, 4, 1, 1, 1, 1").arg(yes));
    add("std", QStringLiteral("controlzoneindex, name, tag, alert, tz_pred, xry33"), QStringLiteral("191, 'Last', 0, 5, 9, 1"));
    add("std", QStringLiteral("controlzoneindex, tz_pred"), QStringLiteral("7, 150"));
    add("std", QStringLiteral("controlzoneindex, name"), QStringLiteral("100, 'Elsewhere'"), 8);  // another controller's
    QStringList actionValues;
    for (int a = 0; a < 21; ++a) actionValues << QString::number(a + 10);
    add("master", QStringLiteral("mastercontrolzoneindex, name, description, defined, tz_pred, linkedzone, doorgroupid, securitylevel, tag, alert, globid, globout, ") +
                      testsupport::quoted(testsupport::actionColumns()).join(QStringLiteral(", ")),
        QStringLiteral("200, 'Fire', 'All doors', %1, 4, 17, 70000, 3, 1, 0, 9, 1, ").arg(yes) + actionValues.join(QStringLiteral(", ")));
    add("master", QStringLiteral("mastercontrolzoneindex, name, alert, tz_pred"), QStringLiteral("255, 'Last', 1, 8"));
    add("master", QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("192, 'Elsewhere'"), 8);
    scz(0).Changed = mcz(200).Changed = true;  // cleared by the load
    load();

    MCZRecord fire{.MasterControlZoneIndex = 200, .Name = "Fire", .Description = "All doors", .Defined = true, .TimeZoneId = 2, .LinkedZone = 17,
                   .DoorGroupID = 70000, .SecurityLevel = 3, .Tag = true, .GlobalId = 9, .GlobalOut = true};
    for (int a = 0; a < 21; ++a) fire.Actions[a] = static_cast<quint8>(a + 10);
    // Alert: any non-zero number; slot 9 has no generic time zone and 150 is beyond the map.
    expectTables({{0, {.Name = "Lobby", .Defined = true, .Tag = true, .TimeZoneId = 2, .Relay = relays<9>({1, 8}), .ExpRelay = relays<65>({1, 64})}},
                  {7, {.ControlZoneIndex = 7, .TimeZoneId = 1}},
                  {191, {.ControlZoneIndex = 191, .Name = "Last", .Alert = true, .ExpRelay = relays<65>({33})}}},
                 {{200, fire}, {255, {.MasterControlZoneIndex = 255, .Name = "Last", .Alert = true}}});
    EXPECT_EQ(logged(), QStringList{"LookupGenericTZId 9"});

    for (int n : {192, 230, 255}) mcz(n).Changed = true;
    cz::ClearMCZChangedFlags(mcz);
    for (int n = cz::MCZTable::First; n <= cz::MCZTable::Last; ++n) EXPECT_FALSE(mcz(n).Changed) << "zone " << n;
    // Indexes outside the tables are subscript errors; clearing empties every record.
    for (int n : {-1, 192}) EXPECT_EQ(testsupport::errorNumber([&] { scz(n); }), 9) << "SCZ " << n;
    for (int n : {0, 191, 256}) EXPECT_EQ(testsupport::errorNumber([&] { mcz(n); }), 9) << "MCZ " << n;
    scz.clear(), mcz.clear();
    EXPECT_TRUE(fieldsOf(scz(191)) == fieldsOf(SCZRecord{}) && fieldsOf(mcz(200)) == fieldsOf(MCZRecord{}));
}

// Each store is its own step: a bad value spoils only its field, a row
// without a usable number stores nothing, and each failure is logged alone.
TEST_P(ControlZonesLoading, ABadValueSpoilsOnlyItsOwnFieldAndARowWithoutAUsableNumberStoresNothing) {
    add("std", QStringLiteral("controlzoneindex, name, defined, tag, tz_pred, ry2, xry17, xry18"), QStringLiteral("3, null, null, 1, 300, 1, null, 1"));
    add("std", QStringLiteral("controlzoneindex, name"), QStringLiteral("2, 'Two'"));
    add("std", QStringLiteral("controlzoneindex, name, tag"), QStringLiteral("150, 'No number', 1"));
    add("std", QStringLiteral("controlzoneindex, name, tag"), QStringLiteral("192, 'Beyond', 1"));
    add("master", QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("191, 'Below'"));
    add("master", QStringLiteral("mastercontrolzoneindex, name, description, globid, unlock, farm"), QStringLiteral("200, 'Middle', null, 300, 256, 4"));
    add("master", QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("256, 'Above'"));
    QStringList columns = testsupport::quoted(testsupport::standardZoneColumns());
    columns[1] = QStringLiteral("case when controlzoneindex = 150 then null else controlzoneindex end as controlzoneindex");
    rewriteZones("std", columns, QStringLiteral("where controllerid = ? order by controllercontrolzoneid"));
    scz(3).Name = QStringLiteral("Old");
    mcz(200).GlobalId = 5;
    load();

    // The numberless row after zone 2 must not land in it; an overflowing value leaves the field as it was.
    MCZRecord middle{.MasterControlZoneIndex = 200, .Name = "Middle", .GlobalId = 5};
    middle.Actions[18] = 4;
    expectTables({{2, {.ControlZoneIndex = 2, .Name = "Two"}},
                  {3, {.ControlZoneIndex = 3, .Name = "Old", .Tag = true, .Relay = relays<9>({2}), .ExpRelay = relays<65>({18})}}},
                 {{200, middle}});

    // Zone 3: Defined, name, TZ_PRED, xry17; 150 and 192: each of their 79
    // stores, the NULL number once more; MCZ 191 and 256: each of their 34
    // stores; 200: Description, globid, Unlock.
    const QStringList all = logged();
    EXPECT_EQ(all.mid(0, 4), (QStringList{"LoadSCZArray 94", "LoadSCZArray 94", "LoadSCZArray 6", "LoadSCZArray 94"}));
    QMap<QString, int> counts;
    for (const QString& e : all) ++counts[e];
    EXPECT_EQ(counts, (QMap<QString, int>{{"LoadSCZArray 94", 3 + 1}, {"LoadSCZArray 6", 1}, {"LoadSCZArray 9", 2 * 79},
                                          {"LoadMCZArray 94", 1}, {"LoadMCZArray 6", 2}, {"LoadMCZArray 9", 2 * 34}}));
    QStringList lines;
    for (int i = 0; i < 4; ++i) lines << host.journal->errors[i].line.toString();
    lines.removeDuplicates();
    EXPECT_EQ(lines.size(), 4) << "each store reports its own line";
}

TEST_P(ControlZonesLoading, LaterRowsWinAndColumnOrderDoesNotMatter) {
    add("std", QStringLiteral("controlzoneindex, name, ry3, xry9"), QStringLiteral("5, 'First', 1, 1"));
    add("std", QStringLiteral("controlzoneindex, name, tag, ry4, xry10"), QStringLiteral("5, 'Second', 1, 1, 1"), 8);
    add("master", QStringLiteral("mastercontrolzoneindex, name, unlock, ledoff"), QStringLiteral("200, 'First', 1, 2"));
    add("master", QStringLiteral("mastercontrolzoneindex, name, globid, ledoff"), QStringLiteral("200, 'Second', 7, 9"), 8);
    // Controller 8's rows come after 7's, every column in reverse order.
    for (const char* kind : {"std", "master"}) {
        QStringList columns = testsupport::quoted(kind[0] == 's' ? testsupport::standardZoneColumns() : testsupport::masterZoneColumns());
        std::reverse(columns.begin(), columns.end());
        rewriteZones(kind, columns, QStringLiteral("where controllerid in (?, 8) order by controllerid"));
    }
    load();

    MCZRecord second{.MasterControlZoneIndex = 200, .Name = "Second", .GlobalId = 7};
    second.Actions[20] = 9;
    expectTables({{5, {.ControlZoneIndex = 5, .Name = "Second", .Tag = true, .Relay = relays<9>({4}), .ExpRelay = relays<65>({10})}}}, {{200, second}});
    EXPECT_TRUE(host.journal->errors.isEmpty());
}

TEST_P(ControlZonesLoading, AProcedureThatCannotRunIsLoggedOnceAndLoadsNothing) {
    add("std", QStringLiteral("controlzoneindex, name"), QStringLiteral("1, 'One'"));
    add("master", QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("192, 'One'"));
    exec(QStringLiteral("delete from sys_procedures where name like 'sp_fetchallcontroller%'"));
    conn->Close();
    conn->Open(db().connectionString());
    load();
    expectTables({}, {});
    const QString failed = QStringLiteral(" %1").arg(automation::err::ProviderError);
    EXPECT_EQ(logged(), (QStringList{"LoadSCZArray" + failed, "LoadMCZArray" + failed}));
}

}  // namespace
