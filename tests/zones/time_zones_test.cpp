// The generic time zone catalogue, the controller's time zone map and the
// conversions between them.
#include "host/lib/StandIns.h"
#include "tests/zones/ZoneDatabase.h"

using namespace zonetest;

namespace {

class TimeZonesLoading : public ZoneDatabaseTest {
protected:
    // The map's entries for some slots.
    QList<int> mapped(std::initializer_list<int> numbers) const {
        QList<int> out;
        for (int n : numbers) out << tz.PanelTimeZoneMap[n];
        return out;
    }
};
TAMRIK_ON_BOTH_ENGINES(TimeZonesLoading);

TEST_P(TimeZonesLoading, LoadsTheCatalogueInProcedureOrderAndMapsEveryListedSlot) {
    tz.LoadTimeZoneInformation(Controller);
    EXPECT_TRUE(tz.GenericTZArray.isEmpty()) << "an empty catalogue is no fault";
    EXPECT_EQ(tz.LookupGenericTZName(1), QStringLiteral("??????"));
    host.journal->errors.clear();

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
    tz.LoadTimeZoneInformation(Controller);

    ASSERT_EQ(tz.GenericTZArray.size(), 250);
    QStringList order;
    for (int i : {0, 1, 2, 249}) order << QStringLiteral("%1 %2").arg(tz.GenericTZArray[i].GenericTimeZoneId).arg(tz.GenericTZArray[i].Name);
    EXPECT_EQ(order, (QStringList{"1 Always", "3 Night", "2 Office hours", "250 TZ 250"}));
    EXPECT_EQ(mapped({0, 5, 149, 10, 6}), (QList<int>{2, 3, 1, 1, 0})) << "a slot without a generic time zone falls back to 1";
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
    for (const auto& [list, column, id] : {std::tuple{"", "timezoneindex", 11}, {"grand", "grandmastertimezoneindex", 12}})
        rewriteProcedure(QStringLiteral("sp_fetchalldefinedcontroller%1timezones").arg(QLatin1String(list)),
                         QStringLiteral("update controllertimezoneslots set generictimezoneid = %1 where controllerid = ? and slot = 7 "
                                        "returning slot as %2").arg(id).arg(QLatin1String(column)));
    tz.LoadPanelTimeZoneMap(Controller);
    EXPECT_EQ(mapped({7, 4}), (QList<int>{12, 2}));
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

// A slot is looked up in the database, and a missing one is asked of the
// time zone component on every lookup; its failure, or no component, is shown.
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
    EXPECT_EQ(db().count(QStringLiteral("controllertimezoneslots"), QStringLiteral("generictimezoneid = 6")), 1) << "given once";
    EXPECT_TRUE(boxes.boxes.isEmpty());

    RecordingTimeZoneObject recording;
    recording.slot = 17;
    timeZoneObject = ObjectRef::borrowed(&recording);
    EXPECT_EQ(tz.LookupPanelTZNumber(31, 42), 17);
    EXPECT_EQ(tz.LookupPanelTZNumber(31, 42), 17);
    EXPECT_EQ(recording.calls, (QStringList{QStringLiteral("31,42"), QStringLiteral("31,42")}));
    recording.succeed = false;
    EXPECT_EQ(tz.LookupPanelTZNumber(31, 43), 0);
    EXPECT_EQ(infoTexts(), QStringList{QStringLiteral("Sync failed")});
    timeZoneObject = ObjectRef();  // no time zone component at all
    EXPECT_EQ(tz.LookupPanelTZNumber(31, 44), 0);
    EXPECT_EQ(errorBoxes(), QStringList{QStringLiteral("frmMain.LookupPanelTZNumber 91")});
}

// Faults inside the loaders: each reports with its own location and ends.
TEST_P(TimeZonesLoading, FaultsAreShownWithTheFailingOperationsLocation) {
    addTimeZone(2, QStringLiteral("Office hours"));
    addSlot(0, QStringLiteral("S"), 2);
    addSlot(5, QStringLiteral("M"), 2);
    auto expectShown = [&](const QStringList& errors, const QStringList& info, const QList<int>& slots0and5) {
        EXPECT_EQ(errorBoxes(), errors);
        EXPECT_EQ(infoTexts(), info);
        EXPECT_EQ(mapped({0, 5}), slots0and5);
        boxes.boxes.clear();
    };
    rewriteProcedure("sp_fetchallgenerictimezonenames", "select null as name, 1 as generictimezoneid");
    tz.LoadTimeZoneInformation(Controller);
    expectShown({"frmMain.LoadGenericTZArray 94"}, {}, {2, 2});  // the map still loads
    const QString standardSlots = QStringLiteral("select slot as timezoneindex from controllertimezoneslots where controllerid = ? and kind = 'S'");
    rewriteProcedure("sp_fetchalldefinedcontrollertimezones", standardSlots + " union all select 150");
    tz.LoadPanelTimeZoneMap(Controller);
    // The load ends before the master list.
    expectShown({"frmMain.LoadPanelTimeZoneMap 9"}, {"No generic TZ found for controller TZ 150 . Recommend synchronization."}, {2, 0});
    rewriteProcedure("sp_fetchgenerictimezoneid", "select 'abc' as generictimezoneid from controllertimezoneslots where controllerid = ? and slot = ?");
    rewriteProcedure("sp_fetchalldefinedcontrollertimezones", standardSlots);
    tz.LoadPanelTimeZoneMap(Controller);
    // Each conversion fails alone and the load goes on.
    expectShown({"frmMain.ConvertPanelTZToGenericTZId 13", "frmMain.ConvertPanelTZToGenericTZId 13"}, {}, {0, 0});
    EXPECT_TRUE(host.journal->errors.isEmpty()) << "nothing of this goes to the host's log";
}

// Lookups on tables set directly: no database involved.
struct TimeZonesLookups : ::testing::Test, HostSide {};

// Numbers beyond the map and unknown ids give a default and are logged with the host.
TEST_F(TimeZonesLookups, NumbersBeyondTheMapAndUnknownIdsAreLoggedAndGiveADefault) {
    tz.PanelTimeZoneMap[149] = 9;
    EXPECT_EQ((QList<int>{tz.LookupGenericTZId(149), tz.LookupGenericTZId(150), tz.LookupGenericTZId(255)}), (QList<int>{9, 1, 1}));
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
    EXPECT_EQ(host.journal->errors[2].line.toString() + host.journal->errors[3].line.toString(),
              QStringLiteral("TimeZone ID (0) not found.TimeZone ID (-3) not found."));
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

}  // namespace
