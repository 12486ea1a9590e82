// The demo site and the scale seed: shape, consistency of what refers to
// what, and ids that the database keeps handing out afterwards.
#include "tests/host/database_fixture.h"
#include "tests/support/ZoneColumns.h"

#include <algorithm>

using namespace hostdbtest;
using automation::AutomationError;
namespace demo = hostdb::demo;

namespace {

// Base relays per controller type, as the controllers are built.
int baseRelays(int type) {
    switch (type) {
        case 3:
        case 7:
        case 11:
            return 4;
        case 4:
        case 15:
            return 8;
        case 8:
            return 1;
        case 9:
            return 2;
        default:
            return 0;
    }
}

class HostSeed : public HostDatabaseTest {
protected:
    // The insert of a row without an id, answered with the id the database chose.
    int insertReturningId(const QString& sql) { return automation::toInt32(fetch(sql).rows.value(0).value(0)); }

    // Every controller has its full set of rows, and whatever refers to
    // something refers to a row that exists, on the same controller.
    void expectCompleteAndConsistent() {
        const QList<std::pair<const char*, int>> perController{
            {"controllerstdcontrolzones", 192}, {"controllermastercontrolzones", 64}, {"expoutputs", 16}};
        for (const auto& [table, rows] : perController)
            EXPECT_EQ(count(QStringLiteral("controllers c"),
                            QStringLiteral("(select count(*) from %1 x where x.controllerid = c.controller_id) <> %2")
                                .arg(QString::fromUtf8(table))
                                .arg(rows)),
                      0)
                << table;
        for (const char* kind : {"S", "M", "G"})
            EXPECT_EQ(count(QStringLiteral("controllers c"),
                            QStringLiteral("not exists (select 1 from controllertimezoneslots s where s.controllerid = "
                                           "c.controller_id and s.kind = '%1')")
                                .arg(QLatin1String(kind))),
                      0)
                << kind;
        for (const QVariantList& row :
             fetch(QStringLiteral("select controller_type, count(*) from outputs o join controllers c on c.controller_id = "
                                  "o.controllerid group by controller_type, controllerid"))
                 .rows)
            EXPECT_EQ(row.value(1).toInt(), baseRelays(row.value(0).toInt())) << "type " << row.value(0).toInt();
        EXPECT_EQ(
            count(QStringLiteral("controllers c"),
                  QStringLiteral(
                      "c.controller_type not in (5, 6) and not exists (select 1 from outputs o where o.controllerid = c.controller_id)")),
            0);
        // Zones switch only the base relays their controller has, and some do.
        for (int k = 1; k <= 8; ++k) {
            QStringList without;
            for (int type : {3, 4, 5, 6, 7, 8, 9, 11, 15})
                if (baseRelays(type) < k) without << QString::number(type);
            EXPECT_EQ(count(QStringLiteral("controllerstdcontrolzones z join controllers c on c.controller_id = z.controllerid"),
                            QStringLiteral("z.ry%1 <> 0 and c.controller_type in (%2)").arg(k).arg(without.join(QLatin1Char(',')))),
                      0)
                << "ry" << k;
            EXPECT_GT(count(QStringLiteral("controllerstdcontrolzones"), QStringLiteral("ry%1 = 1").arg(k)), 0) << "ry" << k;
        }

        EXPECT_EQ(db().scalar(QStringLiteral(
                                  "select count(*) from (select controllerid, name from controllerstdcontrolzones union all "
                                  "select controllerid, name from controllermastercontrolzones) z where name is null or trim(name) = ''"))
                      .toInt(),
                  0);
        EXPECT_EQ(
            db()
                .scalar(QStringLiteral(
                    "select count(*) from (select controllerid, name from (select controllerid, name from controllerstdcontrolzones union "
                    "all "
                    "select controllerid, name from controllermastercontrolzones) z group by controllerid, name having count(*) > 1) d"))
                .toInt(),
            0)
            << "the dialog refuses duplicate names on OK";

        // Every zone's time zone is a slot its controller defines.
        for (const char* table : {"controllerstdcontrolzones", "controllermastercontrolzones"})
            EXPECT_EQ(
                count(QString::fromUtf8(table), QStringLiteral("not exists (select 1 from controllertimezoneslots s where s.controllerid = "
                                                               "%1.controllerid and s.slot = %1.tz_pred)")
                                                    .arg(QString::fromUtf8(table))),
                0)
                << table;
        // A defined master zone's actions use defined standard zones of its own controller.
        for (const QString& column : testsupport::quoted(testsupport::actionColumns()))
            EXPECT_EQ(
                count(QStringLiteral("controllermastercontrolzones m"),
                      QStringLiteral("m.defined = %1 and not exists (select 1 from controllerstdcontrolzones z where z.controllerid = "
                                     "m.controllerid and z.controlzoneindex = m.%2 and z.defined = %1)")
                          .arg(pick(QStringLiteral("1"), QStringLiteral("true")), column)),
                0)
                << column.toStdString();
        EXPECT_GT(count(QStringLiteral("controllermastercontrolzones"), pick(QStringLiteral("defined = 1"), QStringLiteral("defined"))), 0);
        EXPECT_EQ(
            count(QStringLiteral("controllermastercontrolzones m"),
                  QStringLiteral("m.doorgroupid <> 0 and not exists (select 1 from doorgroups g where g.doorgroupid = m.doorgroupid)")),
            0);
        EXPECT_EQ(count(QStringLiteral("controllermastercontrolzones m"),
                        QStringLiteral("not exists (select 1 from threatlevels t where t.threatid = m.securitylevel)")),
                  0);
        // Doors referred to by "D<id>" or by id exist on the same controller.
        for (const char* table : {"outputs", "inputs"})
            EXPECT_EQ(
                count(QString::fromUtf8(table) + QStringLiteral(" p"),
                      QStringLiteral("p.belongtodoor = 1 and not exists (select 1 from doors d where 'D' || d.doorid = p.belongto and "
                                     "d.controllerid = p.controllerid)")),
                0)
                << table;
        EXPECT_GT(count(QStringLiteral("outputs"), QStringLiteral("belongtodoor = 1")), 0);
        EXPECT_EQ(count(QStringLiteral("readers r"),
                        QStringLiteral("not exists (select 1 from doors d where d.doorid = r.doorid and d.controllerid = r.controllerid)")),
                  0);
    }
};

class HostSeedScale : public HostSeed {
protected:
    Content content() const override { return Content::Schema; }
};

TEST_P(HostSeed, DemoSiteHasEveryRelayCountAndIsConsistent) {
    QList<int> relayCounts;
    bool awkwardName = false;
    for (const QVariantList& row : fetch(QStringLiteral("select controller_type, controller_name from controllers")).rows) {
        relayCounts << baseRelays(row.value(0).toInt());
        const QString name = row.value(1).toString();
        awkwardName |= name.contains(QLatin1Char('"')) && name.contains(QLatin1Char(','));
    }
    EXPECT_EQ(relayCounts.size(), demo::ControllerCount);
    std::sort(relayCounts.begin(), relayCounts.end());
    relayCounts.erase(std::unique(relayCounts.begin(), relayCounts.end()), relayCounts.end());
    EXPECT_EQ(relayCounts, (QList<int>{0, 1, 2, 4, 8}));
    EXPECT_TRUE(awkwardName) << "a controller name with quotes and a comma";
    expectCompleteAndConsistent();
    EXPECT_GT(count(QStringLiteral("controllerstdcontrolzones"), QStringLiteral("name like '%\"%' and name like '%,%'")), 0);

    // Exactly one defined slot lacks a generic time zone, and a zone uses it.
    const database::ResultSet rs =
        fetch(QStringLiteral("select controllerid, slot from controllertimezoneslots where generictimezoneid is null"));
    ASSERT_EQ(rs.rows.size(), 1);
    EXPECT_EQ(rs.rows[0].value(0).toInt(), demo::EmptySlotController);
    EXPECT_EQ(rs.rows[0].value(1).toInt(), demo::EmptySlot);
    EXPECT_GT(count(QStringLiteral("controllerstdcontrolzones"),
                    QStringLiteral("controllerid = %1 and tz_pred = %2").arg(demo::EmptySlotController).arg(demo::EmptySlot)),
              0);
}

TEST_P(HostSeed, RunsOnlyOnAnEmptySiteAndLeavesIdsToTheDatabaseAfterwards) {
    EXPECT_THROW(hostdb::seedDemo(*conn), AutomationError);
    EXPECT_FALSE(conn->inTransaction());
    EXPECT_EQ(count(QStringLiteral("controllers")), demo::ControllerCount);
    EXPECT_EQ(count(QStringLiteral("generictimezones")), 10);

    // Rows added later get fresh ids (PostgreSQL's sequences follow the seeded ids).
    const int controller = insertReturningId(
        QStringLiteral("insert into controllers (controller_type, controller_name) values (3, 'Added later') returning controller_id"));
    EXPECT_EQ(controller, demo::ControllerCount + 1);
    const int maxDoor = db().scalar(QStringLiteral("select max(doorid) from doors")).toInt();
    EXPECT_EQ(
        insertReturningId(QStringLiteral("insert into doors (controllerid, doorindex, name) values (%1, 1, 'New door') returning doorid")
                              .arg(controller)),
        maxDoor + 1);
}

TEST_P(HostSeedScale, AddsControllersOfEveryTypeAfterThoseThereAndReusesTheSite) {
    hostdb::seedScale(*conn, 3);
    EXPECT_EQ(count(QStringLiteral("controllers")), 3);
    EXPECT_EQ(count(QStringLiteral("controllerstdcontrolzones")), 3 * 192);
    EXPECT_EQ(count(QStringLiteral("controllertimezoneslots")), 3 * 15);
    EXPECT_EQ(count(QStringLiteral("outputs")), 0 + 1 + 2);  // types 5, 8, 9
    EXPECT_EQ(count(QStringLiteral("users")), 5);
    EXPECT_EQ(count(QStringLiteral("userrights")), 5);

    // Twelve more: one of each type built, the last three copied from them.
    hostdb::seedScale(*conn, 12);
    EXPECT_EQ(count(QStringLiteral("controllers")), 15);
    EXPECT_EQ(db().scalar(QStringLiteral("select max(controller_id) from controllers")).toInt(), 15);
    EXPECT_EQ(count(QStringLiteral("controllertypes t"),
                    QStringLiteral("not exists (select 1 from controllers c where c.controller_type = t.controller_type)")),
              0)
        << "every type is seeded";
    expectCompleteAndConsistent();
    EXPECT_EQ(
        count(QStringLiteral("controllerstdcontrolzones a join controllerstdcontrolzones b on b.controlzoneindex = a.controlzoneindex"),
              QStringLiteral("a.controllerid = 4 and b.controllerid = 13 and (a.name <> b.name or a.ry1 <> b.ry1 or a.xry5 <> b.xry5)")),
        0)
        << "a copy has its prototype's zones";
    EXPECT_EQ(count(QStringLiteral("generictimezones")), 10) << "the site's time zones are reused";
    EXPECT_EQ(count(QStringLiteral("users")), 5);
    EXPECT_EQ(count(QStringLiteral("threatlevels")), 6);
    EXPECT_EQ(count(QStringLiteral("controllertimezoneslots"), QStringLiteral("generictimezoneid is null")), 0);

    EXPECT_EQ(insertReturningId(
                  QStringLiteral("insert into controllers (controller_type, controller_name) values (4, 'x') returning controller_id")),
              16);
    EXPECT_THROW(hostdb::seedScale(*conn, -1), AutomationError);
}

TAMRIK_ON_BOTH_ENGINES(HostSeed);
TAMRIK_ON_BOTH_ENGINES(HostSeedScale);

}  // namespace
