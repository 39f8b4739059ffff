# shellcheck shell=bash
# A throwaway PostgreSQL server: private data folder and socket folder, a free
# loopback port, password logins only (scram-sha-256), a test user whose
# password holds ';' and '}', a user who may only read (every table, also
# those made later), and a UTF-8 test database registered as an ODBC data
# source. PostgreSQL refuses to run as root, so when started by root the
# server runs as the "postgres" user in a folder handed over to it.
# Source odbc-env.sh and free-port.sh first and call sorvane_odbc_env_create.
#
#   sorvane_postgres_start [dsn-name]  sets SORVANE_POSTGRES_{DIR,PORT,DSN,USER,PASSWORD,DATABASE,READER}
#   sorvane_postgres_sql <sql>         runs SQL as the superuser on the test database
#   sorvane_postgres_stop              stops the server and removes its folder

SORVANE_POSTGRES_USER=sorvane_test
SORVANE_POSTGRES_PASSWORD='Pg;sql}pw{1'
SORVANE_POSTGRES_DATABASE=sorvane_test
# Same password as the test user; reads only.
SORVANE_POSTGRES_READER=sorvane_reader
SORVANE_POSTGRES_SUPERPASSWORD=postgres-admin

sorvane_postgres_bindir() {
    local dir
    dir=$(find /usr/lib/postgresql -mindepth 2 -maxdepth 2 -type d -name bin 2>/dev/null | sort -V | tail -n 1)
    if [[ -z $dir || ! -x $dir/initdb ]]; then
        echo "PostgreSQL server programs not found under /usr/lib/postgresql" >&2
        return 1
    fi
    printf '%s\n' "$dir"
}

# Runs a command as the server's owner.
sorvane_postgres_as_owner() {
    if [[ $(id -u) -eq 0 ]]; then
        runuser -u postgres -- "$@"
    else
        "$@"
    fi
}

sorvane_postgres_start() {
    local dsn=${1:-SorvaneTestPostgres} bindir dir
    bindir=$(sorvane_postgres_bindir)
    SORVANE_POSTGRES_DIR=$(mktemp -d "${TMPDIR:-/tmp}/sorvane-postgres.XXXXXX")
    SORVANE_POSTGRES_PORT=$(sorvane_free_port)
    SORVANE_POSTGRES_DSN=$dsn
    SORVANE_POSTGRES_BINDIR=$bindir
    if [[ $(id -u) -eq 0 ]]; then
        chown postgres: "$SORVANE_POSTGRES_DIR"
        # The postgres user must be able to walk down to its folder.
        dir=$(dirname "$SORVANE_POSTGRES_DIR")
        while [[ $dir != / ]]; do
            chmod o+x "$dir"
            dir=$(dirname "$dir")
        done
    fi
    printf '%s\n' "$SORVANE_POSTGRES_SUPERPASSWORD" >"$SORVANE_POSTGRES_DIR/pwfile"
    [[ $(id -u) -eq 0 ]] && chown postgres: "$SORVANE_POSTGRES_DIR/pwfile"
    if ! sorvane_postgres_as_owner "$bindir/initdb" -D "$SORVANE_POSTGRES_DIR/data" -U postgres \
            -A scram-sha-256 --pwfile="$SORVANE_POSTGRES_DIR/pwfile" -E UTF8 --locale=C.UTF-8 \
            >"$SORVANE_POSTGRES_DIR/initdb.log" 2>&1; then
        cat "$SORVANE_POSTGRES_DIR/initdb.log" >&2
        echo "PostgreSQL: initdb failed" >&2
        return 1
    fi
    if ! sorvane_postgres_as_owner "$bindir/pg_ctl" -D "$SORVANE_POSTGRES_DIR/data" \
            -l "$SORVANE_POSTGRES_DIR/server.log" -w -t 60 \
            -o "-k $SORVANE_POSTGRES_DIR -p $SORVANE_POSTGRES_PORT -c listen_addresses=127.0.0.1" \
            start >/dev/null; then
        cat "$SORVANE_POSTGRES_DIR/server.log" >&2 || true
        echo "PostgreSQL: the server did not start" >&2
        return 1
    fi
    sorvane_postgres_psql postgres <<SQL
CREATE ROLE $SORVANE_POSTGRES_USER LOGIN PASSWORD '$SORVANE_POSTGRES_PASSWORD';
CREATE DATABASE $SORVANE_POSTGRES_DATABASE OWNER $SORVANE_POSTGRES_USER ENCODING 'UTF8' TEMPLATE template0;
CREATE ROLE $SORVANE_POSTGRES_READER LOGIN PASSWORD '$SORVANE_POSTGRES_PASSWORD';
GRANT pg_read_all_data TO $SORVANE_POSTGRES_READER;
SQL
    sorvane_odbc_add_dsn "$dsn" PostgreSQL Servername=127.0.0.1 Port="$SORVANE_POSTGRES_PORT" \
        Database="$SORVANE_POSTGRES_DATABASE"
    export SORVANE_POSTGRES_DIR SORVANE_POSTGRES_PORT SORVANE_POSTGRES_DSN \
        SORVANE_POSTGRES_USER SORVANE_POSTGRES_PASSWORD SORVANE_POSTGRES_DATABASE SORVANE_POSTGRES_READER
}

# psql as the superuser over the private socket; extra arguments follow the
# database name.
sorvane_postgres_psql() {
    local database=$1
    shift
    PGPASSWORD=$SORVANE_POSTGRES_SUPERPASSWORD psql -X -q -v ON_ERROR_STOP=1 \
        -h "$SORVANE_POSTGRES_DIR" -p "$SORVANE_POSTGRES_PORT" -U postgres -d "$database" "$@"
}

sorvane_postgres_sql() {
    sorvane_postgres_psql "$SORVANE_POSTGRES_DATABASE" -At -c "$1"
}

sorvane_postgres_stop() {
    [[ -n ${SORVANE_POSTGRES_DIR:-} && -d $SORVANE_POSTGRES_DIR ]] || return 0
    if [[ -f $SORVANE_POSTGRES_DIR/data/postmaster.pid ]]; then
        sorvane_postgres_as_owner "$SORVANE_POSTGRES_BINDIR/pg_ctl" -D "$SORVANE_POSTGRES_DIR/data" \
            -m fast -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$SORVANE_POSTGRES_DIR"
    SORVANE_POSTGRES_DIR=
}
