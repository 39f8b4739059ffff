# shellcheck shell=bash
# A throwaway three-node MariaDB Galera cluster on loopback ports: each node
# its own data folder (owned by the server's user), socket and ports (client,
# group communication, incremental and full state transfer; full transfers by
# rsync). The first node founds the cluster, the other two join it. Ready
# when every node is synced in a primary component of size 3. A test user
# (password with ';' and '}') and a test database, registered as one private
# ODBC data source per node. Source odbc-env.sh and free-port.sh first and
# call sorvane_odbc_env_create; call sorvane_galera_stop from the caller's
# EXIT trap (a failed start stops what it started itself).
#
#   sorvane_galera_start [dsn-prefix]  data sources <prefix>1..3; sets SORVANE_GALERA_{DIR,USER,
#                                      PASSWORD,DATABASE,SECONDS} and the blank-separated
#                                      SORVANE_GALERA_{DSN,PORT}_LIST
#   sorvane_galera_sql <node> <sql>    runs SQL as root on the test database of node 1, 2 or 3
#   sorvane_galera_stop                shuts every node down and removes the cluster's folder

SORVANE_GALERA_USER=sorvane_test
SORVANE_GALERA_PASSWORD='Ga;lera}db{pw'
SORVANE_GALERA_DATABASE=sorvane_test
SORVANE_GALERA_PROVIDER=${SORVANE_GALERA_PROVIDER:-/usr/lib/galera/libgalera_smm.so}
SORVANE_GALERA_PIDS=()

# The rsync state transfer runs as the server's user and must write into the
# joiner's folder: as root the nodes run as "mysql" in folders handed over to
# it (root-owned folders make the joiners abort with "Permission denied").
sorvane_galera_owner() {
    if [[ $(id -u) -eq 0 ]]; then echo mysql; else id -un; fi
}

sorvane_galera_socket() {
    printf '%s/node%s/mysqld.sock\n' "$SORVANE_GALERA_DIR" "$1"
}

sorvane_galera_sql() {
    mariadb --no-defaults --socket="$(sorvane_galera_socket "$1")" -uroot --batch --skip-column-names \
        "${3:-$SORVANE_GALERA_DATABASE}" -e "$2"
}

# One status variable of a node ("" while it does not answer).
sorvane_galera_status() {
    mariadb --no-defaults --socket="$(sorvane_galera_socket "$1")" -uroot --batch --skip-column-names \
        -e "SHOW GLOBAL STATUS LIKE '$2'" 2>/dev/null | cut -f2
}

# Starts node $1 in the background; $2 is "new" for the node that founds the
# cluster.
sorvane_galera_start_node() {
    local node=$1 mode=$2 owner dir addresses="" i
    owner=$(sorvane_galera_owner)
    dir=$SORVANE_GALERA_DIR/node$node
    for i in 1 2 3; do
        addresses+=${addresses:+,}127.0.0.1:${SORVANE_GALERA_GCOMM_PORTS[i - 1]}
    done
    local -a args=(
        --no-defaults --user="$owner" --datadir="$dir/data" --socket="$dir/mysqld.sock"
        --port="${SORVANE_GALERA_PORTS[node - 1]}" --bind-address=127.0.0.1 --skip-name-resolve
        --pid-file="$dir/mysqld.pid" --log-error="$dir/mysqld.err" --tmpdir="$dir"
        --character-set-server=utf8mb4 --collation-server=utf8mb4_unicode_ci
        --innodb-buffer-pool-size=128M --innodb-log-file-size=48M
        --binlog-format=ROW --default-storage-engine=InnoDB --innodb-autoinc-lock-mode=2
        --wsrep-on=ON --wsrep-provider="$SORVANE_GALERA_PROVIDER"
        --wsrep-cluster-name=sorvane_test --wsrep-node-name="node$node" --wsrep-node-address=127.0.0.1
        --wsrep-cluster-address="gcomm://$addresses"
        --wsrep-provider-options="gmcast.listen_addr=tcp://127.0.0.1:${SORVANE_GALERA_GCOMM_PORTS[node - 1]};ist.recv_addr=127.0.0.1:${SORVANE_GALERA_IST_PORTS[node - 1]};base_port=${SORVANE_GALERA_GCOMM_PORTS[node - 1]};gcache.size=32M"
        --wsrep-sst-method=rsync --wsrep-sst-receive-address="127.0.0.1:${SORVANE_GALERA_SST_PORTS[node - 1]}"
    )
    [[ $mode == new ]] && args+=(--wsrep-new-cluster)
    # Temporary files (the server's and the state transfer's) in the node's
    # own folder: the caller's TMPDIR may be closed to the server's user.
    TMPDIR=$dir mariadbd "${args[@]}" </dev/null >/dev/null 2>&1 &
    SORVANE_GALERA_PIDS[node - 1]=$!
}

