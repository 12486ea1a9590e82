// Loading the standard and master control zones from the host's database.
#include "host/lib/Seed.h"
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
    void addStandard(const QString& columns, const QString& values, int controller = Controller) {
        exec(QStringLiteral("insert into controllerstdcontrolzones (controllerid, %1) values (%2, %3)").arg(columns).arg(controller).arg(values));
    }
    void addMaster(const QString& columns, const QString& values, int controller = Controller) {
        exec(QStringLiteral("insert into controllermastercontrolzones (controllerid, %1) values (%2, %3)").arg(columns).arg(controller).arg(values));
    }
    // The zone procedure's statement over its own table with the columns given.
    static QString zoneSelect(const QStringList& columns, const QString& table, const QString& tail) {
        return QStringLiteral("select %1 from %2 %3").arg(columns.join(QStringLiteral(", ")), table, tail);
    }
    void loadStandard() { cz::LoadSCZArray(ctx, tz, scz); }
    void loadMaster() { cz::LoadMCZArray(ctx, tz, mcz); }

    cz::SCZTable scz;
    cz::MCZTable mcz;
};
TAMRIK_ON_BOTH_ENGINES(ControlZonesLoading);

TEST_P(ControlZonesLoading, AStandardRowFillsEveryFieldOfItsOwnRecord) {
    addStandard(QStringLiteral("controlzoneindex, name, defined, tag, alert, tz_pred, ry1, ry8, xry1, xry64"),
                QStringLiteral("0, 'Lobby', %1, 1, 0, 4, 1, 1, 1, 1").arg(truth(true)));
    addStandard(QStringLiteral("controlzoneindex, name, tag, alert, tz_pred, xry33"), QStringLiteral("191, 'Last', 0, 5, 9, 1"));
    addStandard(QStringLiteral("controlzoneindex, tz_pred"), QStringLiteral("7, 150"));
    addStandard(QStringLiteral("controlzoneindex, name"), QStringLiteral("100, 'Elsewhere'"), 8);  // another controller's
    scz(0).Changed = true;

    loadStandard();
    SCZRecord lobby;
    lobby.Name = QStringLiteral("Lobby");
    lobby.Defined = lobby.Tag = true;
    lobby.TimeZoneId = 2;
    lobby.Relay[1] = lobby.Relay[8] = lobby.ExpRelay[1] = lobby.ExpRelay[64] = true;
    EXPECT_TRUE(fieldsOf(scz(0)) == fieldsOf(lobby));

    SCZRecord last;
    last.ControlZoneIndex = 191;
    last.Name = QStringLiteral("Last");
    last.Alert = true;  // any non-zero number
    last.ExpRelay[33] = true;
    EXPECT_TRUE(fieldsOf(scz(191)) == fieldsOf(last)) << "slot 9 has no generic time zone: 0";

    EXPECT_EQ(scz(7).TimeZoneId, 1) << "a number beyond the map";
    EXPECT_EQ(scz(7).ControlZoneIndex, 7);
    EXPECT_TRUE(fieldsOf(scz(100)) == fieldsOf(SCZRecord{}));
    ASSERT_EQ(host.journal->errors.size(), 1);
    EXPECT_EQ(host.journal->errors[0].location, QStringLiteral("LookupGenericTZId"));
}

TEST_P(ControlZonesLoading, ABadStandardValueSpoilsOnlyItsOwnField) {
    addStandard(QStringLiteral("controlzoneindex, name, defined, tag, tz_pred, ry2, xry17, xry18"), QStringLiteral("3, null, null, 1, 300, 1, null, 1"));
    scz(3).Name = QStringLiteral("Old");
    loadStandard();

    const SCZRecord& r = scz(3);
    EXPECT_EQ(r.ControlZoneIndex, 3);
    EXPECT_EQ(r.Name, QStringLiteral("Old"));
    EXPECT_FALSE(r.Defined);
    EXPECT_TRUE(r.Tag);
    EXPECT_EQ(r.TimeZoneId, 0);
    EXPECT_TRUE(r.Relay[2]);
    EXPECT_FALSE(r.ExpRelay[17]);
    EXPECT_TRUE(r.ExpRelay[18]);

    const QList<LoggedError> logged = errorsAt(QStringLiteral("LoadSCZArray"));
    ASSERT_EQ(logged.size(), 4);
    EXPECT_EQ(host.journal->errors.size(), 4);
    QList<int> numbers;
    QStringList lines;
    for (const LoggedError& e : logged) {
        numbers << e.number;
        lines << e.line.toString();
        EXPECT_EQ(e.controllerId, QVariant::fromValue(qint32(Controller)));
        EXPECT_EQ(e.zero, QVariant::fromValue(qint16(0)));
    }
    EXPECT_EQ(numbers, (QList<int>{94, 94, 6, 94}));  // Defined, name, TZ_PRED, xry17
    lines.removeDuplicates();
    EXPECT_EQ(lines.size(), 4) << "each store is its own step with its own line";
}

