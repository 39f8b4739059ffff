# shellcheck shell=bash
# Private ODBC set-up: driver and data-source files in a folder of our own,
# chosen through ODBCSYSINI and ODBCINI, so that nothing under /etc is read or
# written. Source this file, then call sorvane_odbc_env_create <folder>.

# Prints the path of an installed ODBC driver library, found from the file
# list of the Debian package that ships it, else from the usual folders.
sorvane_find_odbc_driver() {
    local package=$1 library=$2 path
    path=$(dpkg-query -L "$package" 2>/dev/null | grep -E "/${library}\$" | head -n 1 || true)
    if [[ -z $path ]]; then
        for path in /usr/lib/*/odbc/"$library" /usr/lib/odbc/"$library" /usr/local/lib/"$library"; do
            [[ -e $path ]] && break
        done
    fi
    if [[ -z $path || ! -e $path ]]; then
        echo "ODBC driver library $library (package $package) not found" >&2
        return 1
    fi
    printf '%s\n' "$path"
}

# Writes <folder>/odbcinst.ini with the drivers "SQLite3", "MariaDB" and
# "PostgreSQL" and an empty <folder>/odbc.ini, and points unixODBC at them.
# The driver manager's own pooling stays off (see sorvane_odbc_pooling).
sorvane_odbc_env_create() {
    local dir=$1
    mkdir -p "$dir"
    dir=$(cd "$dir" && pwd)
    export ODBCSYSINI=$dir
    export ODBCINI=$dir/odbc.ini
    sorvane_odbc_pooling off
    : >"$dir/odbc.ini"
}

# Rewrites the private odbcinst.ini with the driver manager's connection
# pooling on or off. With it on, unixODBC keeps a closed connection of the
# MariaDB and PostgreSQL drivers open for CPTimeout seconds and hands it to
# the next connect with the same connection text. The program keeps the
# export's connection itself; this is here to measure what the driver
# manager's pooling costs (unixODBC 2.3.11 loses memory at every reuse).
sorvane_odbc_pooling() {
    local mode=$1 sqlite mariadb postgres pooling="" reuse=""
    if [[ -z ${ODBCSYSINI:-} ]]; then
        echo "sorvane_odbc_pooling: call sorvane_odbc_env_create first" >&2
        return 1
    fi
    case $mode in
    on)
        pooling=$'[ODBC]\nPooling = Yes\n\n'
        reuse=$'\nCPTimeout   = 60'
        ;;
    off) ;;
    *)
        echo "sorvane_odbc_pooling: on or off, not '$mode'" >&2
        return 1
        ;;
    esac
    sqlite=$(sorvane_find_odbc_driver libsqliteodbc libsqlite3odbc.so)
    mariadb=$(sorvane_find_odbc_driver odbc-mariadb libmaodbc.so)
    # The Unicode build of the PostgreSQL driver: text reaches the server as
    # UTF-8 whatever the database's own encoding.
    postgres=$(sorvane_find_odbc_driver odbc-postgresql psqlodbcw.so)
    cat >"$ODBCSYSINI/odbcinst.ini" <<INI
${pooling}[SQLite3]
Description = SQLite 3 ODBC driver
Driver      = $sqlite
Setup       = $sqlite
Threading   = 2

[MariaDB]
Description = MariaDB Connector/ODBC
Driver      = $mariadb$reuse

[PostgreSQL]
Description = PostgreSQL ODBC driver (Unicode)
Driver      = $postgres$reuse
INI
}

# Appends a data source to the private odbc.ini:
#   sorvane_odbc_add_dsn <name> <driver> Key=Value...
sorvane_odbc_add_dsn() {
    local name=$1 driver=$2 pair
    shift 2
    if [[ -z ${ODBCINI:-} ]]; then
        echo "sorvane_odbc_add_dsn: call sorvane_odbc_env_create first" >&2
        return 1
    fi
    {
        printf '[%s]\n' "$name"
        printf 'Driver = %s\n' "$driver"
        for pair in "$@"; do
            printf '%s = %s\n' "${pair%%=*}" "${pair#*=}"
        done
        printf '\n'
    } >>"$ODBCINI"
}
