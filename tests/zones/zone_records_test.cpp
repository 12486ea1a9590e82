// Loading the standard and master control zones from the host's database.
#include "tests/support/Errors.h"
#include "tests/zones/ZoneDatabase.h"

using namespace zonetest;
using cz::MCZRecord;
using cz::SCZRecord;

namespace {

class ControlZonesLoading : public ZoneDatabaseTest {
protected:
    void prepareDatabase() override {
        ZoneDatabaseTest::prepareDatabase();
        addTimeZone(2, QStringLiteral("Office hours"));
        addSlot(4, QStringLiteral("S"), 2);
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
    QStringList standardColumns() const { return testsupport::quoted(testsupport::standardZoneColumns()); }
    QStringList masterColumns() const { return testsupport::quoted(testsupport::masterZoneColumns()); }

    cz::SCZTable scz;
    cz::MCZTable mcz;
};
TAMRIK_ON_BOTH_ENGINES(ControlZonesLoading);

TEST_P(ControlZonesLoading, ARowFillsEveryFieldOfItsOwnRecord) {
    add("std", QStringLiteral("controlzoneindex, name, defined, tag, alert, tz_pred, ry1, ry8, xry1, xry64"),
        QStringLiteral("0, 'Lobby', %1, 1, 0, 4, 1, 1, 1, 1").arg(pick(QStringLiteral("1"), QStringLiteral("true"))));
    add("std", QStringLiteral("controlzoneindex, name, tag, alert, tz_pred, xry33"), QStringLiteral("191, 'Last', 0, 5, 9, 1"));
    add("std", QStringLiteral("controlzoneindex, tz_pred"), QStringLiteral("7, 150"));
    add("std", QStringLiteral("controlzoneindex, name"), QStringLiteral("100, 'Elsewhere'"), 8);  // another controller's
    QStringList actionValues;
    for (int a = 0; a < 21; ++a) actionValues << QString::number(a + 10);
    add("master", QStringLiteral("mastercontrolzoneindex, name, description, defined, tz_pred, linkedzone, doorgroupid, securitylevel, tag, "
                                 "alert, globid, globout, ") + masterColumns().mid(13).join(QStringLiteral(", ")),
        QStringLiteral("200, 'Fire', 'All doors', %1, 4, 17, 70000, 3, 1, 0, 9, 1, ").arg(pick(QStringLiteral("1"), QStringLiteral("true"))) + actionValues.join(QStringLiteral(", ")));
    add("master", QStringLiteral("mastercontrolzoneindex, name, alert, tz_pred"), QStringLiteral("255, 'Last', 1, 8"));
    add("master", QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("192, 'Elsewhere'"), 8);
    scz(0).Changed = mcz(200).Changed = true;

    load();
    SCZRecord lobby;
    lobby.Name = QStringLiteral("Lobby");
    lobby.Defined = lobby.Tag = true;
    lobby.TimeZoneId = 2;
    lobby.Relay[1] = lobby.Relay[8] = lobby.ExpRelay[1] = lobby.ExpRelay[64] = true;
    EXPECT_TRUE(fieldsOf(scz(0)) == fieldsOf(lobby)) << "Changed is cleared too";
    SCZRecord last;
    last.ControlZoneIndex = 191;
    last.Name = QStringLiteral("Last");
    last.Alert = true;  // any non-zero number
    last.ExpRelay[33] = true;
    EXPECT_TRUE(fieldsOf(scz(191)) == fieldsOf(last)) << "slot 9 has no generic time zone: 0";
    EXPECT_EQ(scz(7).TimeZoneId, 1) << "a number beyond the map";
    EXPECT_TRUE(fieldsOf(scz(100)) == fieldsOf(SCZRecord{}));

    MCZRecord fire;
    fire.MasterControlZoneIndex = 200;
    fire.Name = QStringLiteral("Fire");
    fire.Description = QStringLiteral("All doors");
    fire.Defined = fire.Tag = fire.GlobalOut = true;
    fire.TimeZoneId = 2;
    fire.LinkedZone = 17;
    fire.DoorGroupID = 70000;
    fire.SecurityLevel = 3;
    fire.GlobalId = 9;
    for (int a = 0; a < 21; ++a) fire.Actions[a] = static_cast<quint8>(a + 10);
    EXPECT_TRUE(fieldsOf(mcz(200)) == fieldsOf(fire));
    EXPECT_EQ(mcz(255).Name, QStringLiteral("Last"));
    EXPECT_TRUE(mcz(255).Alert);
    EXPECT_EQ(mcz(255).TimeZoneId, 0);
    EXPECT_TRUE(fieldsOf(mcz(192)) == fieldsOf(MCZRecord{}));
    EXPECT_EQ(logged(), QStringList{"LookupGenericTZId 9"});

    for (int n : {192, 230, 255}) mcz(n).Changed = true;
    cz::ClearMCZChangedFlags(mcz);
    for (int n = cz::MCZTable::First; n <= cz::MCZTable::Last; ++n) EXPECT_FALSE(mcz(n).Changed) << "zone " << n;
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
    QStringList columns = standardColumns();
    columns[1] = QStringLiteral("case when controlzoneindex = 150 then null else controlzoneindex end as controlzoneindex");
    rewriteZones("std", columns, QStringLiteral("where controllerid = ? order by controllercontrolzoneid"));
    scz(3).Name = QStringLiteral("Old");
    mcz(200).GlobalId = 5;
    load();

    SCZRecord three;
    three.ControlZoneIndex = 3;
    three.Name = QStringLiteral("Old");
    three.Tag = three.Relay[2] = three.ExpRelay[18] = true;
    EXPECT_TRUE(fieldsOf(scz(3)) == fieldsOf(three));
    EXPECT_EQ(scz(2).Name, QStringLiteral("Two"));
    EXPECT_FALSE(scz(2).Tag) << "the numberless row after it must not land in zone 2";
    for (int n = 0; n < cz::SCZTable::Count; ++n) EXPECT_TRUE(n == 2 || n == 3 || fieldsOf(scz(n)) == fieldsOf(SCZRecord{})) << "zone " << n;
    const MCZRecord& middle = mcz(200);
    EXPECT_EQ(middle.Name, QStringLiteral("Middle"));
    EXPECT_EQ(middle.Description, QString());
    EXPECT_EQ(middle.GlobalId, 5) << "an overflowing value leaves the field as it was";
    EXPECT_EQ(middle.Actions[4], 0);
    EXPECT_EQ(middle.Actions[18], 4);
    for (int n = cz::MCZTable::First; n <= cz::MCZTable::Last; ++n) EXPECT_TRUE(n == 200 || fieldsOf(mcz(n)) == fieldsOf(MCZRecord{})) << "zone " << n;

    // Zone 3: Defined, name, TZ_PRED, xry17; 150 and 192: each of their 79
    // stores, the NULL number once more; MCZ 191 and 256: each of their 34
    // stores; 200: Description, globid, Unlock.
    const QStringList all = logged();
    EXPECT_EQ(all.mid(0, 4), (QStringList{"LoadSCZArray 94", "LoadSCZArray 94", "LoadSCZArray 6", "LoadSCZArray 94"}));
    EXPECT_EQ(all.count(QStringLiteral("LoadSCZArray 9")), 2 * 79);
    EXPECT_EQ(all.count(QStringLiteral("LoadSCZArray 94")), 3 + 1);
    EXPECT_EQ(all.count(QStringLiteral("LoadMCZArray 9")), 2 * 34);
    EXPECT_EQ(all.count(QStringLiteral("LoadMCZArray 94")), 1);
    EXPECT_EQ(all.count(QStringLiteral("LoadMCZArray 6")), 2);
    EXPECT_EQ(all.size(), 4 + 2 * 79 + 1 + 2 * 34 + 3);
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
    QStringList standard = standardColumns(), master = masterColumns();
    std::reverse(standard.begin(), standard.end());
    std::reverse(master.begin(), master.end());
    rewriteZones("std", standard, QStringLiteral("where controllerid in (?, 8) order by controllerid"));
    rewriteZones("master", master, QStringLiteral("where controllerid in (?, 8) order by controllerid"));
    load();

    SCZRecord second;
    second.ControlZoneIndex = 5;
    second.Name = QStringLiteral("Second");
    second.Tag = second.Relay[4] = second.ExpRelay[10] = true;
    EXPECT_TRUE(fieldsOf(scz(5)) == fieldsOf(second));
    EXPECT_EQ(mcz(200).Name, QStringLiteral("Second"));
    EXPECT_EQ(mcz(200).GlobalId, 7);
    EXPECT_EQ(mcz(200).Actions[4], 0);
    EXPECT_EQ(mcz(200).Actions[20], 9);
    EXPECT_TRUE(host.journal->errors.isEmpty());
}

TEST_P(ControlZonesLoading, AProcedureThatCannotRunIsLoggedOnceAndLoadsNothing) {
    add("std", QStringLiteral("controlzoneindex, name"), QStringLiteral("1, 'One'"));
    add("master", QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("192, 'One'"));
    exec(QStringLiteral("delete from sys_procedures where name like 'sp_fetchallcontroller%'"));
    conn->Close();
    conn->Open(db().connectionString());
    load();
    EXPECT_EQ(scz(1).Name, QString());
    EXPECT_EQ(mcz(192).Name, QString());
    EXPECT_EQ(logged(), (QStringList{"LoadSCZArray " + QString::number(automation::err::ProviderError),
                                     "LoadMCZArray " + QString::number(automation::err::ProviderError)}));
}

TEST(ControlZonesTables, IndexesOutsideTheTablesAreSubscriptErrors) {
    cz::SCZTable scz;
    cz::MCZTable mcz;
    for (int n : {-1, 192}) EXPECT_EQ(testsupport::errorNumber([&] { scz(n); }), 9) << "SCZ " << n;
    for (int n : {0, 191, 256}) EXPECT_EQ(testsupport::errorNumber([&] { mcz(n); }), 9) << "MCZ " << n;
    scz(191).Name = QStringLiteral("x");
    mcz(255).Actions[20] = 3;
    scz.clear();
    mcz.clear();
    EXPECT_TRUE(fieldsOf(scz(191)) == fieldsOf(SCZRecord{}));
    EXPECT_TRUE(fieldsOf(mcz(255)) == fieldsOf(MCZRecord{}));
}

}  // namespace