TEST_P(ControlZonesLoading, AStandardRowWithoutAUsableNumberStoresNothing) {
    addStandard(QStringLiteral("controlzoneindex, name"), QStringLiteral("2, 'Two'"));
    addStandard(QStringLiteral("controlzoneindex, name, tag"), QStringLiteral("150, 'No number', 1"));
    addStandard(QStringLiteral("controlzoneindex, name, tag"), QStringLiteral("192, 'Beyond', 1"));
    QStringList columns = standardZoneColumns();
    columns[1] = QStringLiteral("case when controlzoneindex = 150 then null else controlzoneindex end as controlzoneindex");
    rewriteProcedure(QStringLiteral("sp_fetchallcontrollerstdcontrolzones"),
                     zoneSelect(columns, QStringLiteral("controllerstdcontrolzones"), QStringLiteral("where controllerid = ? order by controllercontrolzoneid")));
    loadStandard();

    EXPECT_EQ(scz(2).Name, QStringLiteral("Two"));
    EXPECT_FALSE(scz(2).Tag) << "the numberless row after it must not land in zone 2";
    for (int n = 0; n < cz::SCZTable::Count; ++n) {
        if (n == 2) continue;
        EXPECT_TRUE(fieldsOf(scz(n)) == fieldsOf(SCZRecord{})) << "zone " << n;
    }
    // Both rows: each of their 79 stores fails; the NULL number itself once more.
    EXPECT_EQ(countNumber(QStringLiteral("LoadSCZArray"), 9), 2 * 79);
    EXPECT_EQ(countNumber(QStringLiteral("LoadSCZArray"), 94), 1);
    EXPECT_EQ(host.journal->errors.size(), 2 * 79 + 1);
}

TEST_P(ControlZonesLoading, LaterRowsWinAndColumnOrderDoesNotMatter) {
    addStandard(QStringLiteral("controlzoneindex, name, ry3, xry9"), QStringLiteral("5, 'First', 1, 1"));
    addStandard(QStringLiteral("controlzoneindex, name, tag, ry4, xry10"), QStringLiteral("5, 'Second', 1, 1, 1"), 8);
    addMaster(QStringLiteral("mastercontrolzoneindex, name, unlock, ledoff"), QStringLiteral("200, 'First', 1, 2"));
    addMaster(QStringLiteral("mastercontrolzoneindex, name, globid, ledoff"), QStringLiteral("200, 'Second', 7, 9"), 8);
    // Controller 8's rows come after 7's, every column in reverse order.
    QStringList standard = standardZoneColumns(), master = masterZoneColumns();
    std::reverse(standard.begin(), standard.end());
    std::reverse(master.begin(), master.end());
    rewriteProcedure(QStringLiteral("sp_fetchallcontrollerstdcontrolzones"),
                     zoneSelect(standard, QStringLiteral("controllerstdcontrolzones"), QStringLiteral("where controllerid in (?, 8) order by controllerid")));
    rewriteProcedure(QStringLiteral("sp_fetchallcontrollermastercontrolzones"),
                     zoneSelect(master, QStringLiteral("controllermastercontrolzones"), QStringLiteral("where controllerid in (?, 8) order by controllerid")));
    loadStandard();
    loadMaster();

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
    addStandard(QStringLiteral("controlzoneindex, name"), QStringLiteral("1, 'One'"));
    addMaster(QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("192, 'One'"));
    exec(QStringLiteral("delete from sys_procedures where name like 'sp_fetchallcontroller%'"));
    conn->Close();
    conn->Open(db().connectionString());
    loadStandard();
    loadMaster();
    EXPECT_EQ(scz(1).Name, QString());
    EXPECT_EQ(mcz(192).Name, QString());
    ASSERT_EQ(host.journal->errors.size(), 2);
    EXPECT_EQ(host.journal->errors[0].location, QStringLiteral("LoadSCZArray"));
    EXPECT_EQ(host.journal->errors[1].location, QStringLiteral("LoadMCZArray"));
}

