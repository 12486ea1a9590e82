// Saving changed standard and master control zones: the host calls in order
// and what the database holds afterwards, on both engines.
#include "master_zones/MCZSave.h"
#include "platform/automation/AutomationError.h"
#include "standard_zones/SCZSave.h"
#include "tests/save/SaveFixture.h"
#include "tests/support/ZoneColumns.h"

using namespace savetest;

namespace {

class ZoneSave : public SaveTest {
protected:
    void saveStandard() { cz::SaveSCZData(ctx, tz, scz, controllerObject); }
    void saveMaster() { cz::SaveMCZData(ctx, tz, mcz, controllerObject); }
};
TAMRIK_ON_BOTH_ENGINES(ZoneSave);

TEST_P(ZoneSave, WithoutAChangedRowOnlyTheTransactionAndTheStandardTimeZonePassRun) {
    // Unchanged zones on a time zone the controller lacks: only the standard save synchronises them.
    mcz(200).TimeZoneId = 3;
    saveMaster();
    EXPECT_TRUE(db().rows(QStringLiteral("select slot from controllertimezoneslots where generictimezoneid = 3")).isEmpty());
    scz(5).TimeZoneId = 3;
    // Changed, but the procedures return no row for them.
    scz(100).Changed = mcz(250).Changed = true;
    scz(100).Name = mcz(250).Name = QStringLiteral("Ghost");
    saveStandard();
    saveMaster();

    EXPECT_EQ(calls(), (QStringList{"BeginTran", "Endtran", "BeginTran", "Endtran", "BeginTran", "Endtran"}));
    EXPECT_FALSE(controllerObject);
    EXPECT_EQ(db().rows(QStringLiteral("select slot, kind from controllertimezoneslots where controllerid = 7 and generictimezoneid = 3")),
              QStringList{QStringLiteral("3|S")})
        << "the new slot is committed";
    EXPECT_EQ(stored(5, QStringLiteral("name, tz_pred")), QStringLiteral("Zone 5|1"));
    EXPECT_EQ(stored(200, QStringLiteral("name, tz_pred")), QStringLiteral("Master 200|1"));
    EXPECT_EQ(stored(100, QStringLiteral("name")), QStringLiteral("<no row>"));
    EXPECT_EQ(stored(250, QStringLiteral("name")), QStringLiteral("<no row>"));
    EXPECT_TRUE(queued().isEmpty());
    EXPECT_TRUE(events().isEmpty());
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_P(ZoneSave, ChangedStandardZonesAreWrittenQueuedAndLoggedInRowOrder) {
    cz::SCZRecord& lobby = scz(3);
    lobby.Name = QStringLiteral("Lobby, \"east\"");
    lobby.Tag = true;
    lobby.TimeZoneId = 7;
    lobby.Relay[2] = lobby.Relay[8] = true;  // relay 8 is beyond this controller's two
    lobby.ExpRelay[64] = true;
    cz::SCZRecord& dock = scz(9);
    dock.Name = QStringLiteral("Dock");
    dock.Alert = true;
    dock.TimeZoneId = 3;  // created while the dialog was open: no slot yet
    dock.Relay[8] = dock.ExpRelay[5] = false;
    dock.Changed = lobby.Changed = true;

    saveStandard();

    EXPECT_EQ(calls(), (QStringList{"BeginTran", "Controllers.Add 7", "CommandSets.Add STD_CONTROL_ZONE 503", "LogEvent (SCZ3) Lobby, \"east\"",
                                    "CommandSets.Add STD_CONTROL_ZONE 509", "LogEvent (SCZ9) Dock", "Endtran"}));
    EXPECT_FALSE(controllerObject) << "released at the end";
    EXPECT_TRUE(lobby.Changed && dock.Changed) << "flags are left for the dialog";
    QStringList relays, expansion;
    for (int k = 1; k <= 8; ++k) relays << QStringLiteral("ry%1").arg(k);
    for (int k = 1; k <= 64; ++k) expansion << QStringLiteral("xry%1").arg(k);
    const QString columns = QStringLiteral("name, tag, alert, tz_pred, ") + relays.join(QLatin1Char(','));
    EXPECT_EQ(stored(3, columns), QStringLiteral("Lobby, \"east\"|1|0|2|0|1|0|0|0|0|0|1"));
    EXPECT_EQ(stored(9, columns), QStringLiteral("Dock|0|1|3|0|0|0|0|0|0|0|0")) << "3: the slot the synchronisation assigns";
    EXPECT_EQ(stored(3, expansion.join(QLatin1Char('+'))), QStringLiteral("1"));
    EXPECT_EQ(stored(9, expansion.join(QLatin1Char('+'))), QStringLiteral("0")) << "xry5 was set in the row and is cleared";
    EXPECT_EQ(stored(3, QStringLiteral("xry64")), QStringLiteral("1"));
    EXPECT_EQ(db().rows(QStringLiteral("select slot from controllertimezoneslots where controllerid = 7 and generictimezoneid = 3")),
              QStringList{QStringLiteral("3")});
    EXPECT_EQ(stored(5, QStringLiteral("name")), QStringLiteral("Zone 5")) << "unchanged zones are not written";
    EXPECT_EQ(queued(), (QStringList{"7|STD_CONTROL_ZONE|503", "7|STD_CONTROL_ZONE|509"}));
    EXPECT_EQ(events(), (QStringList{"Control zone modified|Std Control Zone|503|(SCZ3) Lobby, \"east\"|1092",
                                     "Control zone modified|Std Control Zone|509|(SCZ9) Dock|1092"}));
    EXPECT_EQ(db().count(QStringLiteral("errorlog")), 0);
}

TEST_P(ZoneSave, ChangedMasterZonesAreWrittenQueuedAndLoggedInRowOrder) {
    cz::MCZRecord& alarm = mcz(200);
    alarm.Name = QStringLiteral("Alarm, \"all\"");
    alarm.Description = QStringLiteral("Whole site");
    alarm.Tag = alarm.Defined = alarm.GlobalOut = true;
    alarm.TimeZoneId = 7;
    alarm.LinkedZone = 12;
    alarm.DoorGroupID = 70000;
    alarm.SecurityLevel = 4;
    alarm.GlobalId = 250;
    for (int a = 0; a < 21; ++a) alarm.Actions[a] = static_cast<quint8>(a + 1);
    cz::MCZRecord& quiet = mcz(220);
    quiet.Name = QStringLiteral("Quiet");
    quiet.Alert = true;
    quiet.TimeZoneId = 3;  // created while the dialog was open: no slot yet
    quiet.Defined = false;
    quiet.Actions[20] = 191;
    quiet.Changed = alarm.Changed = true;

    saveMaster();

    EXPECT_EQ(calls(), (QStringList{"BeginTran", "Controllers.Add 7", "CommandSets.Add MASTER_CONTROL_ZONE 1200", "LogEvent (MCZ200) Alarm, \"all\"",
                                    "CommandSets.Add MASTER_CONTROL_ZONE 1220", "LogEvent (MCZ220) Quiet", "Endtran"}));
    EXPECT_FALSE(controllerObject);
    EXPECT_TRUE(alarm.Changed && quiet.Changed);
    // "defined" as a truth value: PostgreSQL's boolean column, SQLite's integer
    // (the text 'true' there would read as false).
    const QString columns = QStringLiteral(
        "name, description, tag, alert, tz_pred, case when defined then 1 else 0 end, linkedzone, doorgroupid, securitylevel, globout, globid");
    EXPECT_EQ(stored(200, columns), QStringLiteral("Alarm, \"all\"|Whole site|1|0|2|1|12|70000|4|1|250"));
    EXPECT_EQ(stored(220, columns), QStringLiteral("Quiet|Old|0|1|3|0|0|0|0|0|0")) << "defined was true in the row";
    const QString actions = testsupport::quoted(testsupport::actionColumns()).join(QStringLiteral(", "));
    EXPECT_EQ(stored(200, actions), QStringLiteral("1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21"));
    EXPECT_EQ(stored(220, actions), QStringLiteral("0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|191"));
    EXPECT_EQ(stored(210, QStringLiteral("name, description")), QStringLiteral("Master 210|Old")) << "unchanged zones are not written";
    EXPECT_EQ(queued(), (QStringList{"7|MASTER_CONTROL_ZONE|1200", "7|MASTER_CONTROL_ZONE|1220"}));
    EXPECT_EQ(events(), (QStringList{"Control zone modified|Std Control Zone|1200|(MCZ200) Alarm, \"all\"|1093",
                                     "Control zone modified|Std Control Zone|1220|(MCZ220) Quiet|1093"}));
    EXPECT_EQ(db().count(QStringLiteral("errorlog")), 0);
}

// A failing step ends the transaction and drops the controller; the save goes
// on, and what came before and after the failure is committed.
TEST_P(ZoneSave, AFailedRowUpdateEndsTheTransactionAndTheSaveGoesOn) {
    const struct {
        const char* kind;
        QList<int> zones;
        QString location;
        QList<qlonglong> rowIds;
    } kinds[] = {{"SCZ", {3, 7, 9}, QString(), {503, 507, 509}}, {"MCZ", {200, 210, 220}, QStringLiteral("SaveMCZData"), {1200, 1210, 1220}}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        const bool master = !k.location.isEmpty();
        refuseUpdatesOf(k.zones[1]);
        for (int zone : k.zones) {
            QString& name = master ? mcz(zone).Name : scz(zone).Name;
            name = QStringLiteral("New %1").arg(zone);
            (master ? mcz(zone).Changed : scz(zone).Changed) = true;
        }
        host->log = CallLog{};
        exec(QStringLiteral("delete from downloadqueue"));
        exec(QStringLiteral("delete from errorlog"));
        master ? saveMaster() : saveStandard();

        const QString commands = QLatin1String(master ? "MASTER_CONTROL_ZONE" : "STD_CONTROL_ZONE");
        const QString updateFailed = QStringLiteral("LogError %1 '%2'").arg(automation::err::ProviderError).arg(k.location);
        const QString noController = QStringLiteral("LogError %1 '%2'").arg(automation::err::ObjectNotSet).arg(k.location);
        auto event = [&](int zone, const QString& name) { return QStringLiteral("LogEvent (%1%2) %3").arg(QLatin1String(k.kind)).arg(zone).arg(name); };
        EXPECT_EQ(calls(), (QStringList{"BeginTran", "Controllers.Add 7", QStringLiteral("CommandSets.Add %1 %2").arg(commands).arg(k.rowIds[0]),
                                        event(k.zones[0], QStringLiteral("New %1").arg(k.zones[0])), updateFailed, "Endtran",
                                        // the dropped controller is not fetched again
                                        noController, "Endtran", event(k.zones[1], stored(k.zones[1], QStringLiteral("name"))), noController,
                                        "Endtran", event(k.zones[2], QStringLiteral("New %1").arg(k.zones[2])), "Endtran"}));
        EXPECT_FALSE(controllerObject);
        EXPECT_FALSE(conn->inTransaction());
        const QStringList& lines = host->log.errorLines;
        ASSERT_EQ(lines.size(), 3);
        EXPECT_NE(lines[0].toInt(), 0);
        EXPECT_NE(lines[0], lines[1]) << "each failing step reports its own line";

        EXPECT_EQ(stored(k.zones[0], QStringLiteral("name")), QStringLiteral("New %1").arg(k.zones[0]));
        EXPECT_NE(stored(k.zones[1], QStringLiteral("name")), QStringLiteral("New %1").arg(k.zones[1]));
        EXPECT_EQ(stored(k.zones[2], QStringLiteral("name")), QStringLiteral("New %1").arg(k.zones[2]));
        EXPECT_EQ(queued(), QStringList{QStringLiteral("7|%1|%2").arg(commands).arg(k.rowIds[0])});
        EXPECT_EQ(db().rows(QStringLiteral("select controllerid, errornumber, location, extra from errorlog order by errorlogid")),
                  (QStringList{QStringLiteral("7|%1|%2|0").arg(automation::err::ProviderError).arg(k.location),
                               QStringLiteral("7|%1|%2|0").arg(automation::err::ObjectNotSet).arg(k.location),
                               QStringLiteral("7|%1|%2|0").arg(automation::err::ObjectNotSet).arg(k.location)}))
            << "an empty location for the standard zones, not a missing one";
    }
}

TEST_P(ZoneSave, AStandardRowWithoutAZoneIsReportedAndTheOthersAreSaved) {
    addZone(-1);
    scz(5).Name = QStringLiteral("Side door");
    scz(5).Changed = true;
    saveStandard();
    const QString outOfRange = QStringLiteral("LogError %1 ''").arg(automation::err::SubscriptOutOfRange);
    EXPECT_EQ(calls(), (QStringList{"BeginTran", outOfRange, "Endtran", outOfRange, "Endtran", "Controllers.Add 7",
                                    "CommandSets.Add STD_CONTROL_ZONE 505", "LogEvent (SCZ5) Side door", "Endtran"}));
    EXPECT_EQ(stored(-1, QStringLiteral("name")), QStringLiteral("Zone -1"));
    EXPECT_EQ(stored(5, QStringLiteral("name")), QStringLiteral("Side door"));
    EXPECT_FALSE(conn->inTransaction());
}

}  // namespace
