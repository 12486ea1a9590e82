// Saving changed standard control zones: the host calls in order and what the
// database holds afterwards, on both engines.
#include "platform/automation/AutomationError.h"
#include "standard_zones/SCZSave.h"
#include "tests/save/SaveFixture.h"

using namespace savetest;

namespace {

const QString kRelayColumns = QStringLiteral(
    "cast(ry1 as text) || cast(ry2 as text) || cast(ry3 as text) || cast(ry4 as text) || "
    "cast(ry5 as text) || cast(ry6 as text) || cast(ry7 as text) || cast(ry8 as text)");

QString expansionRelaysBelow64() {
    QStringList terms;
    for (int k = 1; k <= 63; ++k) terms << QStringLiteral("xry%1").arg(k);
    return terms.join(QStringLiteral(" + "));
}

class StandardZoneSave : public SaveTest {
protected:
    void save() { cz::SaveSCZData(ctx, tz, scz, controllerObject); }
};
TAMRIK_ON_BOTH_ENGINES(StandardZoneSave);

TEST_P(StandardZoneSave, WithoutAChangedRowOnlyTheTransactionAndTheTimeZonePassRun) {
    // An unchanged zone on a time zone the controller lacks is still synchronised.
    scz(5).TimeZoneId = 3;
    // Changed, but the procedure returns no row for it.
    scz(100).Changed = true;
    scz(100).Name = QStringLiteral("Ghost");

    save();

    EXPECT_EQ(calls(), (QStringList{QStringLiteral("BeginTran"), QStringLiteral("Endtran")}));
    EXPECT_FALSE(controllerObject);
    EXPECT_EQ(rows(QStringLiteral("select slot, kind from controllertimezoneslots where controllerid = 7 and generictimezoneid = 3")),
              QStringList{QStringLiteral("3|S")})
        << "the new slot is committed";
    EXPECT_EQ(stored(5, QStringLiteral("name")), QStringLiteral("Zone 5"));
    EXPECT_EQ(stored(5, QStringLiteral("tz_pred")), QStringLiteral("1"));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from controllerstdcontrolzones where controlzoneindex = 100")).toInt(), 0);
    EXPECT_TRUE(queued().isEmpty());
    EXPECT_TRUE(events().isEmpty());
    EXPECT_TRUE(boxes.boxes.isEmpty());
}

TEST_P(StandardZoneSave, TwoChangedZonesAreWrittenQueuedAndLoggedInRowOrder) {
    cz::SCZRecord& lobby = scz(3);
    lobby.Name = QStringLiteral("Lobby, \"east\"");
    lobby.Tag = true;
    lobby.Alert = false;
    lobby.TimeZoneId = 7;
    lobby.Relay[2] = lobby.Relay[8] = true;  // relay 8 is beyond this controller's two
    lobby.ExpRelay[5] = false;
    lobby.ExpRelay[64] = true;
    cz::SCZRecord& dock = scz(9);
    dock.Name = QStringLiteral("Dock");
    dock.Alert = true;
    dock.TimeZoneId = 3;  // created while the dialog was open: no slot yet
    dock.Relay[8] = false;
    dock.ExpRelay[5] = false;
    // Marked in the opposite order of the rows.
    dock.Changed = true;
    lobby.Changed = true;

    save();

    EXPECT_EQ(calls(), (QStringList{QStringLiteral("BeginTran"), QStringLiteral("Controllers.Add 7"),
                                    QStringLiteral("CommandSets.Add STD_CONTROL_ZONE 503"), QStringLiteral("LogEvent (SCZ3) Lobby, \"east\""),
                                    QStringLiteral("CommandSets.Add STD_CONTROL_ZONE 509"), QStringLiteral("LogEvent (SCZ9) Dock"),
                                    QStringLiteral("Endtran")}));
    EXPECT_FALSE(controllerObject) << "released at the end";
    EXPECT_TRUE(lobby.Changed && dock.Changed) << "flags are left for the dialog";

    EXPECT_EQ(stored(3, QStringLiteral("name")), QStringLiteral("Lobby, \"east\""));
    EXPECT_EQ(stored(3, QStringLiteral("tag")), QStringLiteral("1"));
    EXPECT_EQ(stored(3, QStringLiteral("alert")), QStringLiteral("0"));
    EXPECT_EQ(stored(3, QStringLiteral("tz_pred")), QStringLiteral("2"));
    EXPECT_EQ(stored(3, kRelayColumns), QStringLiteral("01000001"));
    EXPECT_EQ(stored(3, QStringLiteral("xry64")), QStringLiteral("1"));
    EXPECT_EQ(stored(3, expansionRelaysBelow64()), QStringLiteral("0")) << "xry5 was set in the row and is cleared";
    EXPECT_EQ(stored(9, QStringLiteral("name")), QStringLiteral("Dock"));
    EXPECT_EQ(stored(9, QStringLiteral("alert")), QStringLiteral("1"));
    EXPECT_EQ(stored(9, QStringLiteral("tz_pred")), QStringLiteral("3"));
    EXPECT_EQ(rows(QStringLiteral("select slot from controllertimezoneslots where controllerid = 7 and generictimezoneid = 3")),
              QStringList{QStringLiteral("3")})
        << "the slot the synchronisation assigns is the one written";
    EXPECT_EQ(stored(9, kRelayColumns), QStringLiteral("00000000"));
    EXPECT_EQ(stored(5, QStringLiteral("name")), QStringLiteral("Zone 5")) << "unchanged zones are not written";

    EXPECT_EQ(queued(), (QStringList{QStringLiteral("7|STD_CONTROL_ZONE|503"), QStringLiteral("7|STD_CONTROL_ZONE|509")}));
    EXPECT_EQ(events(), (QStringList{QStringLiteral("Control zone modified|Std Control Zone|503|(SCZ3) Lobby, \"east\"|1092"),
                                     QStringLiteral("Control zone modified|Std Control Zone|509|(SCZ9) Dock|1092")}));
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from errorlog")).toInt(), 0);
}

TEST_P(StandardZoneSave, AFailedRowUpdateEndsTheTransactionAndTheSaveGoesOn) {
    if (isPostgres()) {
        exec(QStringLiteral("create function refuse_seven() returns trigger language plpgsql as $$ begin "
                            "if new.controlzoneindex = 7 then raise exception 'refused'; end if; return new; end $$"));
        exec(QStringLiteral("create trigger refuse_seven before update on controllerstdcontrolzones "
                            "for each row execute function refuse_seven()"));
    } else {
        exec(QStringLiteral("create trigger refuse_seven before update on controllerstdcontrolzones "
                            "when new.controlzoneindex = 7 begin select raise(abort, 'refused'); end"));
    }
    for (int zone : {3, 7, 9}) {
        scz(zone).Name = QStringLiteral("New %1").arg(zone);
        scz(zone).Changed = true;
    }

    save();

    const QString updateFailed = QStringLiteral("LogError %1 ''").arg(automation::err::ProviderError);
    const QString noController = QStringLiteral("LogError %1 ''").arg(automation::err::ObjectNotSet);
    EXPECT_EQ(calls(), (QStringList{QStringLiteral("BeginTran"), QStringLiteral("Controllers.Add 7"),
                                    QStringLiteral("CommandSets.Add STD_CONTROL_ZONE 503"), QStringLiteral("LogEvent (SCZ3) New 3"),
                                    updateFailed, QStringLiteral("Endtran"),
                                    // the dropped controller is not fetched again
                                    noController, QStringLiteral("Endtran"), QStringLiteral("LogEvent (SCZ7) Zone 7"),
                                    noController, QStringLiteral("Endtran"), QStringLiteral("LogEvent (SCZ9) New 9"),
                                    QStringLiteral("Endtran")}));
    EXPECT_FALSE(controllerObject);
    EXPECT_FALSE(conn->inTransaction());
    const QStringList& lines = host->log.errorLines;
    ASSERT_EQ(lines.size(), 3);
    EXPECT_NE(lines[0].toInt(), 0);
    EXPECT_NE(lines[1].toInt(), 0);
    EXPECT_NE(lines[0], lines[1]) << "each failing step reports its own line";

    // Before the failure inside the transaction, after it outside: all of it committed.
    EXPECT_EQ(stored(3, QStringLiteral("name")), QStringLiteral("New 3"));
    EXPECT_EQ(stored(7, QStringLiteral("name")), QStringLiteral("Zone 7"));
    EXPECT_EQ(stored(9, QStringLiteral("name")), QStringLiteral("New 9"));
    EXPECT_EQ(queued(), QStringList{QStringLiteral("7|STD_CONTROL_ZONE|503")});
    EXPECT_EQ(events().size(), 3);
    const QStringList logged = rows(QStringLiteral("select controllerid, errornumber, location, extra from errorlog order by errorlogid"));
    EXPECT_EQ(logged, (QStringList{QStringLiteral("7|%1||0").arg(automation::err::ProviderError),
                                   QStringLiteral("7|%1||0").arg(automation::err::ObjectNotSet),
                                   QStringLiteral("7|%1||0").arg(automation::err::ObjectNotSet)}))
        << "an empty location, not a missing one";
}

TEST_P(StandardZoneSave, ARowWithoutAZoneIsReportedAndTheOthersAreSaved) {
    addZone(-1);
    scz(5).Name = QStringLiteral("Side door");
    scz(5).Changed = true;

    save();

    const QString outOfRange = QStringLiteral("LogError %1 ''").arg(automation::err::SubscriptOutOfRange);
    EXPECT_EQ(calls(), (QStringList{QStringLiteral("BeginTran"), outOfRange, QStringLiteral("Endtran"), outOfRange,
                                    QStringLiteral("Endtran"), QStringLiteral("Controllers.Add 7"),
                                    QStringLiteral("CommandSets.Add STD_CONTROL_ZONE 505"), QStringLiteral("LogEvent (SCZ5) Side door"),
                                    QStringLiteral("Endtran")}));
    EXPECT_EQ(stored(-1, QStringLiteral("name")), QStringLiteral("Zone -1"));
    EXPECT_EQ(stored(5, QStringLiteral("name")), QStringLiteral("Side door"));
    EXPECT_FALSE(conn->inTransaction());
}

}  // namespace
