// The stored procedures and plain statements of the component, spelled as the
// component spells them, against the demo site on both engines.
#include "tests/host/database_fixture.h"

#include <QRegularExpression>

using namespace hostdbtest;
using database::Recordset;
namespace demo = hostdb::demo;

namespace {

class HostProcedures : public HostDatabaseTest {
protected:
    QList<int> ints(const QString& sql, const QVariantList& params = {}) {
        QList<int> out;
        for (const QVariantList& row : fetch(sql, params).rows) out << automation::toInt32(row.value(0));
        return out;
    }
    int doorId(int controller, int door) {
        return db()
            .scalar(QStringLiteral("select doorid from doors where controllerid = %1 and doorindex = %2").arg(controller).arg(door))
            .toInt();
    }
};

const char* const kActionColumns[] = {"trigger",   "Clear",         "mask",           "unmask",        "Unlock",     "relock",
                                      "force_on",  "force_on_rel",  "force_off",      "force_off_rel", "lock_down",  "lock_down_rel",
                                      "lock_open", "lock_open_rel", "annunc_keypads", "entry_cancel",  "exit_start", "unmaskif",
                                      "farm",      "LEDOn",         "LEDOff"};

QStringList standardZoneColumns() {
    QStringList c{"ControllerControlZoneId", "ControlZoneIndex", "name", "Defined", "tag", "alert", "TZ_PRED"};
    for (int k = 1; k <= 8; ++k) c << QStringLiteral("ry%1").arg(k);
    for (int k = 1; k <= 64; ++k) c << QStringLiteral("xry%1").arg(k);
    return c;
}

QStringList masterZoneColumns() {
    QStringList c{"ControllerMasterControlZoneID",
                  "MasterControlZoneIndex",
                  "name",
                  "Description",
                  "Defined",
                  "TZ_PRED",
                  "LinkedZone",
                  "DoorGroupID",
                  "SecurityLevel",
                  "tag",
                  "alert",
                  "globid",
                  "globout"};
    for (const char* a : kActionColumns) c << QString::fromUtf8(a);
    return c;
}

TEST_P(HostProcedures, AnswerUnderEverySpellingWithTheColumnsTheComponentReads) {
    const QString w = QString::number(demo::Warehouse);
    const QList<std::pair<QString, QStringList>> calls{
        {"sp_FetchAllGenericTimeZoneNames", {"name", "GenericTimeZoneId"}},
        {"Sp_FetchAllDefinedControllerTimeZones " + w, {"TimeZoneIndex"}},
        {"Sp_FetchAllDefinedControllerMasterTimeZones " + w, {"MasterTimeZoneIndex"}},
        {"Sp_FetchAllDefinedControllerGrandTimeZones " + w, {"GrandMAsterTimeZoneIndex"}},
        {"Sp_FetchGenericTimeZoneId " + w + ", 1", {"GenericTimeZoneId"}},
        {"sp_FetchAllControllerStdControlZones " + w, standardZoneColumns()},
        {"sp_fetchAllControllerMasterControlZones " + w, masterZoneColumns()},
        {"sp_fetchMCZActions", {"Action", "DefaultAction"}},
        {"sp_FetchAllDoorGroups", {"DoorGroupID", "DoorGroupName"}},
    };
    for (const auto& [call, columns] : calls) {
        for (const QString& text : {call, "EXECUTE " + call, "exec " + call.toLower(), call.toUpper(), call + " "}) {
            SCOPED_TRACE(text.toStdString());
            const database::ResultSet rs = conn->fetchAll(text);
            EXPECT_EQ(lowerColumns(rs), lower(columns));
            EXPECT_FALSE(rs.rows.isEmpty());
        }
    }
}

TEST_P(HostProcedures, ControllerSlotsMapToGenericTimeZonesExceptTheEmptyOne) {
    const auto call = [](const char* name, int controller) { return QStringLiteral("%1 %2").arg(QLatin1String(name)).arg(controller); };
    const QList<int> standard{0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(ints(call("Sp_FetchAllDefinedControllerTimeZones", demo::Warehouse)), standard);
    EXPECT_EQ(ints(call("Sp_FetchAllDefinedControllerTimeZones", demo::EmptySlotController)), standard + QList<int>{demo::EmptySlot});
    EXPECT_EQ(ints(call("Sp_FetchAllDefinedControllerMasterTimeZones", demo::Warehouse)), (QList<int>{100, 101, 102}));
    EXPECT_EQ(ints(call("Sp_FetchAllDefinedControllerGrandTimeZones", demo::Warehouse)), (QList<int>{140, 141}));

    const int always = db().scalar(QStringLiteral("select generictimezoneid from generictimezones where name = 'Always'")).toInt();
    const auto generic = [&](int controller, int slot) {
        return ints(QStringLiteral("Sp_FetchGenericTimeZoneId %1, %2").arg(controller).arg(slot));
    };
    for (int c = 1; c <= demo::ControllerCount; ++c) EXPECT_EQ(generic(c, 0), QList<int>{always}) << "controller " << c;
    EXPECT_EQ(generic(demo::Warehouse, 141).size(), 1) << "grand-master slots map too";
    EXPECT_TRUE(generic(demo::EmptySlotController, demo::EmptySlot).isEmpty()) << "a defined slot without a generic time zone";
    EXPECT_TRUE(generic(demo::Warehouse, demo::EmptySlot).isEmpty()) << "a slot the controller does not define";

    // The catalogue comes in one stable order: by name.
    QStringList names;
    for (const QVariantList& row : fetch(QStringLiteral("EXECUTE sp_FetchAllGenericTimeZoneNames")).rows) names << row.value(0).toString();
    QStringList sorted = names;
    sorted.sort();
    EXPECT_EQ(names, sorted);
    EXPECT_EQ(names.size(), 10);
}

TEST_P(HostProcedures, StandardZoneRowsWriteBackAndReadEqual) {
    const QString call = QStringLiteral("sp_fetchallcontrollerstdcontrolzones %1").arg(demo::Warehouse);
    const QString awkward = QStringLiteral("Gate \"7\", O'Brien's; -- east");
    {
        Recordset rs;
        rs.Open(call, conn.get(), database::adOpenDynamic, database::adLockOptimistic);
        for (; !rs.eof(); rs.MoveNext()) {
            if (rs.field(QStringLiteral("ControlZoneIndex")).toInt16() != 7) continue;
            rs.setValue(QStringLiteral("name"), awkward);
            rs.setValue(QStringLiteral("tag"), QVariant::fromValue<qint16>(1));
            rs.setValue(QStringLiteral("alert"), QVariant::fromValue<qint16>(0));
            rs.setValue(QStringLiteral("TZ_PRED"), QVariant::fromValue<quint8>(9));
            for (int k = 1; k <= 8; ++k) rs.setValue(QStringLiteral("ry%1").arg(k), QVariant::fromValue<qint16>(k % 2));
            for (int k = 1; k <= 64; ++k) rs.setValue(QStringLiteral("xry%1").arg(k), QVariant::fromValue<qint16>(k % 3 == 0));
            rs.Update();
        }
        rs.Close();
    }
    Recordset rs;
    rs.Open(call, conn.get(), database::adOpenDynamic, database::adLockReadOnly);
    int checked = 0;
    for (; !rs.eof(); rs.MoveNext()) {
        const int zone = rs.field(QStringLiteral("ControlZoneIndex")).toInt16();
        if (zone == 6) {
            EXPECT_EQ(rs.field(QStringLiteral("name")).toText(), QStringLiteral("Lobby Siren")) << "the neighbour is untouched";
        }
        if (zone != 7) continue;
        ++checked;
        EXPECT_EQ(rs.field(QStringLiteral("name")).toText(), awkward);
        EXPECT_TRUE(rs.field(QStringLiteral("Defined")).toBool());
        EXPECT_TRUE(rs.field(QStringLiteral("tag")).toBool());
        EXPECT_FALSE(rs.field(QStringLiteral("alert")).toBool());
        EXPECT_EQ(rs.field(QStringLiteral("TZ_PRED")).toUInt8(), 9);
        for (int k = 1; k <= 8; ++k) EXPECT_EQ(rs.field(QStringLiteral("RY%1").arg(k)).toInt16(), k % 2) << "ry" << k;
        for (int k = 1; k <= 64; ++k) EXPECT_EQ(rs.field(QStringLiteral("xry%1").arg(k)).toInt16(), k % 3 == 0 ? 1 : 0) << "xry" << k;
    }
    EXPECT_EQ(checked, 1);
    EXPECT_EQ(db().scalar(QStringLiteral("select name from controllerstdcontrolzones where controllerid = %1 and controlzoneindex = 7")
                              .arg(demo::MainEntrance))
                  .toString(),
              QStringLiteral("Lobby Shutter"))
        << "the same zone of another controller is untouched";
}

TEST_P(HostProcedures, MasterZoneRowsWriteBackWithABooleanDefined) {
    const QString call = QStringLiteral("sp_fetchAllControllerMasterControlZones %1").arg(demo::Warehouse);
    const QString name = QStringLiteral("Lockdown \"all\", now");
    const QString description = QStringLiteral("Doors, gates and 'shutters'");
    const int doorGroup = db().scalar(QStringLiteral("select max(doorgroupid) from doorgroups")).toInt();
    {
        Recordset rs;
        rs.Open(call, conn.get(), database::adOpenKeyset, database::adLockOptimistic);
        ASSERT_EQ(rs.field(QStringLiteral("MasterControlZoneIndex")).toInt16(), 192);
        ASSERT_TRUE(rs.field(QStringLiteral("Defined")).toBool()) << "seeded as defined";
        rs.setValue(QStringLiteral("name"), name);
        rs.setValue(QStringLiteral("Description"), description);
        rs.setValue(QStringLiteral("tag"), QVariant::fromValue<qint16>(0));
        rs.setValue(QStringLiteral("alert"), QVariant::fromValue<qint16>(1));
        rs.setValue(QStringLiteral("TZ_PRED"), QVariant::fromValue<quint8>(101));
        rs.setValue(QStringLiteral("Defined"), false);
        rs.setValue(QStringLiteral("LinkedZone"), QVariant::fromValue<quint8>(191));
        rs.setValue(QStringLiteral("DoorGroupID"), QVariant::fromValue<qint32>(doorGroup));
        rs.setValue(QStringLiteral("SecurityLevel"), QVariant::fromValue<quint8>(120));
        rs.setValue(QStringLiteral("globout"), QVariant::fromValue<qint16>(1));
        rs.setValue(QStringLiteral("globid"), QVariant::fromValue<quint8>(255));
        for (int a = 0; a < 21; ++a) rs.setValue(QString::fromUtf8(kActionColumns[a]), QVariant::fromValue<quint8>(191 - a));
        rs.Update();
        rs.Close();
    }
    Recordset rs;
    rs.Open(call, conn.get(), database::adOpenForwardOnly, database::adLockReadOnly);
    ASSERT_EQ(rs.field(QStringLiteral("MasterControlZoneIndex")).toInt16(), 192);
    EXPECT_EQ(rs.field(QStringLiteral("name")).toText(), name);
    EXPECT_EQ(rs.field(QStringLiteral("description")).toText(), description);
    EXPECT_FALSE(rs.field(QStringLiteral("tag")).toBool());
    EXPECT_TRUE(rs.field(QStringLiteral("alert")).toBool());
    EXPECT_EQ(rs.field(QStringLiteral("TZ_PRED")).toUInt8(), 101);
    EXPECT_FALSE(rs.field(QStringLiteral("Defined")).toBool());
    EXPECT_EQ(rs.field(QStringLiteral("LinkedZone")).toUInt8(), 191);
    EXPECT_EQ(rs.field(QStringLiteral("DoorGroupID")).toInt32(), doorGroup);
    EXPECT_EQ(rs.field(QStringLiteral("SecurityLevel")).toUInt8(), 120);
    EXPECT_TRUE(rs.field(QStringLiteral("globout")).toBool());
    EXPECT_EQ(rs.field(QStringLiteral("globid")).toUInt8(), 255);
    for (int a = 0; a < 21; ++a) EXPECT_EQ(rs.field(QString::fromUtf8(kActionColumns[a])).toUInt8(), 191 - a) << kActionColumns[a];
    rs.MoveNext();
    EXPECT_TRUE(rs.field(QStringLiteral("Defined")).toBool()) << "zone 193 is untouched";

    // Stored as a real Boolean on PostgreSQL and as 0/1 on SQLite.
    const QString where =
        QStringLiteral(" from controllermastercontrolzones where controllerid = %1 and mastercontrolzoneindex = ").arg(demo::Warehouse);
    if (isPostgres()) {
        EXPECT_EQ(db().scalar("select pg_typeof(defined)::text" + where + "192").toString(), QStringLiteral("boolean"));
    } else {
        EXPECT_EQ(db().scalar("select typeof(defined) || ':' || defined" + where + "192").toString(), QStringLiteral("integer:0"));
        EXPECT_EQ(db().scalar("select typeof(defined) || ':' || defined" + where + "193").toString(), QStringLiteral("integer:1"));
    }
}

TEST_P(HostProcedures, TheComponentsPlainStatementsRunVerbatim) {
    const database::ResultSet controller =
        fetch(QStringLiteral("Select Controller_Type, Controller_name from controllers where Controller_id = 5"));
    ASSERT_EQ(controller.rows.size(), 1);
    EXPECT_EQ(controller.rows[0].value(0).toInt(), 4);
    EXPECT_EQ(controller.rows[0].value(1).toString(), QStringLiteral("Warehouse \"North\", Dock 2"));

    EXPECT_EQ(ints(QStringLiteral("select ThreatID, Name from ThreatLevels where ThreatId > 0")), (QList<int>{1, 2, 7, 42, 120}));

    // The warehouse's first relays open its doors; the rest are plain relays.
    const database::ResultSet relay1 =
        fetch(QStringLiteral("select OutputID, BelongToDoor, BelongTo from outputs where [index] = 1 and controllerid = 5"));
    ASSERT_EQ(relay1.rows.size(), 1);
    EXPECT_EQ(relay1.rows[0].value(1).toInt(), 1);
    EXPECT_EQ(relay1.rows[0].value(2).toString(), QStringLiteral("D%1").arg(doorId(demo::Warehouse, 1)));
    const database::ResultSet relay3 =
        fetch(QStringLiteral("select OutputID, BelongToDoor, BelongTo from outputs where [index] = 3 and controllerid = 5"));
    ASSERT_EQ(relay3.rows.size(), 1);
    EXPECT_GT(relay3.rows[0].value(0).toInt(), 0);
    EXPECT_EQ(relay3.rows[0].value(1).toInt(), 0);
    EXPECT_TRUE(fetch(QStringLiteral("select OutputID, BelongToDoor, BelongTo from outputs where [index] = 9 and controllerid = 5"))
                    .rows.isEmpty());

    const database::ResultSet input2 =
        fetch(QStringLiteral("select InputID, BelongToDoor, BelongTo from Inputs where [index] = 2 and controllerid = 4"));
    ASSERT_EQ(input2.rows.size(), 1);
    EXPECT_EQ(input2.rows[0].value(2).toString(), QStringLiteral("D%1").arg(doorId(demo::MainEntrance, 2)));
    EXPECT_TRUE(
        fetch(QStringLiteral("select InputID, BelongToDoor, BelongTo from Inputs where [index] = 3 and controllerid = 4")).rows.isEmpty())
        << "type 3 has two base inputs";

    EXPECT_EQ(ints(QStringLiteral("select ExpOutputID from Expoutputs where OutputIndex = 16 and controllerid = 5")).size(), 1);
    EXPECT_TRUE(ints(QStringLiteral("select ExpOutputID from Expoutputs where OutputIndex = 65 and controllerid = 5")).isEmpty());
    EXPECT_EQ(ints(QStringLiteral("select ExpInputID from ExpInputs where InputIndex = 1 and controllerid = 5")).size(), 1);
    EXPECT_TRUE(ints(QStringLiteral("select ExpInputID from ExpInputs where InputIndex = 1 and controllerid = 6")).isEmpty())
        << "type 7 has no expansion inputs";
    EXPECT_EQ(ints(QStringLiteral("select ReaderId from Readers where ReaderIndex = 1 and controllerid = 5")).size(), 1);
    EXPECT_TRUE(ints(QStringLiteral("select ReaderId from Readers where ReaderIndex = 17 and controllerid = 5")).isEmpty());
}

TEST_P(HostProcedures, PickListsAndActionNamesForTheMasterPanel) {
    const database::ResultSet groups = fetch(QStringLiteral("EXECUTE sp_FetchAllDoorGroups"));
    QStringList names;
    for (const QVariantList& row : groups.rows) {
        names << row.value(1).toString();
        EXPECT_EQ(
            db().scalar(QStringLiteral("select doorgroupname from doorgroups where doorgroupid = %1").arg(row.value(0).toInt())).toString(),
            names.last())
            << "ids and names belong together";
    }
    EXPECT_EQ(names.size(), 5);
    EXPECT_TRUE(names.contains(QStringLiteral("Warehouse, Dock & Yard")));

    Recordset rs;
    rs.Open(QStringLiteral("sp_fetchMCZActions"), conn.get(), database::adOpenForwardOnly, database::adLockReadOnly);
    QStringList custom;
    int rows = 0;
    for (; !rs.eof(); rs.MoveNext(), ++rows) {
        const database::Field action = rs.field(QStringLiteral("Action"));
        custom << (action.isNull() ? QStringLiteral("<null>") : action.toText());
    }
    EXPECT_EQ(rows, 21);
    EXPECT_EQ(custom.mid(0, 6), (QStringList{"Activate", "", "<null>", "<null>", "Release Door", "<null>"}));
    EXPECT_EQ(custom.count(QStringLiteral("<null>")), 18);
}

TEST_P(HostProcedures, SeededUsersHaveTheirRights) {
    struct Rights {
        const char* user;
        bool view, save, standardTab, masterTab;
    };
    for (const Rights& r :
         {Rights{"admin", true, true, true, true}, Rights{"viewer", true, false, true, true}, Rights{"nomaster", true, true, true, false},
          Rights{"noview", false, false, true, true}, Rights{"notabs", true, true, false, false}}) {
        SCOPED_TRACE(r.user);
        const QString user = QString::fromUtf8(r.user);
        const database::ResultSet rights =
            fetch(QStringLiteral("select canview, cansave from userrights where username = ? and componenttype = ?"),
                  {user, demo::ControlZoneComponentType});
        ASSERT_EQ(rights.rows.size(), 1);
        EXPECT_EQ(automation::toBool(rights.rows[0].value(0)), r.view);
        EXPECT_EQ(automation::toBool(rights.rows[0].value(1)), r.save);
        const auto tab = [&](const char* caption) {
            const database::ResultSet rs =
                fetch(QStringLiteral("select canview from usertabrights where username = ? and componenttype = ? and tabcaption = ?"),
                      {user, demo::ControlZoneComponentType, QString::fromUtf8(caption)});
            return rs.rows.size() == 1 ? QVariant(automation::toBool(rs.rows[0].value(0))) : QVariant();
        };
        EXPECT_EQ(tab("&Standard Control Zones"), QVariant(r.standardTab));
        EXPECT_EQ(tab("&Master Control Zones"), QVariant(r.masterTab));
    }
}

TAMRIK_ON_BOTH_ENGINES(HostProcedures);

}  // namespace
