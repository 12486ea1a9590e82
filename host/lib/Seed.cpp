#include "host/lib/Seed.h"

#include "host/lib/HostDatabase.h"
#include "platform/automation/AutomationError.h"
#include "platform/automation/Convert.h"

#include <QHash>
#include <QList>
#include <QStringList>
#include <algorithm>
#include <array>

namespace hostdb {

namespace {

using database::Connection;
namespace err = automation::err;

constexpr int kStandardZones = 192;
constexpr int kMasterZones = 64;
constexpr int kFirstMasterZone = 192;
constexpr int kActions = 21;

const std::array<const char*, kActions> kActionColumns{
    "\"trigger\"",    "clear",        "mask",          "unmask",    "unlock",        "relock",    "force_on",
    "force_on_rel",   "force_off",    "force_off_rel", "lock_down", "lock_down_rel", "lock_open", "lock_open_rel",
    "annunc_keypads", "entry_cancel", "exit_start",    "unmaskif",  "farm",          "ledon",     "ledoff"};

// Standard zone names: area x function gives 192 distinct names.
const std::array<const char*, 24> kAreas{"Lobby",        "Reception", "Main Corridor", "Stairwell A",    "Stairwell B",    "Lift Lobby",
                                         "Loading Dock", "Goods In",  "Server Room",   "Comms Room",     "Boardroom",      "Office 1",
                                         "Office 2",     "Office 3",  "Canteen",       "Kitchen",        "Workshop",       "Store Room",
                                         "Plant Room",   "Car Park",  "Roof Access",   "Fire Exit East", "Fire Exit West", "Security Desk"};
const std::array<const char*, 8> kFunctions{"Door", "Lock", "Alarm", "Lights", "Sensor", "Camera", "Siren", "Shutter"};
// The last zone's name has quotes and a comma, as operators do type them.
const char* const kAwkwardZoneName = "Yard Gate \"B\", North";

// Master zone names: scenario x step 1..4 gives 64 distinct names.
const std::array<std::pair<const char*, const char*>, 16> kScenarios{{
    {"Lockdown", "Locks every door and masks the exit buttons"},
    {"Fire Evacuation", "Releases the escape doors and sounds the sirens"},
    {"Intruder Alarm", "Raises the intruder alarm and switches the lights on"},
    {"After Hours", "Secures the site outside office hours"},
    {"Morning Open", "Opens the public entrances"},
    {"Evening Close", "Closes the public entrances"},
    {"Delivery Window", "Opens the dock for deliveries"},
    {"Cleaning Round", "Lets the cleaning crew in"},
    {"Holiday Mode", "Keeps the site closed on public holidays"},
    {"Visitor Escort", "Follows a visitor through the building"},
    {"Panic", "A panic button was pressed"},
    {"Power Fail", "Mains power was lost"},
    {"Server Alarm", "Server room temperature or intrusion"},
    {"Car Park Open", "Raises the car park barrier"},
    {"Car Park Close", "Lowers the car park barrier"},
    {"Test Mode", "Periodic system test"},
}};

const std::array<std::pair<const char*, const char*>, 10> kTimeZones{{
    {"Always", "Every day, 24 hours"},
    {"Office Hours", "Mon-Fri 08:00-18:00"},
    {"Extended Hours", "Mon-Fri 06:00-22:00"},
    {"Weekends", "Sat-Sun, 24 hours"},
    {"Night Shift", "Every day 22:00-06:00"},
    {"Cleaning Crew", "Mon-Fri 18:00-21:00"},
    {"Deliveries", "Mon-Sat 07:00-11:00"},
    {"Public Holidays", "The listed holidays, 24 hours"},
    {"Lunch Break", "Mon-Fri 12:00-13:30"},
    {"Maintenance Window", "Sun 02:00-04:00"},
}};

const std::array<const char*, 5> kDoorGroups{"All Doors", "Perimeter", "Ground Floor", "Warehouse, Dock & Yard", "Server \"Core\" Rooms"};

// Ids above 99 and below 10 show the "00" formatting of the threat level list.
const std::array<std::pair<int, const char*>, 6> kThreatLevels{
    {{0, "Normal"}, {1, "Low"}, {2, "Guarded"}, {7, "Elevated"}, {42, "High"}, {120, "Severe"}}};

struct UserSeed {
    const char* name;
    const char* fullName;
    bool canView, canSave, standardTab, masterTab;
};
const std::array<UserSeed, 5> kUsers{{
    {"admin", "Site Administrator", true, true, true, true},
    {"viewer", "Read-only Operator", true, false, true, true},
    {"nomaster", "Zone Operator", true, true, true, false},
    {"noview", "Reception Desk", false, false, true, true},
    {"notabs", "Restricted Operator", true, true, false, false},
}};
const char* const kStandardTab = "&Standard Control Zones";
const char* const kMasterTab = "&Master Control Zones";

struct ControllerSpec {
    int id;
    int type;
    QString name;
    bool emptySlot = false;  // adds a defined slot without a generic time zone
};

// Scale controllers take every type in turn.
const std::array<int, 9> kScaleTypes{5, 8, 9, 3, 4, 7, 11, 15, 6};

QVariant flag(bool on) { return QVariant::fromValue(on ? 1 : 0); }

int scalarInt(Connection& c, const QString& sql) {
    const database::ResultSet rs = c.fetchAll(sql);
    if (rs.rows.isEmpty() || rs.rows.first().isEmpty() || automation::isNull(rs.rows.first().first())) return 0;
    return automation::toInt32(rs.rows.first().first());
}

QList<int> intColumn(Connection& c, const QString& sql) {
    QList<int> out;
    for (const QVariantList& row : c.fetchAll(sql).rows) out << automation::toInt32(row.value(0));
    return out;
}

bool tableEmpty(Connection& c, const QString& table) { return scalarInt(c, QStringLiteral("select count(*) from %1").arg(table)) == 0; }

// Rows of one table sent as multi-row INSERTs. The numbers and flags, all
// made here, go into the statement's text; every text value is bound. Parents
// are flushed first, so that rows never arrive before the rows they refer to.
class BulkInsert {
public:
    BulkInsert(Connection& c, QString table, QStringList columns, QList<BulkInsert*> parents = {})
        : c_(c),
          table_(std::move(table)),
          columns_(std::move(columns)),
          parents_(std::move(parents)),
          postgres_(c.engine() == database::Engine::PostgreSQL),
          // QSQLITE turns each ? into a named parameter that SQLite looks up
          // linearly: few per statement there. PostgreSQL pays round trips per
          // statement instead: many.
          maxParams_(postgres_ ? 5000 : 100) {}

