# Sourced by the test command: starts a private PostgreSQL server for one run
# (its own data folder, socket folder and port), stops it on exit, and exports
# PANELPICK_TEST_PG for the database tests. The tests run it without fsync;
# PANELPICK_PG_DURABLE=1 keeps fsync and synchronous commit on, as a real
# server runs, for the benchmarks.
pg_private_start() {
    local bindir
    bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)"
    [[ -x "$bindir/initdb" ]] || { echo "PostgreSQL server binaries not found" >&2; return 1; }
    local durability="-c fsync=off"
    [[ "${PANELPICK_PG_DURABLE:-0}" == 1 ]] && durability="-c fsync=on -c synchronous_commit=on"
    PG_PRIVATE_DIR="$(mktemp -d /tmp/panelpick-pg.XXXXXX)"
    PG_PRIVATE_PORT="${PANELPICK_PG_PORT:-$((20000 + RANDOM % 20000))}"
    local runas=()
    if [[ $(id -u) -eq 0 ]]; then
        # initdb refuses to run as root; the server runs as the postgres account.
        id postgres >/dev/null 2>&1 || useradd --system --no-create-home postgres
        chown postgres "$PG_PRIVATE_DIR"
        runas=(runuser -u postgres --)
    fi
    "${runas[@]}" "$bindir/initdb" -D "$PG_PRIVATE_DIR/data" -U postgres --auth=trust \
        --encoding=UTF8 --locale=C.UTF-8 >"$PG_PRIVATE_DIR/initdb.log" 2>&1 ||
        { cat "$PG_PRIVATE_DIR/initdb.log" >&2; return 1; }
    "${runas[@]}" "$bindir/pg_ctl" -D "$PG_PRIVATE_DIR/data" -l "$PG_PRIVATE_DIR/server.log" -w \
        -o "-p $PG_PRIVATE_PORT -k $PG_PRIVATE_DIR -c listen_addresses=127.0.0.1 $durability" start >/dev/null ||
        { cat "$PG_PRIVATE_DIR/server.log" >&2; return 1; }
    PG_PRIVATE_BIN="$bindir"
    export PANELPICK_TEST_PG="host=127.0.0.1 port=$PG_PRIVATE_PORT user=postgres dbname=postgres"
    echo "private PostgreSQL on 127.0.0.1:$PG_PRIVATE_PORT"
}

pg_private_stop() {
    [[ -n "${PG_PRIVATE_DIR:-}" && -d "$PG_PRIVATE_DIR/data" ]] || return 0
    local runas=()
    [[ $(id -u) -eq 0 ]] && runas=(runuser -u postgres --)
    "${runas[@]}" "$PG_PRIVATE_BIN/pg_ctl" -D "$PG_PRIVATE_DIR/data" -m fast -w stop >/dev/null 2>&1 || true
    rm -rf "$PG_PRIVATE_DIR"
}