TEST_P(ControlZonesLoading, AMasterRowFillsEveryFieldOfItsOwnRecord) {
    QStringList actionValues;
    for (int a = 0; a < 21; ++a) actionValues << QString::number(a + 10);
    addMaster(QStringLiteral("mastercontrolzoneindex, name, description, defined, tz_pred, linkedzone, doorgroupid, securitylevel, tag, alert, "
                             "globid, globout, ") + masterZoneColumns().mid(13).join(QStringLiteral(", ")),
              QStringLiteral("200, 'Fire', 'All doors', %1, 4, 17, 70000, 3, 1, 0, 9, 1, ").arg(truth(true)) + actionValues.join(QStringLiteral(", ")));
    addMaster(QStringLiteral("mastercontrolzoneindex, name, alert, tz_pred"), QStringLiteral("255, 'Last', 1, 8"));
    addMaster(QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("192, 'Elsewhere'"), 8);  // another controller's
    mcz(200).Changed = true;

    loadMaster();
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
    EXPECT_TRUE(host.journal->errors.isEmpty());

    for (int n : {192, 230, 255}) mcz(n).Changed = true;
    cz::ClearMCZChangedFlags(mcz);
    for (int n = cz::MCZTable::First; n <= cz::MCZTable::Last; ++n) EXPECT_FALSE(mcz(n).Changed) << "zone " << n;
}

TEST_P(ControlZonesLoading, MasterRowsOutOfRangeAndBadValuesAreLoggedPerStore) {
    addMaster(QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("191, 'Below'"));
    addMaster(QStringLiteral("mastercontrolzoneindex, name, description, globid, unlock, farm"), QStringLiteral("200, 'Middle', null, 300, 256, 4"));
    addMaster(QStringLiteral("mastercontrolzoneindex, name"), QStringLiteral("256, 'Above'"));
    mcz(200).GlobalId = 5;
    loadMaster();

    const MCZRecord& r = mcz(200);
    EXPECT_EQ(r.Name, QStringLiteral("Middle"));
    EXPECT_EQ(r.Description, QString());
    EXPECT_EQ(r.GlobalId, 5) << "an overflowing value leaves the field as it was";
    EXPECT_EQ(r.Actions[4], 0);
    EXPECT_EQ(r.Actions[18], 4);
    for (int n = cz::MCZTable::First; n <= cz::MCZTable::Last; ++n) {
        if (n == 200) continue;
        EXPECT_TRUE(fieldsOf(mcz(n)) == fieldsOf(MCZRecord{})) << "zone " << n;
    }
    // 191 and 256: each of their 34 stores; 200: Description, globid, Unlock.
    EXPECT_EQ(countNumber(QStringLiteral("LoadMCZArray"), 9), 2 * 34);
    EXPECT_EQ(countNumber(QStringLiteral("LoadMCZArray"), 94), 1);
    EXPECT_EQ(countNumber(QStringLiteral("LoadMCZArray"), 6), 2);
    EXPECT_EQ(host.journal->errors.size(), 2 * 34 + 3);
}

TEST_P(ControlZonesLoading, TheDemoSiteLoadsCleanly) {
    exec(QStringLiteral("delete from controllers"));
    exec(QStringLiteral("delete from generictimezones"));
    hostdb::seedDemo(*conn);
    ctx.m_ControllerId = hostdb::demo::MainEntrance;
    tz.LoadTimeZoneInformation(ctx.m_ControllerId);
    loadStandard();
    loadMaster();
    EXPECT_EQ(infoTexts().size(), 1) << "the demo's one slot without a generic time zone";
    EXPECT_EQ(tz.PanelTimeZoneMap[hostdb::demo::EmptySlot], 1);
    for (int n = 0; n < cz::SCZTable::Count; ++n) EXPECT_EQ(scz(n).ControlZoneIndex, n);
    for (int n = cz::MCZTable::First; n <= cz::MCZTable::Last; ++n) EXPECT_EQ(mcz(n).MasterControlZoneIndex, n);
    EXPECT_TRUE(host.journal->errors.isEmpty());
    EXPECT_TRUE(errorBoxes().isEmpty());
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