    void add(const QVariantList& row) {
        if (row.size() != columns_.size())
            automation::raise(err::InvalidCall,
                              QStringLiteral("%1 values for the %2 columns of %3").arg(row.size()).arg(columns_.size()).arg(table_));
        if (sql_.isEmpty())
            sql_ = QStringLiteral("insert into %1 (%2) values ").arg(table_, columns_.join(QStringLiteral(", ")));
        else
            sql_ += QStringLiteral(", ");
        sql_ += QLatin1Char('(');
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i) sql_ += QStringLiteral(", ");
            append(row.at(i));
        }
        sql_ += QLatin1Char(')');
        if (params_.size() >= maxParams_ || sql_.size() >= kMaxStatementLength) flush();
    }

    void flush() {
        for (BulkInsert* p : std::as_const(parents_)) p->flush();
        if (sql_.isEmpty()) return;
        c_.fetchAll(sql_, params_);
        sql_.clear();
        params_.clear();
    }

private:
    static constexpr qsizetype kMaxStatementLength = 256 * 1024;

    void append(const QVariant& v) {
        if (automation::isNull(v)) {
            sql_ += QStringLiteral("null");
            return;
        }
        switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
                sql_ += QString::number(v.toLongLong());
                return;
            case QMetaType::Bool:
                sql_ += postgres_ ? (v.toBool() ? QStringLiteral("true") : QStringLiteral("false"))
                                  : (v.toBool() ? QStringLiteral("1") : QStringLiteral("0"));
                return;
            default:
                sql_ += QLatin1Char('?');
                params_ << v;
        }
    }

    Connection& c_;
    QString table_;
    QStringList columns_;
    QList<BulkInsert*> parents_;
    bool postgres_;
    qsizetype maxParams_;
    QString sql_;
    QVariantList params_;
};

