// Saving changed master control zones: the host calls in order and what the
// database holds afterwards, on both engines.
#include "master_zones/MCZRecords.h"
#include "master_zones/MCZSave.h"
#include "platform/automation/AutomationError.h"
#include "tests/save/SaveFixture.h"
#include "tests/support/ZoneColumns.h"

using namespace savetest;

namespace {

// The action columns in the table's own order.
const QString kActionColumns = testsupport::quoted(testsupport::actionColumns()).join(QStringLiteral(", "));

// Master zones 192, 200, 210, 220 and 255 of controller 7, database ids 1000 +
// the zone number, all on the time zone in slot 1; only 220 is defined.
class MasterZoneSave : public SaveTest {
protected:
    void prepareDatabase() override {
        SaveTest::prepareDatabase();
        for (int zone : {192, 200, 210, 220, 255})
            exec(QStringLiteral("insert into controllermastercontrolzones (controllermastercontrolzoneid, controllerid, mastercontrolzoneindex, "
                                "name, description, defined, tz_pred) values (%1, 7, %2, 'Master %2', 'Old', %3, 1)")
                     .arg(1000 + zone)
                     .arg(zone)
                     .arg(zone == 220 ? pick(QStringLiteral("1"), QStringLiteral("true")) : pick(QStringLiteral("0"), QStringLiteral("false"))));
        cz::LoadMCZArray(ctx, tz, mcz);
        ASSERT_TRUE(host->log.calls.isEmpty()) << host->log.calls.join(QLatin1Char('\n')).toStdString();
    }

    void save() { cz::SaveMCZData(ctx, tz, mcz, controllerObject); }
    const QStringList& calls() const { return host->log.calls; }
    // Columns of one zone's row, joined by '|'.
    QString stored(int zone, const QString& columns) {
        const QStringList r = rows(QStringLiteral("select %1 from controllermastercontrolzones where controllerid = 7 and mastercontrolzoneindex = %2")
                                       .arg(columns)
                                       .arg(zone));
        return r.value(0, QStringLiteral("<no row>"));
    }
    QStringList queued() { return rows(QStringLiteral("select controllerid, commandset, objectid from downloadqueue order by downloadqueueid")); }
    QStringList events() {
        return rows(QStringLiteral("select eventtext, objectkind, objectid, description, eventcode from eventlog order by eventlogid"));
    }

