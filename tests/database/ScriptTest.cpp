#include "platform/database/Script.h"

#include <gtest/gtest.h>

TEST(DatabaseScript, SplitsOnlyAtSemicolonsThatEndStatements) {
    const QString script = QStringLiteral(
        "-- a comment; not a statement\n"
        "create table t (a text default 'x;y', \"b;c\" integer);\n"
        "insert into t values ('it''s; fine', 1); /* block; comment */\n"
        "create function f(n integer) returns table (v integer) language sql as $$ select n; $$;\n"
        "create function g() returns integer language plpgsql as $body$ begin return 1; end $body$;\n"
        "select '--not a comment', $1 from t;;\n"
        "   \n");
    const QStringList parts = database::splitStatements(script);
    ASSERT_EQ(parts.size(), 5) << parts.join(QStringLiteral("\n---\n")).toStdString();
    EXPECT_EQ(parts[0], QStringLiteral("create table t (a text default 'x;y', \"b;c\" integer)"));
    EXPECT_EQ(parts[1], QStringLiteral("insert into t values ('it''s; fine', 1)"));
    EXPECT_EQ(parts[2], QStringLiteral("create function f(n integer) returns table (v integer) language sql as $$ select n; $$"));
    EXPECT_EQ(parts[3], QStringLiteral("create function g() returns integer language plpgsql as $body$ begin return 1; end $body$"));
    EXPECT_EQ(parts[4], QStringLiteral("select '--not a comment', $1 from t"));
}