QStringList standardZoneColumns() {
    QStringList cols{QStringLiteral("controllerid"), QStringLiteral("controlzoneindex"),
                     QStringLiteral("name"),         QStringLiteral("defined"),
                     QStringLiteral("tag"),          QStringLiteral("alert"),
                     QStringLiteral("tz_pred")};
    for (int k = 1; k <= 8; ++k) cols << QStringLiteral("ry%1").arg(k);
    for (int k = 1; k <= 64; ++k) cols << QStringLiteral("xry%1").arg(k);
    return cols;
}

QStringList masterZoneColumns() {
    QStringList cols{QStringLiteral("controllerid"),  QStringLiteral("mastercontrolzoneindex"),
                     QStringLiteral("name"),          QStringLiteral("description"),
                     QStringLiteral("defined"),       QStringLiteral("tz_pred"),
                     QStringLiteral("linkedzone"),    QStringLiteral("doorgroupid"),
                     QStringLiteral("securitylevel"), QStringLiteral("tag"),
                     QStringLiteral("alert"),         QStringLiteral("globid"),
                     QStringLiteral("globout")};
    for (const char* a : kActionColumns) cols << QLatin1String(a);
    return cols;
}

QString standardZoneName(int zone) {
    if (zone == kStandardZones - 1) return QString::fromUtf8(kAwkwardZoneName);
    return QStringLiteral("%1 %2").arg(QLatin1String(kAreas[zone / 8]), QLatin1String(kFunctions[zone % 8]));
}

class Seeder {
public:
    explicit Seeder(Connection& c)
        : c_(c),
          controllers_(c, QStringLiteral("controllers"),
                       {QStringLiteral("controller_id"), QStringLiteral("controller_type"), QStringLiteral("controller_name")}),
          doors_(c, QStringLiteral("doors"),
                 {QStringLiteral("doorid"), QStringLiteral("controllerid"), QStringLiteral("doorindex"), QStringLiteral("name")},
                 {&controllers_}),
          slots_(c, QStringLiteral("controllertimezoneslots"),
                 {QStringLiteral("controllerid"), QStringLiteral("slot"), QStringLiteral("kind"), QStringLiteral("generictimezoneid")},
                 {&controllers_}),
          standard_(c, QStringLiteral("controllerstdcontrolzones"), standardZoneColumns(), {&controllers_}),
          master_(c, QStringLiteral("controllermastercontrolzones"), masterZoneColumns(), {&controllers_}),
          outputs_(c, QStringLiteral("outputs"),
                   {QStringLiteral("controllerid"), QStringLiteral("\"index\""), QStringLiteral("name"), QStringLiteral("belongtodoor"),
                    QStringLiteral("belongto")},
                   {&doors_}),
          inputs_(c, QStringLiteral("inputs"),
                  {QStringLiteral("controllerid"), QStringLiteral("\"index\""), QStringLiteral("name"), QStringLiteral("belongtodoor"),
                   QStringLiteral("belongto")},
                  {&doors_}),
          expOutputs_(c, QStringLiteral("expoutputs"),
                      {QStringLiteral("controllerid"), QStringLiteral("outputindex"), QStringLiteral("name")}, {&controllers_}),
          expInputs_(c, QStringLiteral("expinputs"), {QStringLiteral("controllerid"), QStringLiteral("inputindex"), QStringLiteral("name")},
                     {&controllers_}),
          readers_(c, QStringLiteral("readers"),
                   {QStringLiteral("controllerid"), QStringLiteral("readerindex"), QStringLiteral("name"), QStringLiteral("doorid")},
                   {&doors_}) {}

