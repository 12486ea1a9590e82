#pragma once
// The time zone tables, the zone loaders and the saves against the host's
// real database: a fresh database per test with the host's schema and
// procedures, two controllers (7 and 8), a recording communication object (the
// saves: the real one) and recorded boxes.
#include "host/lib/HostObjects.h"
#include "host/lib/StandIns.h"
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

    cz::SCZTable scz;
    cz::MCZTable mcz;
};

// The real communication object, noting the transaction boundaries, the
// failures and the events in the order the save calls them.
class ObservedCommunication : public QObject {
    Q_OBJECT
    Q_PROPERTY(QObject* Security READ security)
    Q_PROPERTY(QObject* Controllers READ controllers)
public:
    explicit ObservedCommunication(czhost::Communication* real) : real_(real) {}
    QObject* security() const { return real_->security(); }
    QObject* controllers() const { return real_->controllers(); }
    Q_INVOKABLE QString GRS(short& id, QString& s1, QString& s2, QString& s3, QString& s4, QString& s5, QString& s6, QString& s7, QString& s8, QString& s9) {
        return real_->GRS(id, s1, s2, s3, s4, s5, s6, s7, s8, s9);
    }
    Q_INVOKABLE void LogError(QVariant& controllerId, QObject* error, QString& location, QVariant& line, QVariant& extra) {
        calls << QStringLiteral("LogError %1 '%2'").arg(automation::getProperty(error, QStringLiteral("Number")).toString(), location);
        real_->LogError(controllerId, error, location, line, extra);
    }
    Q_INVOKABLE void LogEvent(QString& text, QString& kind, QVariant& id, QString& description, short& code) {
        calls << QStringLiteral("LogEvent ") + description;
        real_->LogEvent(text, kind, id, description, code);
    }
    Q_INVOKABLE void BeginTran() { calls << QStringLiteral("BeginTran"), real_->BeginTran(); }
    Q_INVOKABLE void Endtran() { calls << QStringLiteral("Endtran"), real_->Endtran(); }

    QStringList calls;

private:
    czhost::Communication* real_;
};

// Controller 7 (two base relays) with zone rows 0, 3, 5, 7, 9 and 12 whose
// database ids are 500 + the zone number, and master zones 192, 200, 210, 220
// and 255 (ids 1000 + the number, only 220 defined), all on the time zone in
// slot 1; time zones 6, 2 and 7 sit in slots 0, 1 and 2; time zone 3 has no
// slot yet. The saves talk to the real communication object and time zone component.
class SaveTest : public ZoneDatabaseTest {
protected:
    void prepareDatabase() override {
        ZoneDatabaseTest::prepareDatabase();
        controller = Controller;
        exec(QStringLiteral("update controllers set controller_type = 9 where controller_id = 7"));
        addTimeZones(QStringLiteral("(2, 'Office hours'), (3, 'Night shift'), (6, 'Weekend'), (7, 'Holidays')"));
        addSlots(QStringLiteral("(7, 0, 'S', 6), (7, 1, 'S', 2), (7, 2, 'G', 7)"));
        for (int zone : {0, 3, 5, 7, 9, 12}) addZone(zone);
        exec(QStringLiteral("update controllerstdcontrolzones set ry8 = 1, xry5 = 1 where controlzoneindex = 9"));
        for (int zone : {192, 200, 210, 220, 255})
            exec(QStringLiteral("insert into controllermastercontrolzones (controllermastercontrolzoneid, controllerid, mastercontrolzoneindex, name, "
                                "description, defined, tz_pred) values (%1, 7, %2, 'Master %2', 'Old', %3, 1)").arg(1000 + zone).arg(zone).arg(pick(zone == 220 ? "1" : "0", zone == 220 ? "true" : "false")));

        comm = std::make_unique<czhost::Communication>(conn.get(), QStringLiteral("operator"));
        observed = std::make_unique<ObservedCommunication>(comm.get());
        timeZoneComponent.setDBConnection(conn.get());
        timeZoneComponent.setNTConnection(comm.get());
        timeZoneObject = ObjectRef::borrowed(&timeZoneComponent);
        ctx.m_NTConnection = ObjectRef::borrowed(observed.get());
        // As the dialog holds them after its load.
        tz.LoadTimeZoneInformation(Controller);
        cz::LoadSCZArray(ctx, tz, scz);
        cz::LoadMCZArray(ctx, tz, mcz);
    }
    void addZone(int zone) {
        exec(QStringLiteral("insert into controllerstdcontrolzones (controllercontrolzoneid, controllerid, controlzoneindex, name, tz_pred) "
                            "values (%1, 7, %2, 'Zone %2', 1)").arg(500 + zone).arg(zone));
    }
    // Rejects every update of the zone's row inside the database.
    void refuseUpdatesOf(int zone) {
        const QString table = zoneTable(zone), index = zoneIndex(zone);
        if (isPostgres())
            exec(QStringLiteral("create function refuse_%1() returns trigger language plpgsql as $$ begin "
                                "if new.%2 = %1 then raise exception 'refused'; end if; return new; end $$").arg(zone).arg(index));
        exec(isPostgres() ? QStringLiteral("create trigger refuse_%1 before update on %2 for each row execute function refuse_%1()").arg(zone).arg(table)
                          : QStringLiteral("create trigger refuse_%1 before update on %2 when new.%3 = %1 begin select raise(abort, 'refused'); end").arg(zone).arg(table, index));
    }

    const QStringList& calls() const { return observed->calls; }
    QStringList queued() { return db().rows(QStringLiteral("select controllerid, commandset, objectid from downloadqueue order by downloadqueueid")); }
    QStringList events() {
        return db().rows(QStringLiteral("select eventtext, objectkind, objectid, description, eventcode from eventlog order by eventlogid"));
    }

    std::unique_ptr<czhost::Communication> comm;
    std::unique_ptr<ObservedCommunication> observed;
    czhost::TimeZoneComponent timeZoneComponent;
    ObjectRef controllerObject;
};

}  // namespace zonetest
