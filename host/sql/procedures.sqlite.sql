-- Stored procedures (SQLite): the statement each name runs, with ? for its
-- arguments in order. The component's spelling of a name does not matter:
-- the layer looks names up in lower case.

insert into sys_procedures (name, engine, sql_text, param_count, base_table, key_column) values
    ('sp_fetchallgenerictimezonenames', 'sqlite',
     'select name, generictimezoneid from generictimezones order by name, generictimezoneid',
     0, null, null),
    ('sp_fetchalldefinedcontrollertimezones', 'sqlite',
     'select slot as timezoneindex from controllertimezoneslots where controllerid = ? and kind = ''S''
       order by slot',
     1, null, null),
    ('sp_fetchalldefinedcontrollermastertimezones', 'sqlite',
     'select slot as mastertimezoneindex from controllertimezoneslots where controllerid = ? and kind =
       ''M'' order by slot',
     1, null, null),
    ('sp_fetchalldefinedcontrollergrandtimezones', 'sqlite',
     'select slot as grandmastertimezoneindex from controllertimezoneslots where controllerid = ? and kind
       = ''G'' order by slot',
     1, null, null),
    ('sp_fetchgenerictimezoneid', 'sqlite',
     'select generictimezoneid from controllertimezoneslots where controllerid = ? and slot = ? and
       generictimezoneid is not null',
     2, null, null),
    ('sp_fetchallcontrollerstdcontrolzones', 'sqlite',
     'select controllercontrolzoneid, controlzoneindex, name, defined, tag, alert, tz_pred, ry1, ry2, ry3,
       ry4, ry5, ry6, ry7, ry8, xry1, xry2, xry3, xry4, xry5, xry6, xry7, xry8, xry9, xry10, xry11,
       xry12, xry13, xry14, xry15, xry16, xry17, xry18, xry19, xry20, xry21, xry22, xry23, xry24,
       xry25, xry26, xry27, xry28, xry29, xry30, xry31, xry32, xry33, xry34, xry35, xry36, xry37,
       xry38, xry39, xry40, xry41, xry42, xry43, xry44, xry45, xry46, xry47, xry48, xry49, xry50,
       xry51, xry52, xry53, xry54, xry55, xry56, xry57, xry58, xry59, xry60, xry61, xry62, xry63,
       xry64 from controllerstdcontrolzones where controllerid = ? order by controlzoneindex',
     1, 'controllerstdcontrolzones', 'controllercontrolzoneid'),
    ('sp_fetchallcontrollermastercontrolzones', 'sqlite',
     'select controllermastercontrolzoneid, mastercontrolzoneindex, name, description, defined, tz_pred,
       linkedzone, doorgroupid, securitylevel, tag, alert, globid, globout, "trigger", clear, mask,
       unmask, unlock, relock, force_on, force_on_rel, force_off, force_off_rel, lock_down,
       lock_down_rel, lock_open, lock_open_rel, annunc_keypads, entry_cancel, exit_start, unmaskif,
       farm, ledon, ledoff from controllermastercontrolzones where controllerid = ? order by
       mastercontrolzoneindex',
     1, 'controllermastercontrolzones', 'controllermastercontrolzoneid'),
    ('sp_fetchmczactions', 'sqlite',
     'select action, defaultaction from mczactions order by actionindex',
     0, null, null),
    ('sp_fetchalldoorgroups', 'sqlite',
     'select doorgroupid, doorgroupname from doorgroups order by doorgroupname, doorgroupid',
     0, null, null);
