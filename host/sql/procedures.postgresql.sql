-- Stored procedures (PostgreSQL): set-returning SQL functions, registered in
-- sys_procedures as the select that calls them. The component's spelling of
-- a name does not matter: the layer looks names up in lower case.

create or replace function sp_fetchallgenerictimezonenames() returns table (
    name text, generictimezoneid integer
) language sql stable as $$
    select name, generictimezoneid from generictimezones order by name, generictimezoneid
$$;

create or replace function sp_fetchalldefinedcontrollertimezones(p_controller_id integer) returns table (
    timezoneindex smallint
) language sql stable as $$
    select slot as timezoneindex from controllertimezoneslots where controllerid = p_controller_id and kind =
        'S' order by slot
$$;

create or replace function sp_fetchalldefinedcontrollermastertimezones(p_controller_id integer) returns table (
    mastertimezoneindex smallint
) language sql stable as $$
    select slot as mastertimezoneindex from controllertimezoneslots where controllerid = p_controller_id and
        kind = 'M' order by slot
$$;

create or replace function sp_fetchalldefinedcontrollergrandtimezones(p_controller_id integer) returns table (
    grandmastertimezoneindex smallint
) language sql stable as $$
    select slot as grandmastertimezoneindex from controllertimezoneslots where controllerid = p_controller_id
        and kind = 'G' order by slot
$$;

create or replace function sp_fetchgenerictimezoneid(p_controller_id integer, p_slot integer) returns table (
    generictimezoneid integer
) language sql stable as $$
    select generictimezoneid from controllertimezoneslots where controllerid = p_controller_id and slot =
        p_slot and generictimezoneid is not null
$$;

create or replace function sp_fetchallcontrollerstdcontrolzones(p_controller_id integer) returns table (
    controllercontrolzoneid integer, controlzoneindex smallint, name text, defined boolean, tag smallint,
    alert smallint, tz_pred smallint, ry1 smallint, ry2 smallint, ry3 smallint, ry4 smallint, ry5 smallint,
    ry6 smallint, ry7 smallint, ry8 smallint, xry1 smallint, xry2 smallint, xry3 smallint, xry4 smallint,
    xry5 smallint, xry6 smallint, xry7 smallint, xry8 smallint, xry9 smallint, xry10 smallint, xry11 smallint,
    xry12 smallint, xry13 smallint, xry14 smallint, xry15 smallint, xry16 smallint, xry17 smallint,
    xry18 smallint, xry19 smallint, xry20 smallint, xry21 smallint, xry22 smallint, xry23 smallint,
    xry24 smallint, xry25 smallint, xry26 smallint, xry27 smallint, xry28 smallint, xry29 smallint,
    xry30 smallint, xry31 smallint, xry32 smallint, xry33 smallint, xry34 smallint, xry35 smallint,
    xry36 smallint, xry37 smallint, xry38 smallint, xry39 smallint, xry40 smallint, xry41 smallint,
    xry42 smallint, xry43 smallint, xry44 smallint, xry45 smallint, xry46 smallint, xry47 smallint,
    xry48 smallint, xry49 smallint, xry50 smallint, xry51 smallint, xry52 smallint, xry53 smallint,
    xry54 smallint, xry55 smallint, xry56 smallint, xry57 smallint, xry58 smallint, xry59 smallint,
    xry60 smallint, xry61 smallint, xry62 smallint, xry63 smallint, xry64 smallint
) language sql stable as $$
    select controllercontrolzoneid, controlzoneindex, name, defined, tag, alert, tz_pred, ry1, ry2, ry3, ry4,
        ry5, ry6, ry7, ry8, xry1, xry2, xry3, xry4, xry5, xry6, xry7, xry8, xry9, xry10, xry11, xry12, xry13,
        xry14, xry15, xry16, xry17, xry18, xry19, xry20, xry21, xry22, xry23, xry24, xry25, xry26, xry27,
        xry28, xry29, xry30, xry31, xry32, xry33, xry34, xry35, xry36, xry37, xry38, xry39, xry40, xry41,
        xry42, xry43, xry44, xry45, xry46, xry47, xry48, xry49, xry50, xry51, xry52, xry53, xry54, xry55,
        xry56, xry57, xry58, xry59, xry60, xry61, xry62, xry63, xry64 from controllerstdcontrolzones where
        controllerid = p_controller_id order by controlzoneindex
