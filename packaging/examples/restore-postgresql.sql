-- Puts the rows of a sorvane backup file back into systemevents on
-- PostgreSQL. Run it in the folder that holds the file, named backup.csv:
--   psql -v ON_ERROR_STOP=1 -d syslog -f restore-postgresql.sql
-- Written for the default -sep=, and -esc="; every column of the table is
-- in the file, in table order.
--  * DateStyle DMY reads the dd.mm.yyyy dates of a purge that ran in a
--    German locale; yyyy-mm-dd dates read the same in any DateStyle.
--  * An empty field is NULL for numbers and dates; FORCE_NOT_NULL makes it
--    '' for the text columns named there.
--  * ON CONFLICT skips a row whose id is already in the table: a run that
--    was interrupted and started again writes some rows twice.
SET DateStyle = 'ISO, DMY';
CREATE TEMP TABLE restore_rows (LIKE systemevents);
\copy restore_rows FROM 'backup.csv' WITH (FORMAT csv, FORCE_NOT_NULL (fromhost, syslogtag, message))
INSERT INTO systemevents SELECT * FROM restore_rows ON CONFLICT (id) DO NOTHING;
