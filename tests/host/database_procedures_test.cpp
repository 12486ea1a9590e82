// The stored procedures and plain statements of the component, spelled as the
// component spells them, against the demo site on both engines.
#include "tests/host/database_fixture.h"
#include "tests/support/ZoneColumns.h"

using namespace hostdbtest;
using database::Recordset;
namespace demo = hostdb::demo;

namespace {

class HostProcedures : public HostDatabaseTest {
protected:
    QList<int> ints(const QString& sql) {
        QList<int> out;
        for (const QVariantList& row : fetch(sql).rows) out << automation::toInt32(row.value(0));
        return out;
    }
};

TEST_P(HostProcedures, AnswerUnderEverySpellingWithTheColumnsTheComponentReads) {
    const QString w = QString::number(demo::Warehouse);
    const QList<std::pair<QString, QStringList>> calls{
        {"sp_FetchAllGenericTimeZoneNames", {"name", "GenericTimeZoneId"}},
        {"Sp_FetchAllDefinedControllerTimeZones " + w, {"TimeZoneIndex"}},
        {"Sp_FetchAllDefinedControllerMasterTimeZones " + w, {"MasterTimeZoneIndex"}},
        {"Sp_FetchAllDefinedControllerGrandTimeZones " + w, {"GrandMAsterTimeZoneIndex"}},
        {"Sp_FetchGenericTimeZoneId " + w + ", 1", {"GenericTimeZoneId"}},
        {"sp_FetchAllControllerStdControlZones " + w, testsupport::standardZoneColumns()},
        {"sp_fetchAllControllerMasterControlZones " + w, testsupport::masterZoneColumns()},
        {"sp_fetchMCZActions", {"Action", "DefaultAction"}},
        {"sp_FetchAllDoorGroups", {"DoorGroupID", "DoorGroupName"}}};
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

TEST_P(HostProcedures, PickListsAndActionNamesForTheMasterPanel) {
    for (const QVariantList& row : fetch(QStringLiteral("EXECUTE sp_FetchAllDoorGroups")).rows)
        EXPECT_EQ(db().count(QStringLiteral("doorgroups"), QStringLiteral("doorgroupid = %1 and doorgroupname = '%2'")
                                                               .arg(row.value(0).toInt()).arg(row.value(1).toString())),
                  1)
            << "ids and names belong together";

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

TAMRIK_ON_BOTH_ENGINES(HostProcedures);

}  // namespace
