-- The host database, for SQLite and PostgreSQL alike. Names are unquoted lower case so that both
-- engines (PostgreSQL folds unquoted names) and the component's own SQL, which
-- spells them in mixed case, reach the same tables. Zone values carry defaults
-- but no range checks: the component reads them through checked conversions
-- and reports bad values itself, so a database must be able to hold them.
-- The two spellings that differ between the engines are written as {key}
-- (a generated integer primary key) and {false}; the host fills them in.

-- Controller types and their base relay counts (a fixed catalogue).
create table controllertypes (
    controller_type smallint not null primary key,
    type_name text not null,
    base_relays smallint not null
);

create table controllers (
    controller_id {key},
    controller_type smallint not null references controllertypes (controller_type),
    controller_name text not null
);

create table generictimezones (
    generictimezoneid {key},
    name text not null,
    description text
);

-- The controller's time zone slots. Standard (S), master (M) and grand-master
-- (G) time zones share one slot space per controller; a slot may hold no
-- generic time zone (not synchronised yet).
create table controllertimezoneslots (
    controllertimezoneslotid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    slot smallint not null,
    kind text not null check (kind in ('S', 'M', 'G')),
    generictimezoneid integer references generictimezones (generictimezoneid),
    unique (controllerid, slot)
);

-- One row per standard control zone (0..191) of a controller: tag, alert and
-- the relay columns are 1/0 numbers, tz_pred a controller time zone slot.
create table controllerstdcontrolzones (
    controllercontrolzoneid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    controlzoneindex smallint not null,
    name text default '',
    defined boolean default {false},
    tag smallint default 0,
    alert smallint default 0,
    tz_pred smallint default 0,
    ry1 smallint default 0, ry2 smallint default 0, ry3 smallint default 0, ry4 smallint default 0,
    ry5 smallint default 0, ry6 smallint default 0, ry7 smallint default 0, ry8 smallint default 0,
    xry1 smallint default 0, xry2 smallint default 0, xry3 smallint default 0, xry4 smallint default 0,
    xry5 smallint default 0, xry6 smallint default 0, xry7 smallint default 0, xry8 smallint default 0,
    xry9 smallint default 0, xry10 smallint default 0, xry11 smallint default 0, xry12 smallint default 0,
    xry13 smallint default 0, xry14 smallint default 0, xry15 smallint default 0, xry16 smallint default 0,
    xry17 smallint default 0, xry18 smallint default 0, xry19 smallint default 0, xry20 smallint default 0,
    xry21 smallint default 0, xry22 smallint default 0, xry23 smallint default 0, xry24 smallint default 0,
    xry25 smallint default 0, xry26 smallint default 0, xry27 smallint default 0, xry28 smallint default 0,
    xry29 smallint default 0, xry30 smallint default 0, xry31 smallint default 0, xry32 smallint default 0,
    xry33 smallint default 0, xry34 smallint default 0, xry35 smallint default 0, xry36 smallint default 0,
    xry37 smallint default 0, xry38 smallint default 0, xry39 smallint default 0, xry40 smallint default 0,
    xry41 smallint default 0, xry42 smallint default 0, xry43 smallint default 0, xry44 smallint default 0,
    xry45 smallint default 0, xry46 smallint default 0, xry47 smallint default 0, xry48 smallint default 0,
    xry49 smallint default 0, xry50 smallint default 0, xry51 smallint default 0, xry52 smallint default 0,
    xry53 smallint default 0, xry54 smallint default 0, xry55 smallint default 0, xry56 smallint default 0,
    xry57 smallint default 0, xry58 smallint default 0, xry59 smallint default 0, xry60 smallint default 0,
    xry61 smallint default 0, xry62 smallint default 0, xry63 smallint default 0, xry64 smallint default 0,
    unique (controllerid, controlzoneindex)
);

-- One row per master control zone (192..255). "defined" is the one Boolean
-- the component writes as such; the 21 action columns each hold the number
-- of a standard control zone.
create table controllermastercontrolzones (
    controllermastercontrolzoneid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    mastercontrolzoneindex smallint not null,
    name text default '',
    description text default '',
    defined boolean default {false},
    tz_pred smallint default 0,
    linkedzone smallint default 0,
    doorgroupid integer default 0,
    securitylevel smallint default 0,
    tag smallint default 0,
    alert smallint default 0,
    globid smallint default 0,
    globout smallint default 0,
    "trigger" smallint default 0, clear smallint default 0, mask smallint default 0,
    unmask smallint default 0, unlock smallint default 0, relock smallint default 0,
    force_on smallint default 0, force_on_rel smallint default 0, force_off smallint default 0,
    force_off_rel smallint default 0, lock_down smallint default 0, lock_down_rel smallint default 0,
    lock_open smallint default 0, lock_open_rel smallint default 0, annunc_keypads smallint default 0,
    entry_cancel smallint default 0, exit_start smallint default 0, unmaskif smallint default 0,
    farm smallint default 0, ledon smallint default 0, ledoff smallint default 0,
    unique (controllerid, mastercontrolzoneindex)
);

