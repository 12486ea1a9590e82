#pragma once
// A small zones table and a few procedures in sys_procedures, on each engine,
// and an open Connection to it.
#include "platform/database/Connection.h"
#include "platform/database/Recordset.h"
#include "tests/support/Errors.h"
#include "tests/support/QtPrinters.h"
#include "tests/support/TestDatabase.h"

#include <memory>

// Readable QStrings in assertion messages.
inline std::ostream& operator<<(std::ostream& os, const QString& s) { return os << s.toStdString(); }

namespace dbtest {

using automation::AutomationError;
namespace err = automation::err;
using testsupport::errorOf;

class ZonesTest : public testsupport::DatabaseTest {
protected:
    void prepareDatabase() override {
        const bool pg = isPostgres();
        const QString engine = pg ? QStringLiteral("postgresql") : QStringLiteral("sqlite");
        db().runScript(database::proceduresTableDdl());
        db().runScript(QStringLiteral(R"(
            create table zones (id integer primary key, name text not null, "index" integer, level integer,
                                kind smallint, flag boolean, note text);
            insert into zones values (1, 'Front', 3, 300, 1, %1, null);
            insert into zones values (2, 'Back', 1, 70000, 0, %2, 'x');
            insert into zones values (3, 'Side', 2, 5, 2, %1, 'y');
        )").arg(pg ? "true" : "1", pg ? "false" : "0"));
        const QString columns = QStringLiteral(R"(id, name, "index", level, kind, flag, note)");
        if (pg) {
            db().runScript(QStringLiteral(R"(
                create function sp_fetchzones() returns table(id integer, name text, "index" integer, level integer,
                    kind smallint, flag boolean, note text) language sql as $$ select %1 from zones order by id $$;
                create function sp_fetchzone(zid integer) returns table(id integer, name text, "index" integer,
                    level integer, kind smallint, flag boolean, note text)
                    language sql as $$ select %1 from zones where id = zid $$;
                create function sp_zonesbetween(a integer, b integer) returns table(id integer)
                    language sql as $$ select z.id from zones z where z.id between a and b order by z.id $$;
                create function sp_echo(v integer) returns table(v integer) language sql as $$ select $1 $$;
            )").arg(columns));
        }
        addProcedure(QStringLiteral("sp_fetchzones"), engine,
                     pg ? QStringLiteral("select * from sp_fetchzones()") : QStringLiteral("select %1 from zones order by id").arg(columns),
                     0, QStringLiteral("'zones'"), QStringLiteral("'id'"));
        addProcedure(QStringLiteral("sp_fetchzone"), engine,
                     pg ? QStringLiteral("select * from sp_fetchzone(?)") : QStringLiteral("select %1 from zones where id = ?").arg(columns),
                     1, QStringLiteral("'zones'"), QStringLiteral("'id'"));
        addProcedure(QStringLiteral("sp_zonesbetween"), engine,
                     pg ? QStringLiteral("select * from sp_zonesbetween(?, ?)")
                        : QStringLiteral("select id from zones where id between ? and ? order by id"),
                     2, QStringLiteral("null"), QStringLiteral("null"));
        addProcedure(QStringLiteral("sp_echo"), engine,
                     pg ? QStringLiteral("select v, '?' as literal from sp_echo(?)") : QStringLiteral("select ? as v, '?' as literal"), 1,
                     QStringLiteral("null"), QStringLiteral("null"));
        conn = std::make_unique<database::Connection>();
        conn->Open(db().connectionString());
    }

    void addProcedure(const QString& name, const QString& engine, QString sql, int params, const QString& table, const QString& key) {
        sql.replace(QLatin1Char('\''), QLatin1String("''"));
        db().runScript(QStringLiteral("insert into sys_procedures values ('%1', '%2', '%3', %4, %5, %6)")
                           .arg(name, engine, sql).arg(params).arg(table, key));
    }

    // The ids of a recordset's rows, read with the typed accessor.
    static QList<int> ids(database::Recordset& rs, const QString& field = QStringLiteral("id")) {
        QList<int> out;
        for (rs.MoveFirst(); !rs.eof(); rs.MoveNext()) out << rs.field(field).toInt32();
        return out;
    }

    std::unique_ptr<database::Connection> conn;
};

}  // namespace dbtest