    // The site-wide rows, each group only where its table is still empty.
    void addReference() {
        if (tableEmpty(c_, QStringLiteral("generictimezones")))
            for (const auto& [name, description] : kTimeZones)
                c_.fetchAll(QStringLiteral("insert into generictimezones (name, description) values (?, ?)"),
                            {QString::fromUtf8(name), QString::fromUtf8(description)});
        if (tableEmpty(c_, QStringLiteral("doorgroups")))
            for (const char* name : kDoorGroups)
                c_.fetchAll(QStringLiteral("insert into doorgroups (doorgroupname) values (?)"), {QString::fromUtf8(name)});
        if (tableEmpty(c_, QStringLiteral("threatlevels")))
            for (const auto& [id, name] : kThreatLevels)
                c_.fetchAll(QStringLiteral("insert into threatlevels (threatid, name) values (?, ?)"), {id, QString::fromUtf8(name)});
        if (tableEmpty(c_, QStringLiteral("users"))) {
            const int type = demo::ControlZoneComponentType;
            for (const UserSeed& u : kUsers) {
                const QString name = QString::fromUtf8(u.name);
                c_.fetchAll(QStringLiteral("insert into users (username, fullname) values (?, ?)"), {name, QString::fromUtf8(u.fullName)});
                c_.fetchAll(QStringLiteral("insert into userrights (username, componenttype, canview, cansave) values (?, ?, ?, ?)"),
                            {name, type, u.canView, u.canSave});
                const QString tabs =
                    QStringLiteral("insert into usertabrights (username, componenttype, tabcaption, canview) values (?, ?, ?, ?)");
                c_.fetchAll(tabs, {name, type, QString::fromUtf8(kStandardTab), u.standardTab});
                c_.fetchAll(tabs, {name, type, QString::fromUtf8(kMasterTab), u.masterTab});
            }
        }
        if (scalarInt(c_, QStringLiteral("select count(*) from mczactions where action is not null")) == 0) {
            // Two actions renamed by the site; one renamed to nothing, which falls back.
            const QString rename = QStringLiteral("update mczactions set action = ? where actionindex = ?");
            c_.fetchAll(rename, {QStringLiteral("Activate"), 0});
            c_.fetchAll(rename, {QString(QLatin1String("")), 1});
            c_.fetchAll(rename, {QStringLiteral("Release Door"), 4});
        }
        if (tableEmpty(c_, QStringLiteral("localizations"))) {
            const QString store =
                QStringLiteral("insert into localizations (componentnumber, controlname, property, value) values (?, ?, ?, ?)");
            // Applied when the user may customize the dialog (czhost --customize).
            c_.fetchAll(store, {demo::ControlZoneComponentNumber, QStringLiteral("Label1_3"), QStringLiteral("Caption"), QStringLiteral("MCZ No.:")});
            c_.fetchAll(store, {demo::ControlZoneComponentNumber, QStringLiteral("lblSCZDirections"), QStringLiteral("Caption"),
                                QStringLiteral("Right-click a relay cell to open the object behind it")});
        }
    }

    void loadReference() {
        timeZones_ = intColumn(c_, QStringLiteral("select generictimezoneid from generictimezones order by generictimezoneid"));
        doorGroups_ = intColumn(c_, QStringLiteral("select doorgroupid from doorgroups order by doorgroupid"));
        threatLevels_ = intColumn(c_, QStringLiteral("select threatid from threatlevels order by threatid"));
        for (const QVariantList& row : c_.fetchAll(QStringLiteral("select controller_type, base_relays from controllertypes")).rows)
            baseRelays_.insert(automation::toInt32(row.value(0)), automation::toInt32(row.value(1)));
        if (timeZones_.isEmpty() || doorGroups_.isEmpty() || threatLevels_.isEmpty())
            automation::raise(err::OperationNotAllowed,
                              QStringLiteral("the database has no time zones, door groups or threat levels to refer to"));
        nextDoorId_ = scalarInt(c_, QStringLiteral("select max(doorid) from doors")) + 1;
    }