$$;

create or replace function sp_fetchallcontrollermastercontrolzones(p_controller_id integer) returns table (
    controllermastercontrolzoneid integer, mastercontrolzoneindex smallint, name text, description text,
    defined boolean, tz_pred smallint, linkedzone smallint, doorgroupid integer, securitylevel smallint,
    tag smallint, alert smallint, globid smallint, globout smallint, "trigger" smallint, clear smallint,
    mask smallint, unmask smallint, unlock smallint, relock smallint, force_on smallint,
    force_on_rel smallint, force_off smallint, force_off_rel smallint, lock_down smallint,
    lock_down_rel smallint, lock_open smallint, lock_open_rel smallint, annunc_keypads smallint,
    entry_cancel smallint, exit_start smallint, unmaskif smallint, farm smallint, ledon smallint,
    ledoff smallint
) language sql stable as $$
    select controllermastercontrolzoneid, mastercontrolzoneindex, name, description, defined, tz_pred,
        linkedzone, doorgroupid, securitylevel, tag, alert, globid, globout, "trigger", clear, mask, unmask,
        unlock, relock, force_on, force_on_rel, force_off, force_off_rel, lock_down, lock_down_rel, lock_open,
        lock_open_rel, annunc_keypads, entry_cancel, exit_start, unmaskif, farm, ledon, ledoff from
        controllermastercontrolzones where controllerid = p_controller_id order by mastercontrolzoneindex
$$;

create or replace function sp_fetchmczactions() returns table (
    action text, defaultaction text
) language sql stable as $$
    select action, defaultaction from mczactions order by actionindex
$$;

create or replace function sp_fetchalldoorgroups() returns table (
    doorgroupid integer, doorgroupname text
) language sql stable as $$
    select doorgroupid, doorgroupname from doorgroups order by doorgroupname, doorgroupid
$$;

insert into sys_procedures (name, engine, sql_text, param_count, base_table, key_column) values
    ('sp_fetchallgenerictimezonenames', 'postgresql', 'select * from sp_fetchallgenerictimezonenames()', 0, null, null),
    ('sp_fetchalldefinedcontrollertimezones', 'postgresql', 'select * from sp_fetchalldefinedcontrollertimezones(?)', 1, null, null),
    ('sp_fetchalldefinedcontrollermastertimezones', 'postgresql', 'select * from sp_fetchalldefinedcontrollermastertimezones(?)', 1, null, null),
    ('sp_fetchalldefinedcontrollergrandtimezones', 'postgresql', 'select * from sp_fetchalldefinedcontrollergrandtimezones(?)', 1, null, null),
    ('sp_fetchgenerictimezoneid', 'postgresql', 'select * from sp_fetchgenerictimezoneid(?, ?)', 2, null, null),
    ('sp_fetchallcontrollerstdcontrolzones', 'postgresql', 'select * from sp_fetchallcontrollerstdcontrolzones(?)', 1, 'controllerstdcontrolzones', 'controllercontrolzoneid'),
    ('sp_fetchallcontrollermastercontrolzones', 'postgresql', 'select * from sp_fetchallcontrollermastercontrolzones(?)', 1, 'controllermastercontrolzones', 'controllermastercontrolzoneid'),
    ('sp_fetchmczactions', 'postgresql', 'select * from sp_fetchmczactions()', 0, null, null),
    ('sp_fetchalldoorgroups', 'postgresql', 'select * from sp_fetchalldoorgroups()', 0, null, null);
