#pragma once
// A small zones table and a few procedures in sys_procedures on each engine,
// and an open Connection to it.
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "tests/support/TestDatabase.h"

#include <memory>

// Readable QStrings in assertion messages.
inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }

namespace dbtest {

using automation::AutomationError;
using database::Recordset;
namespace err = automation::err;
using testsupport::errorNumber;
using testsupport::errorOf;

class ZonesTest : public testsupport::DatabaseTest {
protected:
    void prepareDatabase() override {
        db().runScript(database::proceduresTableDdl());
        db().runScript(QStringLiteral(R"(
            create table zones (id integer primary key, name text not null, "index" integer, level integer, kind smallint, flag boolean, note text);
            insert into zones values (1, 'Front', 3, 300, 1, %1, null);
            insert into zones values (2, 'Back', 1, 70000, 0, %2, 'x');
            insert into zones values (3, 'Side', 2, 5, 2, %1, 'y');
        )").arg(pick("1", "true"), pick("0", "false")));
        // name, parameters, text, base table and key column
        const std::tuple<const char*, int, const char*, const char*> procedures[] = {
            {"sp_fetchzones", 0, R"(select id, name, "index", level, kind, flag, note from zones order by id)", "'zones', 'id'"},
            {"sp_fetchzone", 1, R"(select id, name, "index", level, kind, flag, note from zones where id = ?)", "'zones', 'id'"},
            {"sp_zonesbetween", 2, "select id from zones where id between ? and ? order by id", "null, null"},
            {"sp_echo", 1, "select cast(? as integer) as v, '?' as literal", "null, null"}};
        for (const auto& [name, params, sql, table] : procedures)
            db().runScript(QStringLiteral("insert into sys_procedures values ('%1', '%2', '%3', %4, %5)")
                               .arg(QLatin1String(name), pick("sqlite", "postgresql"), QString::fromLatin1(sql).replace(QLatin1Char('\''), QLatin1String("''")))
                               .arg(params)
                               .arg(QLatin1String(table)));
        conn = std::make_unique<database::Connection>();
        conn->Open(db().connectionString());
    }

    // The ids of a recordset's rows, read with the typed accessor.
    static QList<int> ids(Recordset& rs, const QString& field = QStringLiteral("id")) {
        QList<int> out;
        for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) out << rs.field(field).toInt32();
        return out;
    }
    Recordset open(const QString& sql, int cursor = database::adOpenUnspecified, int lock = database::adLockUnspecified) {
        Recordset rs;
        rs.Open(sql, conn.get(), cursor, lock);
        return rs;
    }
    QVariant stored(const QString& column, int id) { return db().scalar(QStringLiteral("select %1 from zones where id = %2").arg(column).arg(id)); }

    std::unique_ptr<database::Connection> conn;
};

}  // namespace dbtest
