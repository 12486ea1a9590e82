// Procedure-call recognition and dispatch through sys_procedures; plain SQL.
#include "tests/database/ZonesFixture.h"

using namespace dbtest;
using database::Recordset;

TEST(DatabaseParser, RecognisesProcedureCallShapes) {
    auto call = database::parseProcedureCall(QStringLiteral("  exec  Sp_X 5 ,-12, 2.5 ; "));
    ASSERT_TRUE(call);
    EXPECT_TRUE(call->explicitExecute);
    EXPECT_EQ(call->name, QStringLiteral("Sp_X"));
    ASSERT_EQ(call->arguments.size(), 3);
    EXPECT_EQ(call->arguments[0], QVariant(5LL));
    EXPECT_EQ(call->arguments[1], QVariant(-12LL));
    EXPECT_EQ(call->arguments[2], QVariant(2.5));

    call = database::parseProcedureCall(QStringLiteral("sp_fetchMCZActions"));
    ASSERT_TRUE(call);
    EXPECT_FALSE(call->explicitExecute);
    EXPECT_TRUE(call->arguments.isEmpty());

    for (const char* text : {"select * from t", "sp_x 1,", "sp_x 'a'", "sp_x 1 2", "sp_x 1; drop table zones", "sp_x(1)"})
        EXPECT_FALSE(database::parseProcedureCall(QString::fromLatin1(text))) << text;
}

class DatabaseProcedures : public ZonesTest {};

TEST_P(DatabaseProcedures, CallFormsAndLetterCasesReachTheSameProcedure) {
    for (const char* text : {"EXECUTE sp_FetchZones", "exec SP_FETCHZONES", "sp_fetchzones;", "Execute sp_fetchZones ; "}) {
        Recordset rs;
        rs.Open(QString::fromLatin1(text), conn.get());
        EXPECT_EQ(ids(rs), (QList<int>{1, 2, 3})) << text;
    }
    Recordset one;
    one.Open(QStringLiteral("Sp_FetchZone 2"), conn.get());
    EXPECT_EQ(ids(one), QList<int>{2});
    Recordset two;
    two.Open(QStringLiteral("sp_ZonesBetween 2, 3"), conn.get());
    EXPECT_EQ(ids(two), (QList<int>{2, 3}));
}

TEST_P(DatabaseProcedures, ArgumentsArriveAsBoundNumbers) {
    Recordset rs;
    rs.Open(QStringLiteral("sp_echo 007"), conn.get());
    EXPECT_EQ(rs.field(QStringLiteral("v")).toInt32(), 7);
    EXPECT_EQ(rs.field(QStringLiteral("literal")).toText(), QStringLiteral("?"));
    // Extra parameters of the C++ API continue the argument list.
    EXPECT_EQ(conn->fetchAll(QStringLiteral("sp_zonesbetween 1"), {2}).rows.size(), 2);

    // Plain SQL with a bracketed column name, in text and in a literal.
    Recordset plain;
    plain.Open(QStringLiteral("SELECT [index], '[index]' AS label FROM zones WHERE id = 1"), conn.get());
    EXPECT_EQ(plain.field(QStringLiteral("index")).toInt16(), 3);
    EXPECT_EQ(plain.field(QStringLiteral("label")).toText(), QStringLiteral("[index]"));
    conn->execute(QStringLiteral("UPDATE zones SET [index] = ? WHERE id = ?"), {9, 1});
    EXPECT_EQ(db().scalar(QStringLiteral("select \"index\" from zones where id = 1")).toInt(), 9);
}

