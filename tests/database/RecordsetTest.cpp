// Reading: fields by name, checked conversions, navigation, independence of
// other statements on the same connection.
#include "tests/database/ZonesFixture.h"

using namespace dbtest;
using database::Recordset;

class DatabaseRecordset : public ZonesTest {};

TEST_P(DatabaseRecordset, FieldsByNameInAnyLetterCase) {
    Recordset rs;
    rs.Open(QStringLiteral("select ID, Name as ZoneName from zones where id = 2"), conn.get());
    EXPECT_EQ(rs.field(QStringLiteral("id")).toInt32(), 2);
    EXPECT_EQ(rs.field(QStringLiteral("zonename")).toText(), QStringLiteral("Back"));
    EXPECT_EQ(rs.fields(QStringLiteral("ZONENAME")).toText(), QStringLiteral("Back"));
    const AutomationError e = errorOf([&] { rs.field(QStringLiteral("nosuch")); });
    EXPECT_EQ(e.number(), err::ItemNotFound);
    EXPECT_TRUE(e.description().contains(QStringLiteral("nosuch"))) << e.description();
    // Found once, read by position: the same field, the same errors.
    const database::Column name = rs.column(QStringLiteral("ZONENAME")), missing = rs.column(QStringLiteral("nosuch"));
    EXPECT_EQ(rs.field(name).toText(), QStringLiteral("Back"));
    EXPECT_EQ(errorOf([&] { rs.field(missing); }).description(), e.description());
    rs.MoveNext();
    EXPECT_EQ(errorOf([&] { rs.field(name); }).number(), err::BofOrEof);
}

TEST_P(DatabaseRecordset, CheckedConversionsOfFields) {
    Recordset rs;
    rs.Open(QStringLiteral("sp_fetchzones"), conn.get());
    // Row 1: level 300, note NULL, flag true.
    EXPECT_TRUE(rs.field(QStringLiteral("note")).isNull());
    AutomationError e = errorOf([&] { rs.field(QStringLiteral("note")).toText(); });
    EXPECT_EQ(e.number(), err::InvalidUseOfNull);
    EXPECT_TRUE(e.description().contains(QStringLiteral("note"))) << e.description();
    EXPECT_EQ(errorOf([&] { rs.field(QStringLiteral("note")).toInt16(); }).number(), err::InvalidUseOfNull);
    EXPECT_EQ(errorOf([&] { rs.field(QStringLiteral("level")).toUInt8(); }).number(), err::Overflow);
    EXPECT_EQ(rs.field(QStringLiteral("level")).toInt16(), 300);
    EXPECT_TRUE(rs.field(QStringLiteral("flag")).toBool());
    EXPECT_EQ(rs.field(QStringLiteral("flag")).toText(), QStringLiteral("True"));  // a bool on both engines
    EXPECT_EQ(errorOf([&] { rs.field(QStringLiteral("name")).toInt32(); }).number(), err::TypeMismatch);
    rs.MoveNext();
    // Row 2: level 70000, flag false.
    EXPECT_EQ(errorOf([&] { rs.field(QStringLiteral("level")).toInt16(); }).number(), err::Overflow);
    EXPECT_EQ(rs.field(QStringLiteral("level")).toInt32(), 70000);
    EXPECT_FALSE(rs.field(QStringLiteral("flag")).toBool());
    EXPECT_FALSE(rs.field(QStringLiteral("note")).isNull());
}

TEST_P(DatabaseRecordset, EndOfRowsAndMoveFirst) {
    Recordset rs;
    rs.Open(QStringLiteral("sp_fetchzones"), conn.get(), database::adOpenForwardOnly);
    EXPECT_EQ(rs.recordCount(), 3);
    int seen = 0;
    while (!rs.eof()) {
        ++seen;
        rs.MoveNext();
    }
    EXPECT_EQ(seen, 3);
    EXPECT_EQ(errorOf([&] { rs.MoveNext(); }).number(), err::BofOrEof);
    EXPECT_EQ(errorOf([&] { rs.field(QStringLiteral("id")).toInt16(); }).number(), err::BofOrEof);
    EXPECT_EQ(errorOf([&] { rs.field(QStringLiteral("name")).value(); }).number(), err::BofOrEof);
    // A missing name is still reported as missing at EOF.
    EXPECT_EQ(errorOf([&] { rs.field(QStringLiteral("nosuch")); }).number(), err::ItemNotFound);

    rs.MoveFirst();
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(rs.field(QStringLiteral("name")).toText(), QStringLiteral("Front"));

    Recordset empty;
    empty.Open(QStringLiteral("sp_fetchzone 99"), conn.get());
    EXPECT_TRUE(empty.eof());
    EXPECT_EQ(empty.recordCount(), 0);
    EXPECT_EQ(empty.fieldCount(), 7);

    rs.Close();
    EXPECT_FALSE(rs.isOpen());
    EXPECT_EQ(errorOf([&] { rs.eof(); }).number(), err::OperationNotAllowed);
}

TEST_P(DatabaseRecordset, StaysReadableWhileOtherStatementsRun) {
    Recordset outer;
    outer.Open(QStringLiteral("sp_fetchzones"), conn.get());
    ASSERT_EQ(outer.field(QStringLiteral("id")).toInt32(), 1);
    outer.MoveNext();
    // Nested reads and a write on the same connection mid-read.
    Recordset inner;
    inner.Open(QStringLiteral("sp_zonesbetween 1, 3"), conn.get());
    EXPECT_EQ(ids(inner), (QList<int>{1, 2, 3}));
    conn->execute(QStringLiteral("update zones set name = 'Renamed' where id = 3"));
    QList<QString> names;
    for (; !outer.eof(); outer.MoveNext()) names << outer.field(QStringLiteral("name")).toText();
    EXPECT_EQ(names, (QList<QString>{QStringLiteral("Back"), QStringLiteral("Side")}));  // rows as read at Open
    EXPECT_EQ(db().scalar(QStringLiteral("select name from zones where id = 3")).toString(), QStringLiteral("Renamed"));
}

TAMRIK_ON_BOTH_ENGINES(DatabaseRecordset);