# Waits until node $1 answers and is synced, or fails after $2 seconds.
sorvane_galera_wait_synced() {
    local node=$1 seconds=$2 tries
    for ((tries = 0; tries < seconds * 5; tries++)); do
        [[ $(sorvane_galera_status "$node" wsrep_local_state_comment) == Synced ]] && return 0
        if ! kill -0 "${SORVANE_GALERA_PIDS[node - 1]}" 2>/dev/null; then
            tail -n 30 "$SORVANE_GALERA_DIR/node$node/mysqld.err" >&2 || true
            echo "Galera: node $node stopped while starting" >&2
            return 1
        fi
        sleep 0.2
    done
    tail -n 30 "$SORVANE_GALERA_DIR/node$node/mysqld.err" >&2 || true
    echo "Galera: node $node was not synced within $seconds seconds" >&2
    return 1
}

sorvane_galera_start() {
    local prefix=${1:-SorvaneTestGalera} owner node dir started=$SECONDS
    if [[ ! -e $SORVANE_GALERA_PROVIDER ]]; then
        echo "Galera: the provider $SORVANE_GALERA_PROVIDER is missing (Debian package galera-4)" >&2
        return 1
    fi
    owner=$(sorvane_galera_owner)
    SORVANE_GALERA_DIR=$(mktemp -d "${TMPDIR:-/tmp}/sorvane-galera.XXXXXX")
    SORVANE_GALERA_PORTS=() SORVANE_GALERA_GCOMM_PORTS=() SORVANE_GALERA_IST_PORTS=()
    SORVANE_GALERA_SST_PORTS=() SORVANE_GALERA_PIDS=() SORVANE_GALERA_DSNS=()
    for node in 1 2 3; do
        SORVANE_GALERA_PORTS+=("$(sorvane_free_port)")
        SORVANE_GALERA_GCOMM_PORTS+=("$(sorvane_free_port)")
        SORVANE_GALERA_IST_PORTS+=("$(sorvane_free_port)")
        SORVANE_GALERA_SST_PORTS+=("$(sorvane_free_port)")
    done
    if [[ $(id -u) -eq 0 ]]; then
        # The server's user must be able to walk down to its folders.
        dir=$SORVANE_GALERA_DIR
        while [[ $dir != / ]]; do
            chmod o+x "$dir"
            dir=$(dirname "$dir")
        done
    fi
    # One data folder is made, started once as a cluster of one to take the
    # test user and database, shut down (which saves the cluster's id and
    # position in it) and copied to the other two nodes. Starting from
    # identical data and position, the joiners need no state transfer: that
    # saves the rsync transfers (about twenty seconds each). A node that falls
    # behind later still gets one by rsync.
    mkdir -p "$SORVANE_GALERA_DIR/node1"
    chown -R "$owner" "$SORVANE_GALERA_DIR"
    if ! TMPDIR=$SORVANE_GALERA_DIR/node1 mariadb-install-db --no-defaults --user="$owner" \
            --datadir="$SORVANE_GALERA_DIR/node1/data" --tmpdir="$SORVANE_GALERA_DIR/node1" \
            --auth-root-authentication-method=normal --skip-test-db --innodb-log-file-size=48M \
            >"$SORVANE_GALERA_DIR/install.log" 2>&1; then
        cat "$SORVANE_GALERA_DIR/install.log" >&2
        echo "Galera: creating the data folder failed" >&2
        sorvane_galera_stop
        return 1
    fi
    sorvane_galera_start_node 1 new
    if ! sorvane_galera_wait_synced 1 60 || ! sorvane_galera_sql 1 "
CREATE DATABASE $SORVANE_GALERA_DATABASE CHARACTER SET utf8mb4 COLLATE utf8mb4_unicode_ci;
CREATE USER '$SORVANE_GALERA_USER'@'127.0.0.1' IDENTIFIED BY '$SORVANE_GALERA_PASSWORD';
CREATE USER '$SORVANE_GALERA_USER'@'localhost' IDENTIFIED BY '$SORVANE_GALERA_PASSWORD';
GRANT ALL ON $SORVANE_GALERA_DATABASE.* TO '$SORVANE_GALERA_USER'@'127.0.0.1';
GRANT ALL ON $SORVANE_GALERA_DATABASE.* TO '$SORVANE_GALERA_USER'@'localhost';" mysql; then
        sorvane_galera_stop
        return 1
    fi
    sorvane_galera_stop_node 1
    for node in 2 3; do
        mkdir -p "$SORVANE_GALERA_DIR/node$node"
        cp -a "$SORVANE_GALERA_DIR/node1/data" "$SORVANE_GALERA_DIR/node$node/data"
        chown "$owner" "$SORVANE_GALERA_DIR/node$node"
    done
    sorvane_galera_start_node 1 new
    if ! sorvane_galera_wait_synced 1 60; then
        sorvane_galera_stop
        return 1
    fi
    sorvane_galera_start_node 2 join
    sorvane_galera_start_node 3 join
    if ! sorvane_galera_wait_synced 2 90 || ! sorvane_galera_wait_synced 3 90; then
        sorvane_galera_stop
        return 1
    fi
    for node in 1 2 3; do
        if [[ $(sorvane_galera_status "$node" wsrep_cluster_status) != Primary ||
            $(sorvane_galera_status "$node" wsrep_cluster_size) != 3 ]]; then
            echo "Galera: node $node is not in a primary component of three nodes" >&2
            sorvane_galera_stop
            return 1
        fi
        sorvane_odbc_add_dsn "$prefix$node" MariaDB Server=127.0.0.1 Port="${SORVANE_GALERA_PORTS[node - 1]}" \
            Database="$SORVANE_GALERA_DATABASE" CHARSET=utf8mb4
        SORVANE_GALERA_DSNS+=("$prefix$node")
    done
    SORVANE_GALERA_SECONDS=$((SECONDS - started))
    # Arrays do not travel through the environment: the exported forms are
    # blank-separated lists.
    SORVANE_GALERA_DSN_LIST="${SORVANE_GALERA_DSNS[*]}"
    SORVANE_GALERA_PORT_LIST="${SORVANE_GALERA_PORTS[*]}"
    export SORVANE_GALERA_DIR SORVANE_GALERA_DSN_LIST SORVANE_GALERA_PORT_LIST SORVANE_GALERA_USER \
        SORVANE_GALERA_PASSWORD SORVANE_GALERA_DATABASE SORVANE_GALERA_SECONDS
}

