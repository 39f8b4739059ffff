-- Puts the rows of a sorvane backup file back into the table they came from
-- on PostgreSQL (systemevents unless -v table=... names another), whatever
-- its columns. `sorvane --restore=FILE` does the same; this recipe needs only
-- the file and psql. Run it in the folder that holds the file, named
-- backup.csv:
--   psql -v ON_ERROR_STOP=1 -d Syslog -f restore-postgresql.sql
-- Written for the default -sep=, and -esc=".
--  * COPY stops, restoring nothing, at a line whose field count is not the
--    table's column count.
--  * An empty field is NULL in every column.
--  * Times are read as written in the C locale (2026-11-08 10:05:09.25) and
--    in a German one (08.11.2026 10:05:09,25; DateStyle DMY); a date alone
--    is midnight. A decimal comma becomes a point in every column that is
--    not text.
--  * A row whose id is already in the table is skipped: a backup holds a
--    batch twice after a run was interrupted and started again.
\set ON_ERROR_STOP on
\if :{?table}
\else
\set table systemevents
\endif
SET DateStyle = 'ISO, DMY';
-- Every column as text first, in table order.
SELECT 'CREATE TEMP TABLE restore_rows (' ||
       string_agg(quote_ident(attname) || ' text', ', ' ORDER BY attnum) || ')'
FROM pg_attribute WHERE attrelid = :'table'::regclass AND attnum > 0 AND NOT attisdropped
\gexec
\copy restore_rows FROM 'backup.csv' WITH (FORMAT csv)
SELECT 'INSERT INTO ' || :'table'::regclass || ' SELECT ' ||
       string_agg(CASE WHEN atttypid IN ('text'::regtype, 'varchar'::regtype, 'bpchar'::regtype)
                       THEN quote_ident(attname)
                       ELSE 'replace(' || quote_ident(attname) || ', '','', ''.'')::' ||
                            format_type(atttypid, atttypmod) END,
                  ', ' ORDER BY attnum) ||
       ' FROM restore_rows ON CONFLICT (id) DO NOTHING'
FROM pg_attribute WHERE attrelid = :'table'::regclass AND attnum > 0 AND NOT attisdropped
\gexec
