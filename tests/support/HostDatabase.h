#pragma once
// The host database on both engines: a fresh one per test with the host's
// schema (and the demo site, unless a suite asks for less), an open
// Connection, and one controller's zone rows read and set over a connection
// of their own. The zone procedures' columns, spelled as the component reads
// them; zone records as comparable tuples.
#include "host/lib/HostDatabase.h"
#include "host/lib/Seed.h"
#include "master_zones/MCZRecords.h"
#include "platform/database/Connection.h"
#include "standard_zones/SCZRecords.h"
#include "tests/support/TestDatabase.h"

#include <array>
#include <initializer_list>
#include <memory>
#include <tuple>

namespace testsupport {

inline QStringList actionColumns() {
    return {"trigger",   "Clear",     "mask",          "unmask",         "Unlock",       "relock",     "force_on",
            "force_on_rel", "force_off", "force_off_rel", "lock_down", "lock_down_rel", "lock_open", "lock_open_rel",
            "annunc_keypads", "entry_cancel", "exit_start", "unmaskif", "farm", "LEDOn", "LEDOff"};
}
inline QStringList standardZoneColumns() {
    QStringList c{"ControllerControlZoneId", "ControlZoneIndex", "name", "Defined", "tag", "alert", "TZ_PRED"};
    for (int k = 1; k <= 8; ++k) c << QStringLiteral("ry%1").arg(k);
    for (int k = 1; k <= 64; ++k) c << QStringLiteral("xry%1").arg(k);
    return c;
}
inline QStringList masterZoneColumns() {
    return QStringList{"ControllerMasterControlZoneID", "MasterControlZoneIndex", "name", "Description", "Defined", "TZ_PRED", "LinkedZone",
                       "DoorGroupID", "SecurityLevel", "tag", "alert", "globid", "globout"} +
           actionColumns();
}
// Lower case and quoted, for statements of both engines ("trigger" is a keyword).
inline QStringList quoted(QStringList columns) {
    for (QString& c : columns) c = QLatin1Char('"') + c.toLower() + QLatin1Char('"');
    return columns;
}

inline auto fieldsOf(const cz::SCZRecord& r) {
    return std::tie(r.ControlZoneIndex, r.Name, r.Defined, r.Tag, r.Alert, r.TimeZoneId, r.Relay, r.ExpRelay, r.Changed);
}
inline auto fieldsOf(const cz::MCZRecord& r) {
    return std::tie(r.MasterControlZoneIndex, r.Changed, r.Name, r.Description, r.Defined, r.TimeZoneId, r.LinkedZone, r.DoorGroupID,
                    r.SecurityLevel, r.Tag, r.Alert, r.GlobalId, r.GlobalOut, r.Actions);
}
// N flags, those at `on` set.
template <std::size_t N>
std::array<bool, N> relays(std::initializer_list<int> on) {
    std::array<bool, N> r{};
    for (int k : on) r[k] = true;
    return r;
}

class HostDatabaseTest : public DatabaseTest {
protected:
    enum class Content { Empty, Schema, Demo };

    void prepareDatabase() override {
        conn = std::make_unique<database::Connection>();
        conn->Open(db().connectionString());
        if (content != Content::Empty) hostdb::createSchema(*conn);
        if (content == Content::Demo) hostdb::seedDemo(*conn);
    }
    void exec(const QString& sql, const QVariantList& params = {}) { conn->fetchAll(sql, params); }
    // The first column of every row, over the test's connection.
    QVariantList column(const QString& sql, const QVariantList& params = {}) {
        QVariantList out;
        for (const QVariantList& row : conn->fetchAll(sql, params).rows) out << row.value(0);
        return out;
    }
    // The table of zone n (a master zone from 192 on) and its number column.
    static QString zoneTable(int n) { return n >= 192 ? QStringLiteral("controllermastercontrolzones") : QStringLiteral("controllerstdcontrolzones"); }
    static QString zoneIndex(int n) { return n >= 192 ? QStringLiteral("mastercontrolzoneindex") : QStringLiteral("controlzoneindex"); }
    // `sql` with %1 the table of zone n and %2 the condition that picks its row.
    QString onZone(int n, const QString& sql) const {
        return sql.arg(zoneTable(n), QStringLiteral("controllerid = %1 and %2 = %3").arg(controller).arg(zoneIndex(n)).arg(n));
    }
    // Columns of zone n's row joined by '|' ("<no row>" without one); assignments to them.
    QString stored(int n, const QString& columns = QStringLiteral("name")) {
        return db().rows(onZone(n, QStringLiteral("select ") + columns + QStringLiteral(" from %1 where %2"))).value(0, QStringLiteral("<no row>"));
    }
    void store(int n, const QString& assignments) { db().runScript(onZone(n, QStringLiteral("update %1 set ") + assignments + QStringLiteral(" where %2"))); }

    Content content = Content::Demo;
    int controller = hostdb::demo::Warehouse;  // whose zones stored() and store() mean
    std::unique_ptr<database::Connection> conn;
};

}  // namespace testsupport