# Shuts node $1 down, killing it when it has not stopped within a minute.
sorvane_galera_stop_node() {
    local node=$1 pid tries=0
    pid=${SORVANE_GALERA_PIDS[node - 1]:-}
    # Stopped from another shell than the one that started it: the pid file.
    if [[ -z $pid && -s $SORVANE_GALERA_DIR/node$node/mysqld.pid ]]; then
        pid=$(<"$SORVANE_GALERA_DIR/node$node/mysqld.pid")
    fi
    [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null || return 0
    mariadb-admin --no-defaults --socket="$(sorvane_galera_socket "$node")" -uroot shutdown \
        >/dev/null 2>&1 || kill "$pid" 2>/dev/null || true
    while kill -0 "$pid" 2>/dev/null && ((tries++ < 600)); do
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then kill -9 "$pid" 2>/dev/null || true; fi
    wait "$pid" 2>/dev/null || true
    SORVANE_GALERA_PIDS[node - 1]=
}

# Stops the joiners first and the founder last, so that no node sits waiting
# for a primary component it has lost.
sorvane_galera_stop() {
    [[ -n ${SORVANE_GALERA_DIR:-} && -d $SORVANE_GALERA_DIR ]] || return 0
    local node
    for node in 3 2 1; do
        sorvane_galera_stop_node "$node"
    done
    rm -rf "$SORVANE_GALERA_DIR"
    SORVANE_GALERA_DIR=
    SORVANE_GALERA_PIDS=()
}
