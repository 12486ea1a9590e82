// The generic time zone catalogue, the controller's time zone map and the
// conversions between them.
#include "host/lib/StandIns.h"
#include "tests/zones/ZoneDatabase.h"

using namespace zonetest;

namespace {

class TimeZonesLoading : public ZoneDatabaseTest {};
TAMRIK_ON_BOTH_ENGINES(TimeZonesLoading);

TEST_P(TimeZonesLoading, LoadsTheCatalogueInProcedureOrderAndMapsEveryListedSlot) {
    tz.LoadTimeZoneInformation(Controller);
    EXPECT_TRUE(tz.GenericTZArray.isEmpty()) << "an empty catalogue is no fault";
    EXPECT_EQ(tz.LookupGenericTZName(1), QStringLiteral("??????"));

    // Past the catalogue's first block, in the procedure's order (by name).
    for (int id = 4; id <= 250; ++id) addTimeZone(id, QStringLiteral("TZ %1").arg(id, 3, 10, QLatin1Char('0')));
    addTimeZone(1, QStringLiteral("Always"));
    addTimeZone(2, QStringLiteral("Office hours"));
    addTimeZone(3, QStringLiteral("Night"));
    addSlot(0, QStringLiteral("S"), 2);
    addSlot(5, QStringLiteral("M"), 3);
    addSlot(149, QStringLiteral("G"), 1);
    addSlot(10, QStringLiteral("S"), 0);  // not synchronised: no generic time zone
    addSlot(6, QStringLiteral("S"), 3, 8);  // another controller's slot
    boxes.boxes.clear();
    host.journal->errors.clear();

    tz.LoadTimeZoneInformation(Controller);

    ASSERT_EQ(tz.GenericTZArray.size(), 250);
    EXPECT_EQ(tz.GenericTZArray[0].Name, QStringLiteral("Always"));
    EXPECT_EQ(tz.GenericTZArray[1].GenericTimeZoneId, 3);
    EXPECT_EQ(tz.GenericTZArray[2].Name, QStringLiteral("Office hours"));
    EXPECT_EQ(tz.GenericTZArray[2].GenericTimeZoneId, 2);
    EXPECT_EQ(tz.GenericTZArray[249].Name, QStringLiteral("TZ 250"));

    EXPECT_EQ(tz.PanelTimeZoneMap[0], 2);
    EXPECT_EQ(tz.PanelTimeZoneMap[5], 3);
    EXPECT_EQ(tz.PanelTimeZoneMap[149], 1);
    EXPECT_EQ(tz.PanelTimeZoneMap[10], 1) << "a slot without a generic time zone falls back to 1";
    EXPECT_EQ(std::count(tz.PanelTimeZoneMap.begin(), tz.PanelTimeZoneMap.end(), 0), 146);
    EXPECT_EQ(infoTexts(), QStringList{QStringLiteral("No generic TZ found for controller TZ 10 . Recommend synchronization.")});
    EXPECT_EQ(boxes.boxes.size(), 1);

    EXPECT_EQ(tz.LookupGenericTZId(5), 3);
    EXPECT_EQ(tz.LookupGenericTZId(6), 0) << "a slot no list names has no generic time zone";
    EXPECT_EQ(tz.LookupGenericTZName(3), QStringLiteral("Night"));
    EXPECT_TRUE(host.journal->errors.isEmpty());
}

TEST_P(TimeZonesLoading, ALaterListOverwritesAnEarlierOneForTheSameSlot) {
    addTimeZone(2, QStringLiteral("Office hours"));
    addTimeZone(11, QStringLiteral("Early"));
    addTimeZone(12, QStringLiteral("Late"));
    addSlot(7, QStringLiteral("S"), 0);
    addSlot(4, QStringLiteral("M"), 2);
    // The standard and grand-master lists both name slot 7 and each gives it
    // its own generic time zone as it is read: the map keeps what the
    // grand-master list found, since that list is read last.
    rewriteProcedure(QStringLiteral("sp_fetchalldefinedcontrollertimezones"),
                     QStringLiteral("update controllertimezoneslots set generictimezoneid = 11 where controllerid = ? and slot = 7 "
                                    "returning slot as timezoneindex"));
    rewriteProcedure(QStringLiteral("sp_fetchalldefinedcontrollergrandtimezones"),
                     QStringLiteral("update controllertimezoneslots set generictimezoneid = 12 where controllerid = ? and slot = 7 "
                                    "returning slot as grandmastertimezoneindex"));
    tz.LoadPanelTimeZoneMap(Controller);
    EXPECT_EQ(tz.PanelTimeZoneMap[7], 12);
    EXPECT_EQ(tz.PanelTimeZoneMap[4], 2);
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_P(TimeZonesLoading, AMissingGenericIdIsSynchronisedOnEveryLookup) {
    czhost::TimeZoneComponent component;
    component.setDBConnection(conn.get());
    timeZoneObject = ObjectRef::borrowed(&component);
    for (int id : {4, 5, 6}) addTimeZone(id, QStringLiteral("TZ %1").arg(id));
    addSlot(0, QStringLiteral("S"), 5);
    addSlot(1, QStringLiteral("G"), 4);
    addSlot(3, QStringLiteral("M"), 5);
    tz.LoadTimeZoneInformation(Controller);

    EXPECT_EQ(tz.LookupPanelTZNumber(Controller, 5), 0) << "the lowest slot holding the id";
    EXPECT_EQ(tz.LookupPanelTZNumber(Controller, 0), 2) << "id 0: the lowest slot without a generic time zone, no synchronisation";
    EXPECT_EQ(db().count(QStringLiteral("controllertimezoneslots")), 3);

    EXPECT_EQ(tz.LookupPanelTZNumber(Controller, 6), 2) << "the slot the component gave it";
    EXPECT_EQ(db().scalar(QStringLiteral("select generictimezoneid from controllertimezoneslots where controllerid = 7 and slot = 2")).toInt(), 6);
    EXPECT_EQ(tz.PanelTimeZoneMap[2], 0) << "the map is not updated";
    EXPECT_EQ(tz.LookupPanelTZNumber(Controller, 6), 2);
    EXPECT_EQ(db().count(QStringLiteral("controllertimezoneslots"), QStringLiteral("generictimezoneid = 6")), 1);
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

// Faults inside the loaders: each reports with its own location and ends.
TEST_P(TimeZonesLoading, FaultsAreShownWithTheFailingOperationsLocation) {
    addTimeZone(2, QStringLiteral("Office hours"));
    addSlot(0, QStringLiteral("S"), 2);
    addSlot(5, QStringLiteral("M"), 2);

    rewriteProcedure(QStringLiteral("sp_fetchallgenerictimezonenames"), QStringLiteral("select null as name, 1 as generictimezoneid"));
    tz.LoadTimeZoneInformation(Controller);
    EXPECT_EQ(errorBoxes(), QStringList{QStringLiteral("frmMain.LoadGenericTZArray 94")});
    EXPECT_EQ(tz.PanelTimeZoneMap[5], 2) << "the map still loads";

    boxes.boxes.clear();
    rewriteProcedure(QStringLiteral("sp_fetchalldefinedcontrollertimezones"),
                     QStringLiteral("select slot as timezoneindex from controllertimezoneslots where controllerid = ? and kind = 'S' "
                                    "union all select 150"));
    tz.LoadPanelTimeZoneMap(Controller);
    EXPECT_EQ(infoTexts(), QStringList{QStringLiteral("No generic TZ found for controller TZ 150 . Recommend synchronization.")});
    EXPECT_EQ(errorBoxes(), QStringList{QStringLiteral("frmMain.LoadPanelTimeZoneMap 9")});
    EXPECT_EQ(tz.PanelTimeZoneMap[0], 2);
    EXPECT_EQ(tz.PanelTimeZoneMap[5], 0) << "the load ended before the master list";

    boxes.boxes.clear();
    rewriteProcedure(QStringLiteral("sp_fetchgenerictimezoneid"),
                     QStringLiteral("select 'abc' as generictimezoneid from controllertimezoneslots where controllerid = ? and slot = ?"));
    rewriteProcedure(QStringLiteral("sp_fetchalldefinedcontrollertimezones"),
                     QStringLiteral("select slot as timezoneindex from controllertimezoneslots where controllerid = ? and kind = 'S'"));
    tz.LoadPanelTimeZoneMap(Controller);
    EXPECT_EQ(errorBoxes(), (QStringList{QStringLiteral("frmMain.ConvertPanelTZToGenericTZId 13"),
                                         QStringLiteral("frmMain.ConvertPanelTZToGenericTZId 13")}))
        << "each conversion fails alone and the load goes on";
    EXPECT_EQ(tz.PanelTimeZoneMap[5], 0);
    EXPECT_TRUE(host.journal->errors.isEmpty()) << "nothing of this goes to the host's log";
}

// Lookups on tables set directly: no database involved.
struct TimeZonesLookups : ::testing::Test, HostSide {};

TEST_F(TimeZonesLookups, SynchronisationIsAskedEveryTimeAndItsFailureIsShown) {
    RecordingTimeZoneObject component;
    component.slot = 17;
    timeZoneObject = ObjectRef::borrowed(&component);
    tz.PanelTimeZoneMap.fill(1);
    EXPECT_EQ(tz.LookupPanelTZNumber(31, 42), 17);
    EXPECT_EQ(tz.LookupPanelTZNumber(31, 42), 17);
    EXPECT_EQ(component.calls, (QStringList{QStringLiteral("31,42"), QStringLiteral("31,42")}));
    EXPECT_TRUE(boxes.boxes.isEmpty());

    component.succeed = false;
    EXPECT_EQ(tz.LookupPanelTZNumber(31, 43), 0);
    EXPECT_EQ(infoTexts(), QStringList{QStringLiteral("Sync failed")});
    timeZoneObject = ObjectRef();  // no time zone component at all
    EXPECT_EQ(tz.LookupPanelTZNumber(31, 44), 0);
    EXPECT_EQ(errorBoxes(), QStringList{QStringLiteral("frmMain.LookupPanelTZNumber 91")});
}

// Numbers beyond the map and unknown ids give a default and are logged with the host.
TEST_F(TimeZonesLookups, NumbersBeyondTheMapAndUnknownIdsAreLoggedAndGiveADefault) {
    tz.PanelTimeZoneMap[149] = 9;
    EXPECT_EQ(tz.LookupGenericTZId(149), 9);
    EXPECT_EQ(tz.LookupGenericTZId(150), 1);
    EXPECT_EQ(tz.LookupGenericTZId(255), 1);
    tz.GenericTZArray = {{QStringLiteral("Always"), 1}, {QStringLiteral("First"), 4}, {QStringLiteral("Second"), 4}, {QString(), 0}};
    EXPECT_EQ(tz.LookupGenericTZName(4), QStringLiteral("First"));
    for (int id : {0, -3}) EXPECT_EQ(tz.LookupGenericTZName(id), QStringLiteral("??????"));
    EXPECT_EQ(logged(), (QStringList{"LookupGenericTZId 9", "LookupGenericTZId 9", " 0", " 0"}));
    for (const LoggedError& e : host.journal->errors) {
        EXPECT_EQ(e.controllerId, QVariant::fromValue(qint32(Controller)));
        EXPECT_EQ(e.zero, QVariant::fromValue(qint16(0)));
    }
    const LoggedError& beyond = host.journal->errors[0];
    EXPECT_EQ(beyond.line.metaType().id(), QMetaType::QString);
    EXPECT_GT(beyond.line.toInt(), 0);
    EXPECT_EQ(host.journal->errors[2].line.toString(), QStringLiteral("TimeZone ID (0) not found."));
    EXPECT_EQ(host.journal->errors[3].line.toString(), QStringLiteral("TimeZone ID (-3) not found."));
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

}  // namespace
