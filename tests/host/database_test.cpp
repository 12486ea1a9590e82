// The host database on both engines: the schema, created once and whole, with
// its engine's procedures (their answers are what the dialog tests load) and
// the texts the component asks for; the demo and scale seeds, consistent, with
// ids the database keeps handing out afterwards.
#include "platform/automation/Convert.h"
#include "tests/support/HostDatabase.h"

using automation::AutomationError;
namespace demo = hostdb::demo;

namespace {

class HostSchema : public testsupport::HostDatabaseTest {
protected:
    HostSchema() { content = Content::Empty; }
};

TEST_P(HostSchema, IsCreatedInsideTheCallersTransactionWholeOrNotAtAllAndOnce) {
    conn->beginTransaction();
    hostdb::createSchema(*conn);
    EXPECT_TRUE(conn->inTransaction());
    conn->rollbackTransaction();
    EXPECT_FALSE(hostdb::hasSchema(*conn)) << "the caller's rollback takes the schema with it";
    // A table in the way fails the script part-way: what it created before is rolled back.
    conn->fetchAll(QStringLiteral("create table doors (doorid integer)"));
    const AutomationError e = testsupport::errorOf([&] { hostdb::createSchema(*conn); });
    EXPECT_TRUE(e.description().contains(QStringLiteral("schema.sql"))) << "the error names the script: " << e.description().toStdString();
    EXPECT_TRUE(!conn->inTransaction() && !hostdb::hasSchema(*conn)) << "what the script created before is rolled back";
    EXPECT_FALSE(conn->database().tables().contains(QStringLiteral("controllers"), Qt::CaseInsensitive));
    conn->fetchAll(QStringLiteral("drop table doors"));
    hostdb::createSchema(*conn);
    EXPECT_TRUE(hostdb::hasSchema(*conn));
    hostdb::createSchema(*conn);  // a second call finds it and leaves it alone
    EXPECT_FALSE(conn->inTransaction());
}

// Without any seed: its engine's procedures, texts with the inserts the component passes, a name per action.
TEST_P(HostSchema, HoldsTheProceduresResourceTextsAndActionNames) {
    hostdb::createSchema(*conn);
    EXPECT_EQ(column(QStringLiteral("select distinct engine from sys_procedures")), QVariantList{hostdb::engineName(engine())});
    EXPECT_EQ(column(QStringLiteral("select count(*) from sys_procedures")).value(0).toInt(), 9) << "the loads call each of them";
    // Number -> the inserts its text carries; every other number carries none.
    const QHash<int, QStringList> inserts{{1164, {"%1"}}, {1732, {"%1", "%2"}}, {1733, {"%1"}}, {1735, {"%1", "%2"}}, {1736, {"%1"}}};
    for (int number : {287, 288, 289, 290, 661, 1152, 1153, 1154, 1155, 1156, 1157, 1158, 1159, 1164, 1580, 1732, 1733, 1735, 1736, 2801, 2802, 2807}) {
        const QString text = column(QStringLiteral("select text from resources where resourceid = ?"), {number}).value(0).toString();
        QStringList markers;
        for (int i = 1; i <= 9; ++i)
            if (text.contains(QStringLiteral("%%1").arg(i))) markers << QStringLiteral("%%1").arg(i);
        EXPECT_FALSE(text.trimmed().isEmpty()) << "resource " << number;
        EXPECT_EQ(markers, inserts.value(number)) << "resource " << number << ": " << text.toStdString();
    }
    EXPECT_EQ(conn->fetchAll(QStringLiteral("sp_fetchMCZActions")).rows.size(), 21) << "a name for each action";
}

TAMRIK_ON_BOTH_ENGINES(HostSchema);

class HostSite : public HostSchema {
protected:
    HostSite() { content = Content::Demo; }
    int insertReturningId(const QString& sql) { return automation::toInt32(column(sql).value(0)); }
    int count(const QString& sql) { return db().scalar(QStringLiteral("select count(*) from ") + sql).toInt(); }

