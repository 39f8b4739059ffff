-- Puts the rows of a sorvane backup file back into SystemEvents on SQLite.
-- Run it in the folder that holds the file, named backup.csv:
--   sqlite3 /var/lib/syslog/events.db < restore-sqlite.sql
-- Written for the default -sep=, and -esc=" and the columns id, ReceivedAt,
-- DeviceReportedTime, Facility, Priority, FromHost, SysLogTag, Message.
--  * An empty field is NULL for numbers and dates (NULLIF), '' for text.
--  * Columns declared DATETIME or TIMESTAMP are written as dd.mm.yyyy
--    hh:mm:ss when the purge ran in a German locale; the CASE turns them
--    back into the yyyy-mm-dd hh:mm:ss text SQLite compares.
--  * OR IGNORE skips a row whose id is already in the table.
CREATE TEMP TABLE restore_rows (id, ReceivedAt, DeviceReportedTime, Facility, Priority, FromHost, SysLogTag, Message);
.import --csv --schema temp backup.csv restore_rows
INSERT OR IGNORE INTO SystemEvents
SELECT id,
       CASE WHEN ReceivedAt LIKE '__.__.____ %'
            THEN substr(ReceivedAt, 7, 4) || '-' || substr(ReceivedAt, 4, 2) || '-' ||
                 substr(ReceivedAt, 1, 2) || substr(ReceivedAt, 11)
            ELSE NULLIF(ReceivedAt, '') END,
       CASE WHEN DeviceReportedTime LIKE '__.__.____ %'
            THEN substr(DeviceReportedTime, 7, 4) || '-' || substr(DeviceReportedTime, 4, 2) || '-' ||
                 substr(DeviceReportedTime, 1, 2) || substr(DeviceReportedTime, 11)
            ELSE NULLIF(DeviceReportedTime, '') END,
       NULLIF(Facility, ''), NULLIF(Priority, ''), FromHost, SysLogTag, Message
FROM temp.restore_rows;