    void addController(const ControllerSpec& spec) {
        const auto relays = baseRelays_.constFind(spec.type);
        if (relays == baseRelays_.constEnd())
            automation::raise(err::InvalidCall, QStringLiteral("unknown controller type %1").arg(spec.type));
        const int baseRelays = *relays;
        controllers_.add({spec.id, spec.type, spec.name});
        addSlots(spec);
        for (int z = 0; z < kStandardZones; ++z) standard_.add(standardZone(spec, baseRelays, z));
        for (int m = 0; m < kMasterZones; ++m) master_.add(masterZone(spec, m));
        addHardware(spec, baseRelays);
    }

    // Sends what is buffered; PostgreSQL's id sequences then continue after
    // the ids given here explicitly.
    void finish() {
        for (BulkInsert* b :
             {&controllers_, &doors_, &slots_, &standard_, &master_, &outputs_, &inputs_, &expOutputs_, &expInputs_, &readers_})
            b->flush();
        if (c_.engine() == database::Engine::PostgreSQL) {
            c_.fetchAll(QStringLiteral(
                "select setval(pg_get_serial_sequence('controllers', 'controller_id'), max(controller_id)) from controllers"));
            c_.fetchAll(QStringLiteral("select setval(pg_get_serial_sequence('doors', 'doorid'), max(doorid)) from doors"));
        }
    }

    // A controller row only: its zones, slots and hardware come from copyShape.
    void addBareController(const ControllerSpec& spec) { controllers_.add({spec.id, spec.type, spec.name}); }

    // Gives the bare controllers first + cycle .. last the rows of their
    // prototype first + (id - first) % cycle, which finish() has written:
    // copied inside the database, far faster than sending each value. Door
    // references are moved to the copy's own doors (same door number).
    void copyShape(int first, int cycle, int last) {
        if (last < first + cycle) return;
        const auto from = [&](const QString& table) {
            return QStringLiteral(" from controllers c join %1 p on p.controllerid = %2 + (c.controller_id - %2) % %3")
                .arg(table)
                .arg(first)
                .arg(cycle);
        };
        const QString batch = QStringLiteral(" where c.controller_id between %1 and %2").arg(first + cycle).arg(last);
        const auto copy = [&](const QString& table, const QStringList& columns) {
            QStringList picked;
            for (const QString& col : columns) picked << QStringLiteral("p.") + col;
            c_.fetchAll(QStringLiteral("insert into %1 (controllerid, %2) select c.controller_id, %3")
                            .arg(table, columns.join(QStringLiteral(", ")), picked.join(QStringLiteral(", "))) +
                        from(table) + batch);
        };
        copy(QStringLiteral("controllertimezoneslots"),
             {QStringLiteral("slot"), QStringLiteral("kind"), QStringLiteral("generictimezoneid")});
        copy(QStringLiteral("controllerstdcontrolzones"), standardZoneColumns().mid(1));
        copy(QStringLiteral("controllermastercontrolzones"), masterZoneColumns().mid(1));
        copy(QStringLiteral("expoutputs"), {QStringLiteral("outputindex"), QStringLiteral("name")});
        copy(QStringLiteral("expinputs"), {QStringLiteral("inputindex"), QStringLiteral("name")});
        // Door names as addHardware makes them.
        c_.fetchAll(QStringLiteral("insert into doors (controllerid, doorindex, name) select c.controller_id, p.doorindex, "
                                   "c.controller_name || ' - Door ' || p.doorindex") +
                    from(QStringLiteral("doors")) + batch);
        const QString ownDoor = QStringLiteral(" left join doors nd on nd.controllerid = c.controller_id and nd.doorindex = pd.doorindex");
        for (const QString& table : {QStringLiteral("outputs"), QStringLiteral("inputs")})
            c_.fetchAll(
                QStringLiteral(
                    "insert into %1 (controllerid, \"index\", name, belongtodoor, belongto) select c.controller_id, p.\"index\", "
                    "p.name, p.belongtodoor, case when nd.doorid is null then p.belongto else 'D' || nd.doorid end")
                    .arg(table) +
                from(table) +
                QStringLiteral(
                    " left join doors pd on p.belongtodoor = 1 and pd.controllerid = p.controllerid and 'D' || pd.doorid = p.belongto") +
                ownDoor + batch);
        c_.fetchAll(
            QStringLiteral(
                "insert into readers (controllerid, readerindex, name, doorid) select c.controller_id, p.readerindex, p.name, nd.doorid") +
            from(QStringLiteral("readers")) + QStringLiteral(" left join doors pd on pd.doorid = p.doorid") + ownDoor + batch);
    }

private:
    int timeZone(int i) const { return timeZones_.at(i % timeZones_.size()); }