    // Each rule counts the rows that break it: every controller has its full
    // set of rows, and whatever refers to something refers to a row that
    // exists, on the same controller.
    void expectCompleteAndConsistent() {
        QStringList rules{
            "controllers c where (select count(distinct kind) from controllertimezoneslots s where s.controllerid = c.controller_id) <> 3",
            // Outputs as many as the type's base relays; zones switch only those.
            "controllers c join controllertypes t on t.controller_type = c.controller_type "
            "where (select count(*) from outputs o where o.controllerid = c.controller_id) <> t.base_relays",
            // Names present and unique per controller: the dialog refuses duplicates on OK.
            "(select name from controllerstdcontrolzones union all select name from controllermastercontrolzones) z where name is null or trim(name) = ''",
            "(select controllerid, name from (select controllerid, name from controllerstdcontrolzones union all "
            "select controllerid, name from controllermastercontrolzones) z group by controllerid, name having count(*) > 1) d",
            "readers r where not exists (select 1 from doors d where d.doorid = r.doorid and d.controllerid = r.controllerid)",
            "controllermastercontrolzones m where m.doorgroupid <> 0 and not exists (select 1 from doorgroups g where g.doorgroupid = m.doorgroupid)",
            "controllermastercontrolzones m where not exists (select 1 from threatlevels t where t.threatid = m.securitylevel)"};
        for (const auto& [table, rows] : {std::pair{"controllerstdcontrolzones", 192}, {"controllermastercontrolzones", 64}, {"expoutputs", 16}})
            rules << QStringLiteral("controllers c where (select count(*) from %1 z where z.controllerid = c.controller_id) <> %2").arg(QLatin1String(table)).arg(rows);
        for (int k = 1; k <= 8; ++k)
            rules << QStringLiteral("controllerstdcontrolzones z join controllers c on c.controller_id = z.controllerid join controllertypes t "
                                    "on t.controller_type = c.controller_type where z.ry%1 <> 0 and t.base_relays < %1").arg(k);
        for (const char* table : {"controllerstdcontrolzones", "controllermastercontrolzones"})
            rules << QStringLiteral("%1 z where not exists (select 1 from controllertimezoneslots s where s.controllerid = z.controllerid "
                                    "and s.slot = z.tz_pred)").arg(table);
        for (const char* table : {"outputs", "inputs"})
            rules << QStringLiteral("%1 p where p.belongtodoor = 1 and not exists (select 1 from doors d where 'D' || d.doorid = p.belongto "
                                    "and d.controllerid = p.controllerid)").arg(table);
        // A defined master zone's actions use defined standard zones of its own controller.
        for (const QString& action : testsupport::quoted(testsupport::actionColumns()))
            rules << QStringLiteral("controllermastercontrolzones m where m.defined = %1 and not exists (select 1 from controllerstdcontrolzones z "
                                    "where z.controllerid = m.controllerid and z.controlzoneindex = m.%2 and z.defined = %1)").arg(pick("1", "true"), action);
        for (const QString& rule : rules) EXPECT_EQ(count(rule), 0) << rule.toStdString();
        // ... and the cases the dialog has to handle do occur.
        for (const char* present : {"controllerstdcontrolzones where ry1 = 1", "controllerstdcontrolzones where ry8 = 1", "outputs where belongtodoor = 1"})
            EXPECT_GT(count(present), 0) << present;
    }
};

TEST_P(HostSite, DemoHasEveryRelayCountIsConsistentAndSeedsOnlyAnEmptySite) {
    EXPECT_EQ(count(QStringLiteral("(select distinct t.base_relays from controllers c join controllertypes t on t.controller_type = c.controller_type) r")), 5)
        << "0, 1, 2, 4 and 8 base relays";
    EXPECT_EQ(count(QStringLiteral("controllers")), demo::ControllerCount);
    EXPECT_EQ(count(QStringLiteral("controllers where controller_name like '%\"%' and controller_name like '%,%'")), 1);
    EXPECT_GT(count(QStringLiteral("controllerstdcontrolzones where name like '%\"%' and name like '%,%'")), 0);
    expectCompleteAndConsistent();
    // Exactly one defined slot lacks a generic time zone, and a zone uses it.
    EXPECT_EQ(db().rows(QStringLiteral("select controllerid, slot from controllertimezoneslots where generictimezoneid is null")),
              QStringList{QStringLiteral("%1|%2").arg(demo::EmptySlotController).arg(demo::EmptySlot)});
    EXPECT_GT(count(QStringLiteral("controllerstdcontrolzones where controllerid = %1 and tz_pred = %2").arg(demo::EmptySlotController).arg(demo::EmptySlot)), 0);

    EXPECT_THROW(hostdb::seedDemo(*conn), AutomationError);
    EXPECT_FALSE(conn->inTransaction());
    EXPECT_EQ(count(QStringLiteral("controllers")), demo::ControllerCount);
}

class HostScale : public HostSite {
protected:
    HostScale() { content = Content::Schema; }
};

TEST_P(HostScale, AddsControllersOfEveryTypeAfterThoseThereAndReusesTheSite) {
    hostdb::seedScale(*conn, 3);
    hostdb::seedScale(*conn, 12);  // one of each type built, the last three copied from them
    EXPECT_EQ(count(QStringLiteral("controllers")), 15);
    EXPECT_EQ(db().scalar(QStringLiteral("select max(controller_id) from controllers")).toInt(), 15);
    EXPECT_EQ(count(QStringLiteral("controllertypes t where not exists (select 1 from controllers c where c.controller_type = t.controller_type)")), 0)
        << "every type is seeded";
    expectCompleteAndConsistent();
    EXPECT_EQ(count(QStringLiteral("controllerstdcontrolzones a join controllerstdcontrolzones b on b.controlzoneindex = a.controlzoneindex where "
                                   "a.controllerid = 4 and b.controllerid = 13 and (a.name <> b.name or a.ry1 <> b.ry1 or a.xry5 <> b.xry5)")), 0)
        << "a copy has its prototype's zones";
    for (const auto& [table, rows] : {std::pair{"generictimezones", 10}, {"users", 5}, {"threatlevels", 6}})
        EXPECT_EQ(count(QLatin1String(table)), rows) << table << ": the site's reference rows are reused";
    EXPECT_EQ(count(QStringLiteral("controllertimezoneslots where generictimezoneid is null")), 0);
    // Rows added later get fresh ids (PostgreSQL's sequences follow the seeded ids).
    EXPECT_EQ(insertReturningId(QStringLiteral("insert into controllers (controller_type, controller_name) values (4, 'x') returning controller_id")), 16);
    const int maxDoor = db().scalar(QStringLiteral("select max(doorid) from doors")).toInt();
    EXPECT_EQ(insertReturningId(QStringLiteral("insert into doors (controllerid, doorindex, name) values (16, 1, 'New door') returning doorid")), maxDoor + 1);
    EXPECT_THROW(hostdb::seedScale(*conn, -1), AutomationError);
}

TAMRIK_ON_BOTH_ENGINES(HostSite);
TAMRIK_ON_BOTH_ENGINES(HostScale);

}  // namespace
