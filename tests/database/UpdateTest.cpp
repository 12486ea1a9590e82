// Writing rows back: optimistic UPDATE of the procedure's base table.
#include "tests/database/ZonesFixture.h"

using namespace dbtest;
using database::Recordset;

class DatabaseUpdate : public ZonesTest {
protected:
    QVariant stored(const QString& column, int id) {
        return db().scalar(QStringLiteral("select %1 from zones where id = %2").arg(column).arg(id));
    }
};

TEST_P(DatabaseUpdate, WritesChangedFieldsBackConvertedToTheColumnTypes) {
    Recordset rs;
    rs.Open(QStringLiteral("EXECUTE sp_FetchZone 1"), conn.get(), database::adOpenKeyset, database::adLockOptimistic);
    const QString awkward = QStringLiteral("O'Brien, \"east\"; gate -- 2");
    rs.setValue(QStringLiteral("NAME"), awkward);
    rs.setValue(QStringLiteral("Flag"), 0);       // an int into a boolean
    rs.setValue(QStringLiteral("kind"), true);    // a bool into a smallint
    rs.setValue(QStringLiteral("level"), QStringLiteral("12"));
    EXPECT_EQ(rs.field(QStringLiteral("name")).toText(), awkward);  // the buffer shows the edit
    rs.Update();
    EXPECT_FALSE(rs.editPending());
    EXPECT_EQ(stored(QStringLiteral("name"), 1).toString(), awkward);
    EXPECT_FALSE(stored(QStringLiteral("flag"), 1).toBool());
    EXPECT_EQ(stored(QStringLiteral("kind"), 1).toInt(), -1);  // True as a number, as the platform converts it
    EXPECT_EQ(stored(QStringLiteral("level"), 1).toInt(), 12);
    EXPECT_EQ(stored(QStringLiteral("name"), 2).toString(), QStringLiteral("Back"));  // one row only

    // The written values are the new originals: the row can be updated again,
    // here through its NULL note (NULL originals must match).
    rs.setValue(QStringLiteral("note"), QStringLiteral("second"));
    rs.setValue(QStringLiteral("flag"), true);
    rs.Update();
    EXPECT_EQ(stored(QStringLiteral("note"), 1).toString(), QStringLiteral("second"));
    EXPECT_TRUE(stored(QStringLiteral("flag"), 1).toBool());
    rs.setValue(QStringLiteral("note"), QVariant());
    rs.Update();
    EXPECT_TRUE(stored(QStringLiteral("note"), 1).isNull());
}

TEST_P(DatabaseUpdate, MovingOffAnEditedRowSavesIt) {
    Recordset rs;
    rs.Open(QStringLiteral("sp_fetchzones"), conn.get(), database::adOpenStatic, database::adLockPessimistic);
    rs.setValue(QStringLiteral("name"), QStringLiteral("First"));
    rs.MoveNext();
    rs.setValue(QStringLiteral("name"), QStringLiteral("Second"));
    EXPECT_EQ(errorOf([&] { rs.Close(); }).number(), err::OperationNotAllowed);
    rs.CancelUpdate();
    rs.Close();
    EXPECT_EQ(stored(QStringLiteral("name"), 1).toString(), QStringLiteral("First"));
    EXPECT_EQ(stored(QStringLiteral("name"), 2).toString(), QStringLiteral("Back"));
}

TEST_P(DatabaseUpdate, AChangeByAnotherWriterIsAConflictNotAnOverwrite) {
    Recordset rs;
    rs.Open(QStringLiteral("sp_fetchzones"), conn.get(), database::adOpenKeyset, database::adLockOptimistic);
    rs.MoveNext();  // row 2
    conn->execute(QStringLiteral("update zones set note = 'theirs' where id = 2"));
    rs.setValue(QStringLiteral("name"), QStringLiteral("mine"));
    const AutomationError e = errorOf([&] { rs.Update(); });
    EXPECT_EQ(e.number(), err::RowChanged);
    EXPECT_TRUE(e.description().contains(QStringLiteral("changed by someone else"))) << e.description();
    EXPECT_EQ(stored(QStringLiteral("note"), 2).toString(), QStringLiteral("theirs"));
    EXPECT_EQ(stored(QStringLiteral("name"), 2).toString(), QStringLiteral("Back"));
    // The failed write is dropped: moving on neither repeats it nor stays on the row.
    EXPECT_FALSE(rs.editPending());
    rs.MoveNext();
    conn->execute(QStringLiteral("delete from zones where id = 3"));
    rs.setValue(QStringLiteral("level"), 1);
    EXPECT_EQ(errorOf([&] { rs.Update(); }).number(), err::RowChanged);
}

TEST_P(DatabaseUpdate, ReadOnlyAndPlainSqlRecordsetsRefuseWrites) {
    for (int lock : {database::adLockUnspecified, database::adLockReadOnly}) {
        Recordset rs;
        rs.Open(QStringLiteral("sp_fetchzone 1"), conn.get(), database::adOpenForwardOnly, lock);
        EXPECT_EQ(errorOf([&] { rs.setValue(QStringLiteral("name"), QStringLiteral("x")); }).number(), err::OperationNotAllowed);
        EXPECT_EQ(errorOf([&] { rs.Update(); }).number(), err::OperationNotAllowed);
    }
    Recordset plain;
    plain.Open(QStringLiteral("select id, name from zones where id = 1"), conn.get(), database::adOpenKeyset, database::adLockOptimistic);
    plain.setValue(QStringLiteral("name"), QStringLiteral("x"));
    const AutomationError e = errorOf([&] { plain.Update(); });
    EXPECT_EQ(e.number(), err::OperationNotAllowed);
    EXPECT_TRUE(e.description().contains(QStringLiteral("base table"))) << e.description();
    // A value the column cannot take fails before anything is written.
    Recordset rs;
    rs.Open(QStringLiteral("sp_fetchzone 1"), conn.get(), database::adOpenKeyset, database::adLockOptimistic);
    rs.setValue(QStringLiteral("level"), QStringLiteral("many"));
    EXPECT_EQ(errorOf([&] { rs.Update(); }).number(), err::TypeMismatch);
    EXPECT_EQ(stored(QStringLiteral("name"), 1).toString(), QStringLiteral("Front"));
}

TAMRIK_ON_BOTH_ENGINES(DatabaseUpdate);
