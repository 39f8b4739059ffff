-- Puts the rows of a sorvane backup file back into the SystemEvents table of
-- a syslog daemon's MariaDB or MySQL database (the 24 columns its packages
-- create, ID to SystemID). `sorvane --restore=FILE` does the same for any
-- table; this recipe needs only the file and the mariadb client. Run it in
-- the folder that holds the file, named backup.csv:
--   mariadb --local-infile=1 Syslog < restore-mariadb.sql
-- Written for the default -sep=, and -esc=".
--  * It stops, restoring nothing, unless every line has exactly 24 fields:
--    a backup of another table, or written with another -sep or -esc.
--  * An empty field is NULL in every column (the file does not tell empty
--    text from NULL; the daemon leaves its unused columns NULL). LOAD DATA
--    also reads a field that is the bare word NULL as NULL.
--  * Times are read as written in the C locale (2026-11-08 10:05:09.25) and
--    in a German one (08.11.2026 10:05:09,25); a date alone is midnight.
--    A time that does not read stops the INSERT (strict SQL mode, the
--    default) with nothing of it restored.
--  * A row whose ID is already in the table is skipped: a backup holds a
--    batch twice after a run was interrupted and started again.
CREATE TEMPORARY TABLE restore_rows (ID TEXT, CustomerID TEXT, ReceivedAt TEXT, DeviceReportedTime TEXT, Facility TEXT, Priority TEXT, FromHost TEXT, Message TEXT, NTSeverity TEXT, Importance TEXT, EventSource TEXT, EventUser TEXT, EventCategory TEXT, EventID TEXT, EventBinaryData TEXT, MaxAvailable TEXT, CurrUsage TEXT, MinUsage TEXT, MaxUsage TEXT, InfoUnitID TEXT, SysLogTag TEXT, EventLogType TEXT, GenericFileName TEXT, SystemID TEXT, extra_field TEXT) CHARACTER SET utf8mb4;
LOAD DATA LOCAL INFILE 'backup.csv' INTO TABLE restore_rows
    CHARACTER SET utf8mb4
    FIELDS TERMINATED BY ',' OPTIONALLY ENCLOSED BY '"' ESCAPED BY ''
    LINES TERMINATED BY '\r\n';
-- A line with fewer fields leaves SystemID NULL, one with more fills extra_field.
DELIMITER //
BEGIN NOT ATOMIC
    IF EXISTS (SELECT 1 FROM restore_rows WHERE SystemID IS NULL OR extra_field IS NOT NULL) THEN
        SIGNAL SQLSTATE '45000'
            SET MESSAGE_TEXT = 'backup.csv does not have the 24 fields of SystemEvents on every line; nothing was restored';
    END IF;
END //
DELIMITER ;
INSERT INTO SystemEvents
SELECT NULLIF(r.ID, ''),
       NULLIF(r.CustomerID, ''),
       CASE WHEN r.ReceivedAt = '' THEN NULL
             WHEN r.ReceivedAt LIKE '__.__.____%' THEN STR_TO_DATE(REPLACE(r.ReceivedAt, ',', '.'),
                  IF(LENGTH(r.ReceivedAt) = 10, '%d.%m.%Y', IF(INSTR(r.ReceivedAt, ','), '%d.%m.%Y %H:%i:%s.%f', '%d.%m.%Y %H:%i:%s')))
             ELSE r.ReceivedAt END,
       CASE WHEN r.DeviceReportedTime = '' THEN NULL
             WHEN r.DeviceReportedTime LIKE '__.__.____%' THEN STR_TO_DATE(REPLACE(r.DeviceReportedTime, ',', '.'),
                  IF(LENGTH(r.DeviceReportedTime) = 10, '%d.%m.%Y', IF(INSTR(r.DeviceReportedTime, ','), '%d.%m.%Y %H:%i:%s.%f', '%d.%m.%Y %H:%i:%s')))
             ELSE r.DeviceReportedTime END,
       NULLIF(r.Facility, ''),
       NULLIF(r.Priority, ''),
       NULLIF(r.FromHost, ''),
       NULLIF(r.Message, ''),
       NULLIF(r.NTSeverity, ''),
       NULLIF(r.Importance, ''),
       NULLIF(r.EventSource, ''),
       NULLIF(r.EventUser, ''),
       NULLIF(r.EventCategory, ''),
       NULLIF(r.EventID, ''),
       NULLIF(r.EventBinaryData, ''),
       NULLIF(r.MaxAvailable, ''),
       NULLIF(r.CurrUsage, ''),
       NULLIF(r.MinUsage, ''),
       NULLIF(r.MaxUsage, ''),
       NULLIF(r.InfoUnitID, ''),
       NULLIF(r.SysLogTag, ''),
       NULLIF(r.EventLogType, ''),
       NULLIF(r.GenericFileName, ''),
       NULLIF(r.SystemID, '')
FROM restore_rows r
ON DUPLICATE KEY UPDATE ID = SystemEvents.ID;
