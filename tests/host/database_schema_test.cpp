// The host schema: created once and whole, with the procedures of the
// connection's engine and the operator texts the component asks for.
#include "tests/host/database_fixture.h"

#include <QHash>

using namespace hostdbtest;
using automation::AutomationError;

namespace {

class HostSchema : public HostDatabaseTest {
protected:
    Content content() const override { return Content::Empty; }
};

const QStringList kProcedures{"sp_fetchallgenerictimezonenames",        "sp_fetchalldefinedcontrollertimezones",
                              "sp_fetchalldefinedcontrollermastertimezones", "sp_fetchalldefinedcontrollergrandtimezones",
                              "sp_fetchgenerictimezoneid",              "sp_fetchallcontrollerstdcontrolzones",
                              "sp_fetchallcontrollermastercontrolzones", "sp_fetchmczactions", "sp_fetchalldoorgroups"};

TEST_P(HostSchema, IsCreatedOnceWithTheProceduresOfItsOwnEngine) {
    EXPECT_FALSE(hostdb::hasSchema(*conn));
    hostdb::createSchema(*conn);
    EXPECT_TRUE(hostdb::hasSchema(*conn));
    hostdb::createSchema(*conn);  // a second call finds it and leaves it alone
    EXPECT_FALSE(conn->inTransaction());

    const QString engineText = hostdb::engineName(engine());
    QStringList names;
    for (const QVariantList& row : fetch(QStringLiteral("select name, engine from sys_procedures order by name")).rows) {
        EXPECT_EQ(row.value(1).toString(), engineText);
        names << row.value(0).toString();
    }
    QStringList expected = kProcedures;
    expected.sort();
    EXPECT_EQ(names, expected);

}

TEST_P(HostSchema, AFailedCreationLeavesNothingBehind) {
    // A table in the way makes the script fail part-way through.
    conn->fetchAll(QStringLiteral("create table doors (doorid integer)"));
    try {
        hostdb::createSchema(*conn);
        ADD_FAILURE() << "createSchema succeeded over a conflicting table";
    } catch (const AutomationError& e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("schema.sql")))
            << "the error names the script: " << e.description().toStdString();
    }
    EXPECT_FALSE(conn->inTransaction());
    EXPECT_FALSE(hostdb::hasSchema(*conn));
    const QStringList tables = conn->database().tables();
    EXPECT_FALSE(tables.contains(QStringLiteral("controllers"), Qt::CaseInsensitive))
        << "the tables created before the failure are rolled back";
    EXPECT_TRUE(tables.contains(QStringLiteral("doors"), Qt::CaseInsensitive));
}

TEST_P(HostSchema, CreatesInsideTheCallersTransactionWithoutEndingIt) {
    conn->beginTransaction();
    hostdb::createSchema(*conn);
    EXPECT_TRUE(conn->inTransaction());
    conn->rollbackTransaction();
    EXPECT_FALSE(hostdb::hasSchema(*conn)) << "the caller's rollback takes the schema with it";
}

TEST_P(HostSchema, ResourceTextsAndActionNamesExistWithoutAnySeed) {
    hostdb::createSchema(*conn);
    // Number -> the inserts its text carries; every other number carries none.
    const QHash<int, QStringList> inserts{{1164, {"%1"}}, {1732, {"%1", "%2"}}, {1733, {"%1"}}, {1735, {"%1", "%2"}}, {1736, {"%1"}}};
    const QList<int> numbers{287, 288, 289, 290, 661, 1152, 1153, 1154, 1155, 1156, 1157,
                             1158, 1159, 1164, 1580, 1732, 1733, 1735, 1736, 2801, 2802, 2807};
    for (int number : numbers) {
        const database::ResultSet rs = fetch(QStringLiteral("select text from resources where resourceid = ?"), {number});
        ASSERT_EQ(rs.rows.size(), 1) << "resource " << number;
        const QString text = rs.rows.first().value(0).toString();
        EXPECT_FALSE(text.trimmed().isEmpty()) << "resource " << number;
        for (int i = 1; i <= 9; ++i) {
            const QString marker = QStringLiteral("%%1").arg(i);
            EXPECT_EQ(text.contains(marker), inserts.value(number).contains(marker))
                << "resource " << number << " and " << marker.toStdString() << ": " << text.toStdString();
        }
    }
    EXPECT_EQ(fetch(QStringLiteral("select text from resources where resourceid = 290")).rows.value(0).value(0).toString(),
              QStringLiteral("Control Zones"));

    // Action names come in action order without any seed.
    database::Recordset rs;
    rs.Open(QStringLiteral("sp_fetchMCZActions"), conn.get(), database::adOpenForwardOnly, database::adLockReadOnly);
    QStringList defaults;
    for (; !rs.eof(); rs.MoveNext()) {
        EXPECT_TRUE(rs.field(QStringLiteral("Action")).isNull());
        defaults << rs.field(QStringLiteral("DefaultAction")).toText();
    }
    ASSERT_EQ(defaults.size(), 21);
    EXPECT_EQ(defaults.first(), QStringLiteral("Trigger"));
    EXPECT_EQ(defaults.at(4), QStringLiteral("Unlock"));
    EXPECT_EQ(defaults.at(14), QStringLiteral("Annunciate Keypads"));
    EXPECT_EQ(defaults.last(), QStringLiteral("LED Off"));
}

TAMRIK_ON_BOTH_ENGINES(HostSchema);

}  // namespace