    cz::MCZTable mcz;
};
TAMRIK_ON_BOTH_ENGINES(MasterZoneSave);

TEST_P(MasterZoneSave, WithoutAChangedRowOnlyTheTransactionRuns) {
    // No pass over the time zones of unchanged zones, unlike the standard save.
    mcz(200).TimeZoneId = 3;
    // Changed, but the procedure returns no row for it.
    mcz(250).Changed = true;
    mcz(250).Name = QStringLiteral("Ghost");

    save();

    EXPECT_EQ(calls(), (QStringList{QStringLiteral("BeginTran"), QStringLiteral("Endtran")}));
    EXPECT_FALSE(controllerObject);
    EXPECT_TRUE(rows(QStringLiteral("select slot from controllertimezoneslots where generictimezoneid = 3")).isEmpty());
    EXPECT_EQ(stored(200, QStringLiteral("name, tz_pred")), QStringLiteral("Master 200|1"));
    EXPECT_EQ(stored(250, QStringLiteral("name")), QStringLiteral("<no row>"));
    EXPECT_TRUE(queued().isEmpty());
    EXPECT_TRUE(events().isEmpty());
}

TEST_P(MasterZoneSave, TwoChangedZonesAreWrittenQueuedAndLoggedInRowOrder) {
    cz::MCZRecord& alarm = mcz(200);
    alarm.Name = QStringLiteral("Alarm, \"all\"");
    alarm.Description = QStringLiteral("Whole site");
    alarm.Tag = true;
    alarm.TimeZoneId = 7;
    alarm.Defined = true;
    alarm.LinkedZone = 12;
    alarm.DoorGroupID = 70000;
    alarm.SecurityLevel = 4;
    alarm.GlobalOut = true;
    alarm.GlobalId = 250;
    for (int a = 0; a < 21; ++a) alarm.Actions[a] = static_cast<quint8>(a + 1);
    cz::MCZRecord& quiet = mcz(220);
    quiet.Name = QStringLiteral("Quiet");
    quiet.Alert = true;
    quiet.TimeZoneId = 3;  // created while the dialog was open: no slot yet
    quiet.Defined = false;
    quiet.Actions[20] = 191;
    // Marked in the opposite order of the rows.
    quiet.Changed = true;
    alarm.Changed = true;

    save();

    EXPECT_EQ(calls(), (QStringList{QStringLiteral("BeginTran"), QStringLiteral("Controllers.Add 7"),
                                    QStringLiteral("CommandSets.Add MASTER_CONTROL_ZONE 1200"), QStringLiteral("LogEvent (MCZ200) Alarm, \"all\""),
                                    QStringLiteral("CommandSets.Add MASTER_CONTROL_ZONE 1220"), QStringLiteral("LogEvent (MCZ220) Quiet"),
                                    QStringLiteral("Endtran")}));
    EXPECT_FALSE(controllerObject) << "released at the end";
    EXPECT_TRUE(alarm.Changed && quiet.Changed) << "flags are left for the dialog";

    // "defined" as a truth value: PostgreSQL's boolean column, SQLite's integer
    // (the text 'true' there would read as false).
    const QString columns = QStringLiteral(
        "name, description, tag, alert, tz_pred, case when defined then 1 else 0 end, linkedzone, doorgroupid, securitylevel, globout, globid");
    EXPECT_EQ(stored(200, columns), QStringLiteral("Alarm, \"all\"|Whole site|1|0|2|1|12|70000|4|1|250"));
    EXPECT_EQ(stored(220, columns), QStringLiteral("Quiet|Old|0|1|3|0|0|0|0|0|0")) << "defined was true in the row";
    EXPECT_EQ(rows(QStringLiteral("select slot from controllertimezoneslots where controllerid = 7 and generictimezoneid = 3")),
              QStringList{QStringLiteral("3")})
        << "the slot the synchronisation assigns is the one written";
    EXPECT_EQ(stored(200, kActionColumns), QStringLiteral("1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|16|17|18|19|20|21"));
    EXPECT_EQ(stored(220, kActionColumns), QStringLiteral("0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|0|191"));
    EXPECT_EQ(stored(210, QStringLiteral("name, description")), QStringLiteral("Master 210|Old")) << "unchanged zones are not written";

    EXPECT_EQ(queued(), (QStringList{QStringLiteral("7|MASTER_CONTROL_ZONE|1200"), QStringLiteral("7|MASTER_CONTROL_ZONE|1220")}));
    EXPECT_EQ(events(), (QStringList{QStringLiteral("Control zone modified|Std Control Zone|1200|(MCZ200) Alarm, \"all\"|1093"),
                                     QStringLiteral("Control zone modified|Std Control Zone|1220|(MCZ220) Quiet|1093")}));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from errorlog")).toInt(), 0);
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_P(MasterZoneSave, AFailedRowUpdateIsLoggedUnderItsNameAndTheSaveGoesOn) {
    if (isPostgres()) {
        exec(QStringLiteral("create function refuse_210() returns trigger language plpgsql as $$ begin "
                            "if new.mastercontrolzoneindex = 210 then raise exception 'refused'; end if; return new; end $$"));
        exec(QStringLiteral("create trigger refuse_210 before update on controllermastercontrolzones "
                            "for each row execute function refuse_210()"));
    } else {
        exec(QStringLiteral("create trigger refuse_210 before update on controllermastercontrolzones "
                            "when new.mastercontrolzoneindex = 210 begin select raise(abort, 'refused'); end"));
    }
    for (int zone : {200, 210, 220}) {
        mcz(zone).Name = QStringLiteral("New %1").arg(zone);
        mcz(zone).Changed = true;
    }

    save();

    const QString updateFailed = QStringLiteral("LogError %1 'SaveMCZData'").arg(automation::err::ProviderError);
    const QString noController = QStringLiteral("LogError %1 'SaveMCZData'").arg(automation::err::ObjectNotSet);
    EXPECT_EQ(calls(), (QStringList{QStringLiteral("BeginTran"), QStringLiteral("Controllers.Add 7"),
                                    QStringLiteral("CommandSets.Add MASTER_CONTROL_ZONE 1200"), QStringLiteral("LogEvent (MCZ200) New 200"),
                                    updateFailed, QStringLiteral("Endtran"),
                                    // the dropped controller is not fetched again
                                    noController, QStringLiteral("Endtran"), QStringLiteral("LogEvent (MCZ210) Master 210"),
                                    noController, QStringLiteral("Endtran"), QStringLiteral("LogEvent (MCZ220) New 220"),
                                    QStringLiteral("Endtran")}));
    EXPECT_FALSE(controllerObject);
    EXPECT_FALSE(conn->inTransaction());

    // Before the failure inside the transaction, after it outside: all of it committed.
    EXPECT_EQ(stored(200, QStringLiteral("name")), QStringLiteral("New 200"));
    EXPECT_EQ(stored(210, QStringLiteral("name")), QStringLiteral("Master 210"));
    EXPECT_EQ(stored(220, QStringLiteral("name")), QStringLiteral("New 220"));
    EXPECT_EQ(queued(), QStringList{QStringLiteral("7|MASTER_CONTROL_ZONE|1200")});
    EXPECT_EQ(rows(QStringLiteral("select controllerid, errornumber, location, extra from errorlog order by errorlogid")),
              (QStringList{QStringLiteral("7|%1|SaveMCZData|0").arg(automation::err::ProviderError),
                           QStringLiteral("7|%1|SaveMCZData|0").arg(automation::err::ObjectNotSet),
                           QStringLiteral("7|%1|SaveMCZData|0").arg(automation::err::ObjectNotSet)}));
}

}  // namespace
