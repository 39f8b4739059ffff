-- Puts the rows of a sorvane backup file back into SystemEvents on MariaDB
-- or MySQL. Run it in the folder that holds the file, named backup.csv:
--   mariadb --local-infile=1 Syslog < restore-mariadb.sql
-- Written for the default -sep=, and -esc=" and the columns id, ReceivedAt,
-- DeviceReportedTime, Facility, Priority, FromHost, SysLogTag, Message, in
-- table order; list your table's columns the same way.
--  * IGNORE skips a row whose id is already in the table: a run that was
--    interrupted and started again writes some rows twice.
--  * An empty field is NULL for numbers and dates (NULLIF), '' for text.
--  * Dates come as yyyy-mm-dd hh:mm:ss, or as dd.mm.yyyy hh:mm:ss when the
--    purge ran in a German locale; both are read.
LOAD DATA LOCAL INFILE 'backup.csv' IGNORE INTO TABLE SystemEvents
    CHARACTER SET utf8mb4
    FIELDS TERMINATED BY ',' OPTIONALLY ENCLOSED BY '"' ESCAPED BY ''
    LINES TERMINATED BY '\r\n'
    (id, @ReceivedAt, @DeviceReportedTime, @Facility, @Priority, FromHost, SysLogTag, Message)
    SET ReceivedAt = IF(@ReceivedAt LIKE '__.__.____ %',
                        STR_TO_DATE(@ReceivedAt, '%d.%m.%Y %H:%i:%s'), NULLIF(@ReceivedAt, '')),
        DeviceReportedTime = IF(@DeviceReportedTime LIKE '__.__.____ %',
                                STR_TO_DATE(@DeviceReportedTime, '%d.%m.%Y %H:%i:%s'),
                                NULLIF(@DeviceReportedTime, '')),
        Facility = NULLIF(@Facility, ''),
        Priority = NULLIF(@Priority, '');
