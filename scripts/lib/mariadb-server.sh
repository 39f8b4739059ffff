# shellcheck shell=bash
# A throwaway MariaDB server: private data folder and socket, a free loopback
# port, a test user whose password holds ';' and '}' (so that the connection
# text must quote it), a user who may only read the test database, and a test
# database registered as an ODBC data source.
# Source odbc-env.sh and free-port.sh first and call sorvane_odbc_env_create.
#
#   sorvane_mariadb_start [dsn-name]   sets SORVANE_MARIADB_{DIR,PORT,SOCKET,DSN,USER,PASSWORD,DATABASE,READER}
#   sorvane_mariadb_sql <sql>          runs SQL as the server's root on the test database
#   sorvane_mariadb_stop               shuts the server down and removes its folder

SORVANE_MARIADB_USER=sorvane_test
SORVANE_MARIADB_PASSWORD='Ma;ria}db{pw'
SORVANE_MARIADB_DATABASE=sorvane_test
# Same password as the test user; SELECT only.
SORVANE_MARIADB_READER=sorvane_reader

sorvane_mariadb_start() {
    local dsn=${1:-SorvaneTestMariaDB} tries
    SORVANE_MARIADB_DIR=$(mktemp -d "${TMPDIR:-/tmp}/sorvane-mariadb.XXXXXX")
    SORVANE_MARIADB_SOCKET=$SORVANE_MARIADB_DIR/mysqld.sock
    SORVANE_MARIADB_PORT=$(sorvane_free_port)
    SORVANE_MARIADB_DSN=$dsn
    local -a user_opt=(--user="$(id -un)")
    if ! mariadb-install-db --no-defaults "${user_opt[@]}" --datadir="$SORVANE_MARIADB_DIR/data" \
            --auth-root-authentication-method=normal --skip-test-db \
            >"$SORVANE_MARIADB_DIR/install.log" 2>&1; then
        cat "$SORVANE_MARIADB_DIR/install.log" >&2
        echo "MariaDB: creating the data folder failed" >&2
        return 1
    fi
    # --no-defaults ignores /etc/mysql, so the character set is given here.
    mariadbd --no-defaults "${user_opt[@]}" --datadir="$SORVANE_MARIADB_DIR/data" \
        --socket="$SORVANE_MARIADB_SOCKET" --port="$SORVANE_MARIADB_PORT" \
        --bind-address=127.0.0.1 --skip-name-resolve \
        --pid-file="$SORVANE_MARIADB_DIR/mysqld.pid" --log-error="$SORVANE_MARIADB_DIR/mysqld.err" \
        --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci \
        --innodb-buffer-pool-size=256M \
        </dev/null >/dev/null 2>&1 &
    SORVANE_MARIADB_PID=$!
    for ((tries = 0; tries < 300; tries++)); do
        if mariadb-admin --no-defaults --socket="$SORVANE_MARIADB_SOCKET" -uroot ping >/dev/null 2>&1; then
            break
        fi
        if ! kill -0 "$SORVANE_MARIADB_PID" 2>/dev/null; then
            cat "$SORVANE_MARIADB_DIR/mysqld.err" >&2 || true
            echo "MariaDB: the server stopped while starting" >&2
            return 1
        fi
        sleep 0.1
    done
    if ((tries >= 300)); then
        cat "$SORVANE_MARIADB_DIR/mysqld.err" >&2 || true
        echo "MariaDB: the server did not answer within 30 seconds" >&2
        return 1
    fi
    mariadb --no-defaults --socket="$SORVANE_MARIADB_SOCKET" -uroot <<SQL
CREATE DATABASE $SORVANE_MARIADB_DATABASE CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
CREATE USER '$SORVANE_MARIADB_USER'@'127.0.0.1' IDENTIFIED BY '$SORVANE_MARIADB_PASSWORD';
CREATE USER '$SORVANE_MARIADB_USER'@'localhost' IDENTIFIED BY '$SORVANE_MARIADB_PASSWORD';
GRANT ALL ON $SORVANE_MARIADB_DATABASE.* TO '$SORVANE_MARIADB_USER'@'127.0.0.1';
GRANT ALL ON $SORVANE_MARIADB_DATABASE.* TO '$SORVANE_MARIADB_USER'@'localhost';
CREATE USER '$SORVANE_MARIADB_READER'@'127.0.0.1' IDENTIFIED BY '$SORVANE_MARIADB_PASSWORD';
GRANT SELECT ON $SORVANE_MARIADB_DATABASE.* TO '$SORVANE_MARIADB_READER'@'127.0.0.1';
SQL
    # CHARSET makes the connector talk UTF-8 with the server, so that the
    # program's UTF-8 text round-trips unchanged.
    sorvane_odbc_add_dsn "$dsn" MariaDB Server=127.0.0.1 Port="$SORVANE_MARIADB_PORT" \
        Database="$SORVANE_MARIADB_DATABASE" CHARSET=utf8mb4
    export SORVANE_MARIADB_DIR SORVANE_MARIADB_PORT SORVANE_MARIADB_SOCKET SORVANE_MARIADB_DSN \
        SORVANE_MARIADB_USER SORVANE_MARIADB_PASSWORD SORVANE_MARIADB_DATABASE SORVANE_MARIADB_READER
}

sorvane_mariadb_sql() {
    mariadb --no-defaults --socket="$SORVANE_MARIADB_SOCKET" -uroot --batch --skip-column-names \
        "$SORVANE_MARIADB_DATABASE" -e "$1"
}

sorvane_mariadb_stop() {
    [[ -n ${SORVANE_MARIADB_DIR:-} && -d $SORVANE_MARIADB_DIR ]] || return 0
    if [[ -n ${SORVANE_MARIADB_PID:-} ]] && kill -0 "$SORVANE_MARIADB_PID" 2>/dev/null; then
        mariadb-admin --no-defaults --socket="$SORVANE_MARIADB_SOCKET" -uroot shutdown >/dev/null 2>&1 ||
            kill "$SORVANE_MARIADB_PID" 2>/dev/null || true
        wait "$SORVANE_MARIADB_PID" 2>/dev/null || true
    fi
    rm -rf "$SORVANE_MARIADB_DIR"
    SORVANE_MARIADB_DIR=
    SORVANE_MARIADB_PID=
}
