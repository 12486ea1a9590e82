// The demo site and the scale seed: shape, consistency of what refers to
// what, and ids that the database keeps handing out afterwards.
#include "tests/host/database_fixture.h"
#include "tests/support/ZoneColumns.h"

using namespace hostdbtest;
using automation::AutomationError;
namespace demo = hostdb::demo;

namespace {

class HostSeed : public HostDatabaseTest {
protected:
    int insertReturningId(const QString& sql) { return automation::toInt32(fetch(sql).rows.value(0).value(0)); }

    // Each rule counts the rows that break it: every controller has its full
    // set of rows, and whatever refers to something refers to a row that
    // exists, on the same controller.
    void expectCompleteAndConsistent() {
        const QString yes = pick(QStringLiteral("1"), QStringLiteral("true"));
        QStringList rules{
            "controllers c where (select count(*) from controllerstdcontrolzones z where z.controllerid = c.controller_id) <> 192",
            "controllers c where (select count(*) from controllermastercontrolzones z where z.controllerid = c.controller_id) <> 64",
            "controllers c where (select count(*) from expoutputs x where x.controllerid = c.controller_id) <> 16",
            "controllers c where (select count(distinct kind) from controllertimezoneslots s where s.controllerid = c.controller_id) <> 3",
            // Outputs as many as the type's base relays; zones switch only those.
            "controllers c join controllertypes t on t.controller_type = c.controller_type "
            "where (select count(*) from outputs o where o.controllerid = c.controller_id) <> t.base_relays",
            // Names present and unique per controller: the dialog refuses duplicates on OK.
            "(select name from controllerstdcontrolzones union all select name from controllermastercontrolzones) z "
            "where name is null or trim(name) = ''",
            "(select controllerid, name from (select controllerid, name from controllerstdcontrolzones union all "
            "select controllerid, name from controllermastercontrolzones) z group by controllerid, name having count(*) > 1) d",
            "readers r where not exists (select 1 from doors d where d.doorid = r.doorid and d.controllerid = r.controllerid)",
            "controllermastercontrolzones m where m.doorgroupid <> 0 and not exists (select 1 from doorgroups g where g.doorgroupid = m.doorgroupid)",
            "controllermastercontrolzones m where not exists (select 1 from threatlevels t where t.threatid = m.securitylevel)"};
        for (int k = 1; k <= 8; ++k)
            rules << QStringLiteral("controllerstdcontrolzones z join controllers c on c.controller_id = z.controllerid join controllertypes t "
                                    "on t.controller_type = c.controller_type where z.ry%1 <> 0 and t.base_relays < %1")
                         .arg(k);
        for (const char* table : {"controllerstdcontrolzones", "controllermastercontrolzones"})
            rules << QStringLiteral("%1 z where not exists (select 1 from controllertimezoneslots s where s.controllerid = z.controllerid "
                                    "and s.slot = z.tz_pred)")
                         .arg(QLatin1String(table));
        for (const char* table : {"outputs", "inputs"})
            rules << QStringLiteral("%1 p where p.belongtodoor = 1 and not exists (select 1 from doors d where 'D' || d.doorid = p.belongto "
                                    "and d.controllerid = p.controllerid)")
                         .arg(QLatin1String(table));
        // A defined master zone's actions use defined standard zones of its own controller.
        for (const QString& column : testsupport::quoted(testsupport::actionColumns()))
            rules << QStringLiteral("controllermastercontrolzones m where m.defined = %1 and not exists (select 1 from "
                                    "controllerstdcontrolzones z where z.controllerid = m.controllerid and z.controlzoneindex = m.%2 "
                                    "and z.defined = %1)")
                         .arg(yes, column);
        for (const QString& rule : rules)
            EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from ") + rule).toInt(), 0) << rule.toStdString();
        // ... and the cases the dialog has to handle do occur.
        for (const char* present : {"controllerstdcontrolzones where ry1 = 1", "controllerstdcontrolzones where ry8 = 1",
                                    "outputs where belongtodoor = 1"})
            EXPECT_GT(db().scalar(QStringLiteral("select count(*) from ") + QLatin1String(present)).toInt(), 0) << present;
    }
};

class HostSeedScale : public HostSeed {
protected:
    Content content() const override { return Content::Schema; }
};

TEST_P(HostSeed, DemoSiteHasEveryRelayCountAndIsConsistent) {
    EXPECT_EQ(fetch(QStringLiteral("select distinct t.base_relays from controllers c join controllertypes t on "
                                   "t.controller_type = c.controller_type order by 1"))
                  .rows.size(),
              5)
        << "0, 1, 2, 4 and 8 base relays";
    EXPECT_EQ(count(QStringLiteral("controllers")), demo::ControllerCount);
    EXPECT_EQ(count(QStringLiteral("controllers"), QStringLiteral("controller_name like '%\"%' and controller_name like '%,%'")), 1);
    EXPECT_GT(count(QStringLiteral("controllerstdcontrolzones"), QStringLiteral("name like '%\"%' and name like '%,%'")), 0);
    expectCompleteAndConsistent();
    // Exactly one defined slot lacks a generic time zone, and a zone uses it.
    const database::ResultSet rs = fetch(QStringLiteral("select controllerid, slot from controllertimezoneslots where generictimezoneid is null"));
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
    hostdb::seedScale(*conn, 12);  // one of each type built, the last three copied from them
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
    for (const auto& [table, rows] : {std::pair{"generictimezones", 10}, {"users", 5}, {"threatlevels", 6}})
        EXPECT_EQ(count(QLatin1String(table)), rows) << table << ": the site's reference rows are reused";
    EXPECT_EQ(count(QStringLiteral("controllertimezoneslots"), QStringLiteral("generictimezoneid is null")), 0);
    EXPECT_EQ(insertReturningId(
                  QStringLiteral("insert into controllers (controller_type, controller_name) values (4, 'x') returning controller_id")),
              16);
    EXPECT_THROW(hostdb::seedScale(*conn, -1), AutomationError);
}

TAMRIK_ON_BOTH_ENGINES(HostSeed);
TAMRIK_ON_BOTH_ENGINES(HostSeedScale);

}  // namespace
