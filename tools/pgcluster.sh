#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests of the shared store.
#   pgcluster.sh start ENVFILE   starts one in a fresh temporary folder, listening
#                                on a Unix socket only, and writes its connection
#                                (host=..., port=...) to ENVFILE
#   pgcluster.sh stop ENVFILE    stops it and removes the folder
# Where no server can be started, start writes the reason to ENVFILE as
# "unavailable=..." and still succeeds: the server tests then skip, saying why.
set -uo pipefail
cmd=${1:-}; envfile=${2:-}
[ -n "$cmd" ] && [ -n "$envfile" ] || { echo "usage: $0 start|stop ENVFILE" >&2; exit 2; }
port=5432

unavailable() {
    echo "unavailable=$*" > "$envfile"
    echo "PostgreSQL for the tests: not started: $*"
    exit 0
}

stop_cluster() {
    [ -f "$envfile" ] || return 0
    local dir
    dir=$(sed -n 's/^dir=//p' "$envfile")
    if [ -n "$dir" ] && [ -d "$dir/data" ]; then
        as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
        rm -rf "$dir"
    fi
    rm -f "$envfile"
}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
# The server refuses to run as root: there it runs as the postgres user.
if [ "$(id -u)" = 0 ]; then
    as_owner() { runuser -u postgres -- "$@"; }
else
    as_owner() { "$@"; }
fi

case "$cmd" in
start)
    stop_cluster
    mkdir -p "$(dirname "$envfile")"
    [ -n "$bindir" ] && [ -x "$bindir/initdb" ] || unavailable "the postgresql package is not installed"
    if [ "$(id -u)" = 0 ] && ! id postgres >/dev/null 2>&1; then
        unavailable "there is no postgres user to run the server as"
    fi
    dir=$(mktemp -d /tmp/lir-pg.XXXXXX) || unavailable "no temporary folder"
    mkdir -p "$dir/socket"
    [ "$(id -u)" = 0 ] && chown -R postgres "$dir"
    chmod 700 "$dir"; [ "$(id -u)" = 0 ] && chmod 711 "$dir"
    if ! as_owner "$bindir/initdb" -D "$dir/data" -U postgres -A trust -E UTF8 --locale=C.UTF-8 \
            --no-sync >"$dir/initdb.log" 2>&1; then
        msg=$(tail -n 1 "$dir/initdb.log"); rm -rf "$dir"; unavailable "initdb failed: $msg"
    fi
    if ! as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
            -o "-c listen_addresses='' -c unix_socket_directories='$dir/socket' -c port=$port -c fsync=off -c max_connections=100" \
            start >/dev/null 2>&1; then
        msg=$(tail -n 1 "$dir/server.log" 2>/dev/null); rm -rf "$dir"; unavailable "the server did not start: $msg"
    fi
    chmod 755 "$dir/socket" 2>/dev/null
    printf 'dir=%s\nhost=%s\nport=%s\nuser=postgres\n' "$dir" "$dir/socket" "$port" > "$envfile"
    echo "PostgreSQL for the tests: running on $dir/socket"
    ;;
stop)
    stop_cluster
    ;;
*)
    echo "usage: $0 start|stop ENVFILE" >&2; exit 2 ;;
esac