// What reaches the driver: a procedure's first call with its integers as
// text, later calls through one statement prepared once, any other value bound.
TEST_P(DatabaseProcedures, IntegersGoAsTextOnceThenOnePreparedStatementServesTheLoop) {
    conn->fetchAll(QStringLiteral("sp_fetchzones"));  // the procedures are read once per session
    QList<database::Connection::Statement> sent;
    conn->setStatementHook([&](const database::Connection::Statement& s) {
        sent << s;
        return false;
    });
    Recordset first;
    first.Open(QStringLiteral("sp_echo -7"), conn.get());
    EXPECT_EQ(first.field(QStringLiteral("v")).toInt32(), -7);
    EXPECT_EQ(first.field(QStringLiteral("literal")).toText(), QStringLiteral("?"));
    ASSERT_EQ(sent.size(), 1);
    EXPECT_TRUE(sent[0].params.isEmpty());
    EXPECT_TRUE(sent[0].sql.contains(QStringLiteral("(-7)")) && sent[0].sql.contains(QStringLiteral("'?'"))) << sent[0].sql;
    EXPECT_EQ(sent[0].roundTrips, 1);

    sent.clear();
    for (int i = 1; i <= 4; ++i) {
        Recordset rs;
        rs.Open(QStringLiteral("Sp_Echo %1").arg(i), conn.get());
        EXPECT_EQ(rs.field(QStringLiteral("v")).toInt32(), i);
    }
    ASSERT_EQ(sent.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(sent[i].sql, sent[0].sql);
        EXPECT_EQ(sent[i].params, QVariantList{QVariant(qlonglong(i + 1))});
        EXPECT_EQ(sent[i].roundTrips, i == 0 ? 2 : 1) << "PREPARE once, then one EXECUTE per call";
    }

    // Values from anywhere but the call's text are bound, on a first call too.
    sent.clear();
    EXPECT_EQ(conn->fetchAll(QStringLiteral("sp_zonesbetween 1"), {2}).rows.size(), 2);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].params.size(), 2);
    conn->setStatementHook(nullptr);
}

TEST_P(DatabaseProcedures, WrongArgumentCountAndUnknownProcedures) {
    Recordset rs;
    AutomationError e = errorOf([&] { rs.Open(QStringLiteral("sp_fetchzone"), conn.get()); });
    EXPECT_EQ(e.number(), err::WrongArgumentCount);
    EXPECT_TRUE(e.description().contains(QStringLiteral("takes 1"))) << e.description();
    EXPECT_EQ(errorOf([&] { rs.Open(QStringLiteral("sp_fetchzone 1, 2"), conn.get()); }).number(), err::WrongArgumentCount);
    EXPECT_FALSE(rs.isOpen());

    e = errorOf([&] { rs.Open(QStringLiteral("EXECUTE sp_nosuch 1"), conn.get()); });
    EXPECT_EQ(e.number(), err::ProviderError);
    EXPECT_EQ(e.description(), QStringLiteral("procedure sp_nosuch not found"));

    // Without EXECUTE a name that is a procedure's by its sp_ prefix is still
    // a missing procedure, not an SQL syntax error near the name...
    e = errorOf([&] { conn->execute(QStringLiteral("Sp_NoSuch 1")); });
    EXPECT_EQ(e.number(), err::ProviderError);
    EXPECT_EQ(e.description(), QStringLiteral("procedure Sp_NoSuch not found"));
    // ...while any other one-word statement runs as SQL.
    EXPECT_NO_THROW(conn->execute(QStringLiteral("ANALYZE")));
    // Text that only starts like a call runs nothing else.
    EXPECT_EQ(errorOf([&] { conn->execute(QStringLiteral("sp_fetchzone 1; drop table zones")); }).number(), err::ProviderError);
    EXPECT_EQ(db().scalar(QStringLiteral("select count(*) from zones")).toInt(), 3);
}

TEST_P(DatabaseProcedures, ProceduresAddedThroughTheConnectionAreSeen) {
    Recordset rs;
    EXPECT_EQ(errorOf([&] { rs.Open(QStringLiteral("exec sp_late"), conn.get()); }).number(), err::ProviderError);
    conn->execute(QStringLiteral("insert into sys_procedures values ('sp_late', ?, ?, 0, null, null)"),
                  {isPostgres() ? QStringLiteral("postgresql") : QStringLiteral("sqlite"), QStringLiteral("select 42 as answer")});
    rs.Open(QStringLiteral("exec sp_late"), conn.get());
    EXPECT_EQ(rs.field(QStringLiteral("ANSWER")).toInt32(), 42);
}

TAMRIK_ON_BOTH_ENGINES(DatabaseProcedures);
