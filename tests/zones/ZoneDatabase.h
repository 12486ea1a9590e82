#pragma once
// The time zone tables and the zone loaders against the host's real database:
// a fresh database per test with the host's schema and procedures, two
// controllers (7 and 8), a recording communication object and recorded boxes.
#include "reference/TimeZones.h"
#include "tests/support/HostDatabase.h"
#include "tests/support/RecordingHost.h"


namespace zonetest {

using automation::ObjectRef;
using LoggedError = testsupport::Journal::LoggedError;

// What the dialog hands on: the host's objects, the controller and the time zone component.
struct HostSide {
    static constexpr int Controller = 7;
    testsupport::RecordingHost host;
    testsupport::MessageBoxRecorder boxes;
    cz::HostContext ctx;
    ObjectRef timeZoneObject;
    cz::TimeZones tz{ctx, timeZoneObject};

    HostSide() {
        ctx.m_NTConnection = ObjectRef::borrowed(host.comm.get());
        ctx.m_Parent = ObjectRef::borrowed(host.parent.get());
        ctx.m_ControllerId = Controller;
        host.comm->resources.insert(290, QStringLiteral("Zones"));
        host.comm->resources.insert(287, QStringLiteral("Sync failed"));
    }
    QStringList logged() const { return host.journal->logged(); }
    QStringList shown() const { return boxes.shown(); }
};

using testsupport::fieldsOf;

class ZoneDatabaseTest : public testsupport::HostDatabaseTest, public HostSide {
protected:
    void prepareDatabase() override {
        content = Content::Schema;
        HostDatabaseTest::prepareDatabase();
        exec(QStringLiteral("insert into controllers (controller_id, controller_type, controller_name) values (7, 4, 'Lab'), (8, 4, 'Spare')"));
        ctx.m_DBConnection = ObjectRef::borrowed(conn.get());
    }

    // Rows of the catalogue, "(id, 'name'), ...", and of the map, "(controller, slot, 'kind', generic id or null), ...".
    void addTimeZones(const QString& rows) { exec(QStringLiteral("insert into generictimezones (generictimezoneid, name) values ") + rows); }
    void addSlots(const QString& rows) { exec(QStringLiteral("insert into controllertimezoneslots (controllerid, slot, kind, generictimezoneid) values ") + rows); }
    // Replaces the statement a procedure call runs, for this database only.
    void rewriteProcedure(const QString& name, const QString& sqlText) {
        exec(QStringLiteral("update sys_procedures set sql_text = ? where name = ? and engine = ?"), {sqlText, name, hostdb::engineName(engine())});
        conn->Close();  // the connection caches the procedure list
        conn->Open(db().connectionString());
    }
};

}  // namespace zonetest
