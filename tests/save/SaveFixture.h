#pragma once
// Saving against the host's real objects and database: the real communication
// object (transactions, download queue, event and error logs) behind a thin
// layer that notes its calls, and the real time zone component.
#include "host/lib/HostObjects.h"
#include "host/lib/StandIns.h"
#include "platform/automation/Dispatch.h"
#include "reference/TimeZones.h"
#include "tests/support/HostDatabase.h"
#include "tests/support/RecordingHost.h"

namespace savetest {

using automation::ObjectRef;

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
// slot yet.
class SaveTest : public testsupport::HostDatabaseTest {
protected:
    static constexpr int Controller = 7;

    void prepareDatabase() override {
        content = Content::Schema;
        controller = Controller;
        HostDatabaseTest::prepareDatabase();
        exec(QStringLiteral("insert into controllers (controller_id, controller_type, controller_name) values (7, 9, 'Yard gate')"));
        exec(QStringLiteral("insert into generictimezones (generictimezoneid, name) values (2, 'Office hours'), (3, 'Night shift'), "
                            "(6, 'Weekend'), (7, 'Holidays')"));
        exec(QStringLiteral("insert into controllertimezoneslots (controllerid, slot, kind, generictimezoneid) values "
                            "(7, 0, 'S', 6), (7, 1, 'S', 2), (7, 2, 'G', 7)"));
        for (int zone : {0, 3, 5, 7, 9, 12}) addZone(zone);
        exec(QStringLiteral("update controllerstdcontrolzones set ry8 = 1, xry5 = 1 where controlzoneindex = 9"));
        for (int zone : {192, 200, 210, 220, 255})
            exec(QStringLiteral("insert into controllermastercontrolzones (controllermastercontrolzoneid, controllerid, mastercontrolzoneindex, name, "
                                "description, defined, tz_pred) values (%1, 7, %2, 'Master %2', 'Old', %3, 1)").arg(1000 + zone).arg(zone).arg(pick(zone == 220 ? "1" : "0", zone == 220 ? "true" : "false")));

        comm = std::make_unique<czhost::Communication>(conn.get(), QStringLiteral("operator"));
        host = std::make_unique<ObservedCommunication>(comm.get());
        timeZoneComponent.setDBConnection(conn.get());
        timeZoneComponent.setNTConnection(comm.get());
        timeZoneObject = ObjectRef::borrowed(&timeZoneComponent);
        ctx.m_NTConnection = ObjectRef::borrowed(host.get());
        ctx.m_DBConnection = ObjectRef::borrowed(conn.get());
        ctx.m_ControllerId = Controller;
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

    const QStringList& calls() const { return host->calls; }
    QStringList queued() { return db().rows(QStringLiteral("select controllerid, commandset, objectid from downloadqueue order by downloadqueueid")); }
    QStringList events() {
        return db().rows(QStringLiteral("select eventtext, objectkind, objectid, description, eventcode from eventlog order by eventlogid"));
    }

    std::unique_ptr<czhost::Communication> comm;
    std::unique_ptr<ObservedCommunication> host;
    czhost::TimeZoneComponent timeZoneComponent;
    ObjectRef timeZoneObject;
    testsupport::MessageBoxRecorder boxes;
    cz::HostContext ctx;
    cz::TimeZones tz{ctx, timeZoneObject};
    cz::SCZTable scz;
    cz::MCZTable mcz;
    ObjectRef controllerObject;
};

}  // namespace savetest