-- Display names of the 21 master zone actions, in action order. "action" is
-- the site's own name for it (NULL or empty: the default applies).
create table mczactions (
    actionindex smallint not null primary key,
    defaultaction text not null,
    action text
);

create table doorgroups (
    doorgroupid {key},
    doorgroupname text not null
);

create table threatlevels (
    threatid integer not null primary key,
    name text not null
);

create table doors (
    doorid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    doorindex smallint not null,
    name text not null,
    unique (controllerid, doorindex)
);

-- Base relays and inputs are numbered from 1 per controller. A point wired to
-- a door has belongtodoor = 1 and belongto = 'D' followed by the door id.
create table outputs (
    outputid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    "index" smallint not null,
    name text,
    belongtodoor smallint not null default 0,
    belongto text,
    unique (controllerid, "index")
);

create table expoutputs (
    expoutputid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    outputindex smallint not null,
    name text,
    unique (controllerid, outputindex)
);

create table inputs (
    inputid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    "index" smallint not null,
    name text,
    belongtodoor smallint not null default 0,
    belongto text,
    unique (controllerid, "index")
);

create table expinputs (
    expinputid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    inputindex smallint not null,
    name text,
    unique (controllerid, inputindex)
);

create table readers (
    readerid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    readerindex smallint not null,
    name text,
    doorid integer references doors (doorid) on delete set null,
    unique (controllerid, readerindex)
);

-- Operator texts by number; %1..%9 mark inserts.
create table resources (
    resourceid integer not null primary key,
    text text not null
);

create table users (
    userid {key},
    username text not null unique,
    fullname text
);

-- Rights per component type; a type without a row is not granted.
create table userrights (
    username text not null references users (username) on delete cascade,
    componenttype integer not null,
    canview boolean not null default {false},
    cansave boolean not null default {false},
    primary key (username, componenttype)
);

-- View rights per tab, keyed by the tab's designed caption (ampersands included).
create table usertabrights (
    username text not null references users (username) on delete cascade,
    componenttype integer not null,
    tabcaption text not null,
    canview boolean not null default {false},
    primary key (username, componenttype, tabcaption)
);

create table eventlog (
    eventlogid {key},
    eventtext text,
    objectkind text,
    objectid integer,
    description text,
    eventcode integer,
    eventtime timestamp not null default current_timestamp,
    username text
);
create index eventlog_time on eventlog (eventtime);

create table errorlog (
    errorlogid {key},
    controllerid integer,
    errornumber integer,
    description text,
    location text,
    line text,
    extra text,
    username text,
    errortime timestamp not null default current_timestamp
);
create index errorlog_time on errorlog (errortime);

-- Command sets waiting to be sent to a controller. state: 0 queued, 1 sent,
-- 2 acknowledged, -1 failed.
create table downloadqueue (
    downloadqueueid {key},
    controllerid integer not null references controllers (controller_id) on delete cascade,
    commandset text not null,
    objectid integer,
    queuedat timestamp not null default current_timestamp,
    state smallint not null default 0
);
create index downloadqueue_pending on downloadqueue (controllerid, state);

-- Stored text and layout customisations of a component's controls.
create table localizations (
    localizationid {key},
    componentnumber integer not null,
    controlname text not null,
    property text not null,
    value text,
    unique (componentnumber, controlname, property)
);

-- Stored procedures by name (lower case) per engine: the statement the
-- database layer runs for a call, and the table its rows can be written to.
create table sys_procedures (
    name text not null,
    engine text not null,
    sql_text text not null,
    param_count integer not null,
    base_table text,
    key_column text,
    primary key (name, engine)
);

insert into controllertypes (controller_type, type_name, base_relays) values
    (3, 'Four-relay controller, two base inputs', 4),
    (4, 'Eight-relay controller', 8),
    (5, 'Input monitor', 0),
    (6, 'Input monitor, extended', 0),
    (7, 'Four-relay controller, no expansion inputs', 4),
    (8, 'Single-door controller', 1),
    (9, 'Two-door controller', 2),
    (11, 'Four-relay controller, extended', 4),
    (15, 'Eight-relay controller, extended', 8);

insert into mczactions (actionindex, defaultaction) values
    (0, 'Trigger'),
    (1, 'Clear'),
    (2, 'Mask'),
    (3, 'Unmask'),
    (4, 'Unlock'),
    (5, 'Relock'),
    (6, 'Force On'),
    (7, 'Force On Release'),
    (8, 'Force Off'),
    (9, 'Force Off Release'),
    (10, 'Lock Down'),
    (11, 'Lock Down Release'),
    (12, 'Lock Open'),
    (13, 'Lock Open Release'),
    (14, 'Annunciate Keypads'),
    (15, 'Entry Cancel'),
    (16, 'Exit Start'),
    (17, 'Unmask If'),
    (18, 'Farm'),
    (19, 'LED On'),
    (20, 'LED Off');
