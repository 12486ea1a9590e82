// Saving changed standard and master control zones: the transactions and
// failures in the order the host hears of them, and what the database holds
// afterwards, on both engines.
#include "master_zones/MCZSave.h"
#include "standard_zones/SCZSave.h"
#include "tests/zones/ZoneDatabase.h"

// Records name only the fields that differ from an empty one.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace zonetest;
using testsupport::relays;

namespace {

class ZoneSave : public SaveTest {
protected:
    void saveStandard() { cz::SaveSCZData(ctx, tz, scz, controllerObject); }
    void saveMaster() { cz::SaveMCZData(ctx, tz, mcz, controllerObject); }
    QStringList slotsOf(int generic) {
        return db().rows(QStringLiteral("select slot, kind from controllertimezoneslots where controllerid = 7 and generictimezoneid = %1").arg(generic));
    }
};
TAMRIK_ON_BOTH_ENGINES(ZoneSave);

TEST_P(ZoneSave, WithoutAChangedRowOnlyTheTransactionAndTheStandardTimeZonePassRun) {
    // Unchanged zones on a time zone the controller lacks: only the standard save synchronises them.
    mcz(200).TimeZoneId = 3;
    saveMaster();
    EXPECT_TRUE(slotsOf(3).isEmpty());
    scz(5).TimeZoneId = 3;
    // Changed, but the procedures return no row for them.
    scz(100).Changed = mcz(250).Changed = true;
    scz(100).Name = mcz(250).Name = QStringLiteral("Ghost");
    saveStandard();
    saveMaster();

    EXPECT_EQ(calls(), (QStringList{"BeginTran", "Endtran", "BeginTran", "Endtran", "BeginTran", "Endtran"}));
    EXPECT_FALSE(controllerObject);
    EXPECT_EQ(slotsOf(3), QStringList{QStringLiteral("3|S")}) << "the new slot is committed";
    EXPECT_EQ(stored(5, QStringLiteral("name, tz_pred")) + stored(200, QStringLiteral("name, tz_pred")), QStringLiteral("Zone 5|1Master 200|1"));
    EXPECT_EQ(stored(100, QStringLiteral("name")) + stored(250, QStringLiteral("name")), QStringLiteral("<no row><no row>"));
    EXPECT_TRUE(queued().isEmpty() && events().isEmpty() && boxes.boxes.isEmpty()) << "nothing queued, logged or shown";
}

TEST_P(ZoneSave, ChangedZonesAreWrittenQueuedAndLoggedInRowOrder) {
    // Relay 8 is beyond this controller's two; time zone 3 was created while
    // the dialog was open: no slot yet; zone 9's row holds ry8 and xry5.
    scz(3) = {.ControlZoneIndex = 3, .Name = "Lobby, \"east\"", .Tag = true, .TimeZoneId = 7, .Relay = relays<9>({2, 8}), .ExpRelay = relays<65>({64}),
              .Changed = true};
    scz(9) = {.ControlZoneIndex = 9, .Name = "Dock", .Alert = true, .TimeZoneId = 3, .Changed = true};
    mcz(200) = {.MasterControlZoneIndex = 200, .Changed = true, .Name = "Alarm, \"all\"", .Description = "Whole site", .Defined = true, .TimeZoneId = 7,
                .LinkedZone = 12, .DoorGroupID = 70000, .SecurityLevel = 4, .Tag = true, .GlobalId = 250, .GlobalOut = true};
    for (int a = 0; a < 21; ++a) mcz(200).Actions[a] = static_cast<quint8>(a + 1);
    mcz(220) = {.MasterControlZoneIndex = 220, .Changed = true, .Name = "Quiet", .Description = "Old", .TimeZoneId = 3, .Alert = true};
    mcz(220).Actions[20] = 191;

    saveStandard();
    saveMaster();

    EXPECT_EQ(calls(), (QStringList{"BeginTran", "LogEvent (SCZ3) Lobby, \"east\"", "LogEvent (SCZ9) Dock", "Endtran", "BeginTran",
                                    "LogEvent (MCZ200) Alarm, \"all\"", "LogEvent (MCZ220) Quiet", "Endtran"}));
    EXPECT_FALSE(controllerObject) << "released at the end";
    EXPECT_TRUE(scz(3).Changed && scz(9).Changed && mcz(200).Changed && mcz(220).Changed) << "flags are left for the dialog";
    const QStringList relays = testsupport::standardZoneColumns().mid(7);  // ry1..ry8, xry1..xry64
    const QString standard = QStringLiteral("name, tag, alert, tz_pred, ") + relays.join(QLatin1Char(','));
    const QString none63 = QStringLiteral("|0").repeated(63);
    EXPECT_EQ(stored(3, standard), QStringLiteral("Lobby, \"east\"|1|0|2|0|1|0|0|0|0|0|1") + none63 + QStringLiteral("|1"));
    EXPECT_EQ(stored(9, standard), QStringLiteral("Dock|0|1|3|0|0|0|0|0|0|0|0|0") + none63)
        << "3: the slot the synchronisation assigns; ry8 and xry5 were set in the row and are cleared";
    EXPECT_EQ(slotsOf(3), QStringList{QStringLiteral("3|S")});
    // "defined" as a truth value: PostgreSQL's boolean column, SQLite's integer
    // (the text 'true' there would read as false).
    const QString master = QStringLiteral("name, description, tag, alert, tz_pred, case when defined then 1 else 0 end, linkedzone, doorgroupid, "
                                          "securitylevel, globout, globid, ") + testsupport::quoted(testsupport::actionColumns()).join(QStringLiteral(", "));
    EXPECT_EQ(stored(200, master), QStringLiteral("Alarm, \"all\"|Whole site|1|0|2|1|12|70000|4|1|250|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21"));
    EXPECT_EQ(stored(220, master), QStringLiteral("Quiet|Old|0|1|3|0|0|0|0|0|0") + QStringLiteral("|0").repeated(20) + QStringLiteral("|191"))
        << "defined was true in the row";
    EXPECT_EQ(stored(5, QStringLiteral("name")) + stored(210, QStringLiteral("description")), QStringLiteral("Zone 5Old")) << "unchanged zones are not written";
    EXPECT_EQ(queued(), (QStringList{"7|STD_CONTROL_ZONE|503", "7|STD_CONTROL_ZONE|509", "7|MASTER_CONTROL_ZONE|1200", "7|MASTER_CONTROL_ZONE|1220"}));
    const QString event = QStringLiteral("Control zone modified|Std Control Zone|%1|%2|%3");
    EXPECT_EQ(events(), (QStringList{event.arg(503).arg(QStringLiteral("(SCZ3) Lobby, \"east\"")).arg(1092), event.arg(509).arg(QStringLiteral("(SCZ9) Dock")).arg(1092),
                                     event.arg(1200).arg(QStringLiteral("(MCZ200) Alarm, \"all\"")).arg(1093), event.arg(1220).arg(QStringLiteral("(MCZ220) Quiet")).arg(1093)}));
    EXPECT_EQ(db().count(QStringLiteral("errorlog")), 0);
}

// A failing step ends the transaction and drops the controller, which is not
// fetched again; the save goes on, and what came before and after the
// failure is committed.
TEST_P(ZoneSave, AFailedRowUpdateEndsTheTransactionAndTheSaveGoesOn) {
    for (const QString& location : {QString(), QStringLiteral("SaveMCZData")}) {  // the standard zones' failures name no location
        const bool master = !location.isEmpty();
        const QList<int> z = master ? QList<int>{200, 210, 220} : QList<int>{3, 7, 9};
        const QString kind = QLatin1String(master ? "MCZ" : "SCZ"), fresh = QStringLiteral("New %1");
        SCOPED_TRACE(kind.toStdString());
        refuseUpdatesOf(z[1]);
        for (int zone : z) (master ? mcz(zone).Name : scz(zone).Name) = fresh.arg(zone), (master ? mcz(zone).Changed : scz(zone).Changed) = true;
        observed->calls.clear();
        db().runScript(QStringLiteral("delete from downloadqueue; delete from errorlog"));
        master ? saveMaster() : saveStandard();

        const QString updateFailed = QStringLiteral("LogError %1 '%2'").arg(automation::err::ProviderError).arg(location);
        const QString noController = QStringLiteral("LogError %1 '%2'").arg(automation::err::ObjectNotSet).arg(location);
        auto event = [&](int zone, const QString& name) { return QStringLiteral("LogEvent (%1%2) %3").arg(kind).arg(zone).arg(name); };
        const QString kept = stored(z[1], QStringLiteral("name"));
        EXPECT_EQ(calls(), (QStringList{"BeginTran", event(z[0], fresh.arg(z[0])), updateFailed, "Endtran", noController, "Endtran",
                                        event(z[1], kept), noController, "Endtran", event(z[2], fresh.arg(z[2])), "Endtran"}));
        EXPECT_TRUE(!controllerObject && !conn->inTransaction());
        EXPECT_EQ(stored(z[0], QStringLiteral("name")) + stored(z[2], QStringLiteral("name")) + kept, fresh.arg(z[0]) + fresh.arg(z[2]) + (master ? "Master 210" : "Zone 7"));
        EXPECT_EQ(queued(), QStringList{QStringLiteral("7|%1_CONTROL_ZONE|%2").arg(QLatin1String(master ? "MASTER" : "STD")).arg((master ? 1000 : 500) + z[0])});
        const QString logged = QStringLiteral("7|%1|%2|0");
        EXPECT_EQ(db().rows(QStringLiteral("select controllerid, errornumber, location, extra from errorlog order by errorlogid")),
                  (QStringList{logged.arg(automation::err::ProviderError).arg(location), logged.arg(automation::err::ObjectNotSet).arg(location),
                               logged.arg(automation::err::ObjectNotSet).arg(location)}))
            << "an empty location for the standard zones, not a missing one";
        const QStringList lines = db().rows(QStringLiteral("select line from errorlog order by errorlogid"));
        EXPECT_TRUE(lines.size() == 3 && lines[0].toInt() != 0 && lines[0] != lines[1]) << "each failing step reports its own line: " << lines.join(' ').toStdString();
    }
}

TEST_P(ZoneSave, AStandardRowWithoutAZoneIsReportedAndTheOthersAreSaved) {
    addZone(-1);
    scz(5).Name = QStringLiteral("Side door");
    scz(5).Changed = true;
    saveStandard();
    const QString outOfRange = QStringLiteral("LogError %1 ''").arg(automation::err::SubscriptOutOfRange);
    EXPECT_EQ(calls(), (QStringList{"BeginTran", outOfRange, "Endtran", outOfRange, "Endtran", "LogEvent (SCZ5) Side door", "Endtran"}));
    EXPECT_EQ(stored(-1, QStringLiteral("name")) + stored(5, QStringLiteral("name")), QStringLiteral("Zone -1Side door"));
    EXPECT_EQ(queued(), QStringList{QStringLiteral("7|STD_CONTROL_ZONE|505")});
    EXPECT_FALSE(conn->inTransaction());
}

}  // namespace
