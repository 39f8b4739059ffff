# shellcheck shell=bash
# The curve of bench/speed-at-scale --curve (sourced by it once the program
# is built and `measure` defined): time per row and peak resident size of the
# program at growing numbers of old rows on one MariaDB server, delete only
# and backup and delete at width 1000, and the same on a three-node Galera
# cluster at one size. Each run seeds its table afresh (old rows, then 1%
# young rows), purges it, and is checked: exactly the young rows left, one
# backup line per old row. Writes bench/results/speed-at-scale-curve.md.

# Set by bench/speed-at-scale: root, work, binary, days, load_before, command_line.
# shellcheck disable=SC2154
# shellcheck source=scripts/lib/galera-cluster.sh
source "$root/scripts/lib/galera-cluster.sh"

curve_sizes=("$@")
((${#curve_sizes[@]} > 0)) || curve_sizes=(100000 1000000 10000000)
galera_rows=${SPEED_GALERA_ROWS:-1000000}
width=1000

# shellcheck disable=SC2317  # called through the trap
curve_cleanup() {
    sorvane_mariadb_stop || true
    sorvane_galera_stop || true
    rm -rf "$work"
}
trap curve_cleanup EXIT

sorvane_odbc_env_create "$work/odbc"
sorvane_mariadb_start SpeedMariaDB >/dev/null
sorvane_galera_start SpeedGalera >/dev/null
echo "Galera cluster ready in $SORVANE_GALERA_SECONDS s" >&2

# SQL on the single server or on the cluster's first node.
curve_sql() {
    if [[ $1 == Galera ]]; then sorvane_galera_sql 1 "$2"; else sorvane_mariadb_sql "$2"; fi
}

# SystemEvents with <old> old rows (35 days and more back) and 1% young
# rows. On the cluster in slices of 100,000 rows: one transaction per slice
# keeps each write set well below the replication's limits.
curve_seed() {
    local server=$1 old=$2 fresh=$(($2 / 100 + 1)) first last
    curve_sql "$server" "DROP TABLE IF EXISTS SystemEvents;
CREATE TABLE SystemEvents (
    id INT NOT NULL PRIMARY KEY, ReceivedAt DATETIME NOT NULL, DeviceReportedTime DATETIME NOT NULL,
    Facility SMALLINT, Priority SMALLINT, FromHost VARCHAR(60), SysLogTag VARCHAR(60), Message TEXT
) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;"
    for ((first = 1; first <= old; first += 100000)); do
        last=$((first + 99999 < old ? first + 99999 : old))
        curve_sql "$server" "INSERT INTO SystemEvents
SELECT seq, TIMESTAMP(CURDATE() - INTERVAL 35 DAY) - INTERVAL ($old - seq) SECOND,
       TIMESTAMP(CURDATE() - INTERVAL 35 DAY) - INTERVAL ($old - seq + seq % 7) SECOND,
       seq % 24, seq % 8, CONCAT('host', seq % 50, '.example.net'), 'sshd[812]:',
       CONCAT('pam_unix(sshd:session): session opened for user u', seq % 1000, ' by (uid=0), \"id\" ', seq)
FROM seq_${first}_to_${last};"
    done
    curve_sql "$server" "INSERT INTO SystemEvents
SELECT $old + seq, NOW(), NOW(), 1, 6, 'host0.example.net', 'cron[77]:', CONCAT('young row ', seq)
FROM seq_1_to_$fresh;"
    rm -rf "$work/backup"
    mkdir -p "$work/backup"
}

# One run; appends "server mode rows seconds KiB" to $curve_results.
curve_run() {
    local server=$1 mode=$2 old=$3 backup=0 expected_lines=0 left lines dsn=SpeedMariaDB
    local user=$SORVANE_MARIADB_USER password=$SORVANE_MARIADB_PASSWORD
    if [[ $server == Galera ]]; then
        dsn=SpeedGalera1 user=$SORVANE_GALERA_USER password=$SORVANE_GALERA_PASSWORD
    fi
    [[ $mode == "backup and delete" ]] && backup=1 expected_lines=$old
    printf '  %s, %s, %s rows: seeding... ' "$server" "$mode" "$old" >&2
    curve_seed "$server" "$old"
    printf 'purging... ' >&2
    if ! (cd "$work" && measure "$binary" -dsn="$dsn" -user="$user" -pass="$password" -ndays="$days" \
            -delrecpertrip="$width" -delete=1 -backup="$backup" -filepath="$work/backup") \
            >"$work/run.out" 2>"$work/run.err"; then
        cat "$work/run.out" "$work/run.err" >&2
        echo "$server $mode $old: the run failed" >&2
        return 1
    fi
    read -r run_seconds run_kib <"$work/measured"
    left=$(curve_sql "$server" "SELECT count(*) FROM SystemEvents")
    lines=$(find "$work/backup" -type f -exec cat {} + | wc -l)
    if [[ $left != $((old / 100 + 1)) || $lines != "$expected_lines" ]]; then
        echo "$server $mode $old: $left rows left, $lines backup lines" >&2
        return 1
    fi
    printf '%s s, %s KiB\n' "$run_seconds" "$run_kib" >&2
    printf '%s\t%s\t%s\t%s\t%s\n' "$server" "$mode" "$old" "$run_seconds" "$run_kib" >>"$curve_results"
}

curve_results=$work/curve.tsv
: >"$curve_results"
for old in "${curve_sizes[@]}"; do
    for mode in "delete only" "backup and delete"; do
        curve_run MariaDB "$mode" "$old"
    done
done
for mode in "delete only" "backup and delete"; do
    curve_run Galera "$mode" "$galera_rows"
done

version=$(sorvane_mariadb_sql 'SELECT VERSION()' | cut -d- -f1)
galera_version=$(sorvane_galera_sql 1 "SHOW STATUS LIKE 'wsrep_provider_version'" | cut -f2)
report=$(python3 - "$curve_results" "$version" "$galera_version" "$(nproc)" "$load_before" \
    "$(cut -d' ' -f1-3 /proc/loadavg)" <<'PY'
import sys
path, version, galera, cores, load_before, load_after = sys.argv[1:]
runs = [line.rstrip("\n").split("\t") for line in open(path)]
per_row = {(server, mode, int(rows)): float(seconds) / int(rows) * 1e6 for server, mode, rows, seconds, _ in runs}
smallest = {}
out = [f"MariaDB {version} (single server; Galera {galera}, three nodes on loopback, purged through node 1); "
       f"width 1000; one run each on a freshly seeded table; {cores} cores; load average {load_before} "
       f"at the start, {load_after} at the end.", "",
       "| Server | Case | Old rows | Seconds | µs per row | x per row at the smallest size | x single server "
       "| Peak RSS MiB |", "|---|---|---:|---:|---:|---:|---:|---:|"]
for server, mode, rows, seconds, kib in runs:
    mine = per_row[(server, mode, int(rows))]
    to_smallest = to_single = ""
    if server == "MariaDB":
        to_smallest = f"{mine / smallest.setdefault(mode, mine):.2f}"
    elif ("MariaDB", mode, int(rows)) in per_row:
        to_single = f"{mine / per_row[('MariaDB', mode, int(rows))]:.2f}"
    out.append(f"| {server} | {mode} | {int(rows):,} | {float(seconds):.2f} | {mine:.2f} | {to_smallest} | "
               f"{to_single} | {int(kib) / 1024:.1f} |")
print("\n".join(out))
PY
)
printf '\n%s\n' "$report"
mkdir -p bench/results
{
    printf '# Speed at scale: the curve\n\n'
    printf '%s' "Command: \`${command_line% }\`"
    printf '\n\nDate: %s\n\n%s\n' "$(date '+%Y-%m-%d %H:%M:%S %z')" "$report"
} >bench/results/speed-at-scale-curve.md
echo "Written to bench/results/speed-at-scale-curve.md" >&2
exit 0