    // Standard slots 0..9 (slot 0 "always"), master 100..102, grand-master 140..141.
    void addSlots(const ControllerSpec& spec) {
        const int shift = spec.id % 9;
        const QString standard = QStringLiteral("S"), master = QStringLiteral("M"), grand = QStringLiteral("G");
        slots_.add({spec.id, 0, standard, timeZone(0)});
        for (int slot = 1; slot <= 9; ++slot) slots_.add({spec.id, slot, standard, timeZone(1 + (slot - 1 + shift) % 9)});
        if (spec.emptySlot) slots_.add({spec.id, demo::EmptySlot, standard, QVariant(QMetaType::fromType<int>())});
        for (int i = 0; i < 3; ++i) slots_.add({spec.id, 100 + i, master, timeZone(1 + (3 * i + shift) % 9)});
        slots_.add({spec.id, 140, grand, timeZone(0)});
        slots_.add({spec.id, 141, grand, timeZone(7)});
    }

    // Zones 0..47 and the last one are defined, with relays of the controller's
    // own base relays only and a sparse pattern of expansion relays.
    QVariantList standardZone(const ControllerSpec& spec, int baseRelays, int z) const {
        const bool defined = z < 48 || z == kStandardZones - 1;
        int tz = defined ? z % 10 : 0;
        if (spec.emptySlot && z == demo::EmptySlot) tz = demo::EmptySlot;
        QVariantList row{spec.id, z, standardZoneName(z), defined, flag(defined && z % 4 == 0), flag(defined && z % 6 == 1), tz};
        row.reserve(7 + 8 + 64);
        for (int k = 1; k <= 8; ++k) row << flag(defined && k <= baseRelays && (z + k) % 3 == 0);
        for (int k = 1; k <= 64; ++k) row << flag(defined && (z * 5 + k) % 17 == 0);
        return row;
    }

    // Master zones 192..207 are defined; their actions use the defined
    // standard zones 0..47.
    QVariantList masterZone(const ControllerSpec& spec, int m) const {
        const bool defined = m < 16;
        const auto& [scenario, description] = kScenarios[m / 4];
        QVariantList row{spec.id,
                         kFirstMasterZone + m,
                         QStringLiteral("%1 %2").arg(QLatin1String(scenario)).arg(m % 4 + 1),
                         defined ? QString::fromUtf8(description) : QString(QLatin1String("")),
                         defined,
                         defined ? 100 + m % 3 : 0,
                         defined ? m % 48 : 0,
                         defined ? doorGroups_.at(m % doorGroups_.size()) : 0,
                         defined ? threatLevels_.at(m % threatLevels_.size()) : 0,
                         flag(defined && m % 3 == 0),
                         flag(defined && m % 5 == 2),
                         defined ? m + 1 : 0,
                         flag(defined && m % 4 == 0)};
        for (int a = 0; a < kActions; ++a) row << (defined ? (m * 7 + a * 11) % 48 : 0);
        return row;
    }

