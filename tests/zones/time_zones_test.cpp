// The generic time zone catalogue, the controller's time zone map and the
// conversions between them.
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
    // Before any load: numbers beyond the map and unknown ids give a default and are logged with the host.
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
    EXPECT_TRUE(beyond.line.metaType().id() == QMetaType::QString && beyond.line.toInt() > 0) << "the line, as text";
    EXPECT_EQ(host.journal->errors[2].line.toString() + host.journal->errors[3].line.toString(),
              QStringLiteral("TimeZone ID (0) not found.TimeZone ID (-3) not found."));
    EXPECT_TRUE(boxes.boxes.isEmpty());
    host.journal->errors.clear();

    tz.LoadTimeZoneInformation(Controller);
    EXPECT_TRUE(tz.GenericTZArray.isEmpty()) << "an empty catalogue is no fault";
    EXPECT_EQ(tz.LookupGenericTZName(1), QStringLiteral("??????"));
    host.journal->errors.clear();

    // Past the catalogue's first block, in the procedure's order (by name).
    QStringList catalogue{"(1, 'Always'), (2, 'Office hours'), (3, 'Night')"};
    for (int id = 4; id <= 250; ++id) catalogue << QStringLiteral("(%1, 'TZ %2')").arg(id).arg(id, 3, 10, QLatin1Char('0'));
    addTimeZones(catalogue.join(QLatin1Char(',')));
    // Slot 10 is not synchronised (no generic time zone); slot 6 is another controller's.
    addSlots(QStringLiteral("(7, 0, 'S', 2), (7, 5, 'M', 3), (7, 149, 'G', 1), (7, 10, 'S', null), (8, 6, 'S', 3)"));
    tz.LoadTimeZoneInformation(Controller);

    ASSERT_EQ(tz.GenericTZArray.size(), 250);
    QStringList order;
    for (int i : {0, 1, 2, 249}) order << QStringLiteral("%1 %2").arg(tz.GenericTZArray[i].GenericTimeZoneId).arg(tz.GenericTZArray[i].Name);
    EXPECT_EQ(order, (QStringList{"1 Always", "3 Night", "2 Office hours", "250 TZ 250"}));
    EXPECT_EQ(mapped({0, 5, 149, 10, 6}), (QList<int>{2, 3, 1, 1, 0})) << "a slot without a generic time zone falls back to 1; one no list names has none";
    EXPECT_EQ(std::count(tz.PanelTimeZoneMap.begin(), tz.PanelTimeZoneMap.end(), 0), 146);
    EXPECT_EQ(shown(), QStringList{QStringLiteral("64 Zones: No generic TZ found for controller TZ 10 . Recommend synchronization.")});
    EXPECT_TRUE(host.journal->errors.isEmpty());
}

TEST_P(TimeZonesLoading, ALaterListOverwritesAnEarlierOneForTheSameSlot) {
    addTimeZones(QStringLiteral("(2, 'Office hours'), (11, 'Early'), (12, 'Late')"));
    addSlots(QStringLiteral("(7, 7, 'S', null), (7, 4, 'M', 2)"));
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
// time zone component; its failure, or no component, is shown.
TEST_P(TimeZonesLoading, AMissingGenericIdIsSynchronisedWhenLookedUp) {
    czhost::TimeZoneComponent component;
    component.setDBConnection(conn.get());
    timeZoneObject = ObjectRef::borrowed(&component);
    addTimeZones(QStringLiteral("(4, 'TZ 4'), (5, 'TZ 5'), (6, 'TZ 6')"));
    addSlots(QStringLiteral("(7, 0, 'S', 5), (7, 1, 'G', 4), (7, 3, 'M', 5)"));
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

    QStringList full;  // controller 8: every slot taken, so the component has none to give
    for (int slot = 0; slot < 150; ++slot) full << QStringLiteral("(8, %1, 'S', null)").arg(slot);
    addSlots(full.join(QLatin1Char(',')));
    EXPECT_EQ(tz.LookupPanelTZNumber(8, 6), 0);
    timeZoneObject = ObjectRef();  // no time zone component at all
    EXPECT_EQ(tz.LookupPanelTZNumber(31, 44), 0);
    EXPECT_EQ(shown(), (QStringList{"64 Zones: Sync failed", "frmMain.LookupPanelTZNumber 91"}));
}

// Faults inside the loaders: each reports with its own location and ends.
TEST_P(TimeZonesLoading, FaultsAreShownWithTheFailingOperationsLocation) {
    addTimeZones(QStringLiteral("(2, 'Office hours')"));
    addSlots(QStringLiteral("(7, 0, 'S', 2), (7, 5, 'M', 2)"));
    auto expectShown = [&](const QStringList& shownBoxes, const QList<int>& slots0and5) {
        EXPECT_EQ(shown(), shownBoxes);
        EXPECT_EQ(mapped({0, 5}), slots0and5);
        boxes.boxes.clear();
    };
    rewriteProcedure("sp_fetchallgenerictimezonenames", "select null as name, 1 as generictimezoneid");
    tz.LoadTimeZoneInformation(Controller);
    expectShown({"frmMain.LoadGenericTZArray 94"}, {2, 2});  // the map still loads
    const QString standardSlots = QStringLiteral("select slot as timezoneindex from controllertimezoneslots where controllerid = ? and kind = 'S'");
    rewriteProcedure("sp_fetchalldefinedcontrollertimezones", standardSlots + " union all select 150");
    tz.LoadPanelTimeZoneMap(Controller);
    // The load ends before the master list.
    expectShown({"64 Zones: No generic TZ found for controller TZ 150 . Recommend synchronization.", "frmMain.LoadPanelTimeZoneMap 9"}, {2, 0});
    rewriteProcedure("sp_fetchgenerictimezoneid", "select 'abc' as generictimezoneid from controllertimezoneslots where controllerid = ? and slot = ?");
    rewriteProcedure("sp_fetchalldefinedcontrollertimezones", standardSlots);
    tz.LoadPanelTimeZoneMap(Controller);
    // Each conversion fails alone and the load goes on.
    expectShown({"frmMain.ConvertPanelTZToGenericTZId 13", "frmMain.ConvertPanelTZToGenericTZId 13"}, {0, 0});
    EXPECT_TRUE(host.journal->errors.isEmpty()) << "nothing of this goes to the host's log";
}

}  // namespace