    // One door per controller, two where there are two relays or more; the
    // first relays and inputs are the doors' own (belongto "D<door id>").
    void addHardware(const ControllerSpec& spec, int baseRelays) {
        const int doorCount = baseRelays >= 2 ? 2 : 1;
        QList<int> doorIds;
        for (int d = 1; d <= doorCount; ++d) {
            const int id = nextDoorId_++;
            doorIds << id;
            doors_.add({id, spec.id, d, QStringLiteral("%1 - Door %2").arg(spec.name).arg(d)});
        }
        auto belongs = [&](int k) {
            return k <= doorCount ? QVariant(QStringLiteral("D%1").arg(doorIds.at(k - 1))) : QVariant(QMetaType::fromType<QString>());
        };
        for (int k = 1; k <= baseRelays; ++k)
            outputs_.add({spec.id, k, QStringLiteral("Relay %1").arg(k), flag(k <= doorCount), belongs(k)});
        const int baseInputs = spec.type == 3 ? 2 : baseRelays;
        for (int k = 1; k <= baseInputs; ++k)
            inputs_.add({spec.id, k, QStringLiteral("Input %1").arg(k), flag(k <= doorCount), belongs(k)});
        for (int k = 1; k <= 16; ++k) expOutputs_.add({spec.id, k, QStringLiteral("Expansion relay %1").arg(k)});
        if (spec.type != 7)
            for (int k = 1; k <= 8; ++k) expInputs_.add({spec.id, k, QStringLiteral("Expansion input %1").arg(k)});
        for (int k = 1; k <= 2 * doorCount; ++k)
            readers_.add({spec.id, k, QStringLiteral("Reader %1 (%2)").arg(k).arg(k % 2 ? QStringLiteral("in") : QStringLiteral("out")),
                          doorIds.at((k - 1) / 2)});
    }

    Connection& c_;
    BulkInsert controllers_, doors_, slots_, standard_, master_, outputs_, inputs_, expOutputs_, expInputs_, readers_;
    QList<int> timeZones_, doorGroups_, threatLevels_;
    QHash<int, int> baseRelays_;
    int nextDoorId_ = 1;
};

}  // namespace

void seedDemo(Connection& connection) {
    withTransaction(connection, [&] {
        if (!tableEmpty(connection, QStringLiteral("controllers")))
            automation::raise(err::OperationNotAllowed, QStringLiteral("the demo site needs a database without controllers"));
        Seeder seeder(connection);
        seeder.addReference();
        seeder.loadReference();
        const QList<ControllerSpec> site{
            {demo::ReceptionPanel, 5, QStringLiteral("Reception Panel")},
            {demo::CarParkBarrier, 8, QStringLiteral("Car Park Barrier")},
            {demo::ServerRoom, 9, QStringLiteral("Server Room")},
            {demo::MainEntrance, 3, QStringLiteral("Main Entrance"), true},
            {demo::Warehouse, 4, QStringLiteral("Warehouse \"North\", Dock 2")},
            {demo::LoadingBay, 7, QStringLiteral("Loading Bay")},
        };
        for (const ControllerSpec& spec : site) seeder.addController(spec);
        seeder.finish();
    });
}

void seedScale(Connection& connection, int controllers) {
    if (controllers < 0) automation::raise(err::InvalidCall, QStringLiteral("a negative number of controllers: %1").arg(controllers));
    withTransaction(connection, [&] {
        Seeder seeder(connection);
        seeder.addReference();
        seeder.loadReference();
        const int first = scalarInt(connection, QStringLiteral("select max(controller_id) from controllers")) + 1;
        // The first controller of each type is built here, the rest copy it.
        const int cycle = static_cast<int>(kScaleTypes.size());
        for (int i = 0; i < controllers; ++i) {
            const ControllerSpec spec{first + i, kScaleTypes[static_cast<size_t>(i % cycle)],
                                      QStringLiteral("Controller %1").arg(first + i, 5, 10, QLatin1Char('0'))};
            if (i < cycle)
                seeder.addController(spec);
            else
                seeder.addBareController(spec);
        }
        seeder.finish();
        seeder.copyShape(first, cycle, first + controllers - 1);
    });
}

}  // namespace hostdb
