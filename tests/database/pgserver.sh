#!/bin/bash
# A throwaway PostgreSQL server for the tests: "start STATE" makes a new cluster in a
# temporary folder, run as the postgres user, listening only on a private Unix socket
# folder (no TCP), and writes into STATE its folder, its address, the address of a role
# that must give a password (every other role is trusted) and that password; "stop STATE"
# stops it and removes the folder. Failing to start fails the tests that need it.
set -eu
action=$1
state=$2
bindir=$(pg_config --bindir 2>/dev/null || true)
[ -x "$bindir/initdb" ] || bindir=/usr/lib/postgresql/15/bin
as_postgres() { if [ "$(id -u)" = 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi; }

case $action in
start)
    if [ -f "$state" ]; then "$0" stop "$state" || true; fi
    dir=$(mktemp -d /tmp/corvella-pg.XXXXXX)
    chmod 755 "$dir"
    mkdir "$dir/socket"
    [ "$(id -u)" = 0 ] && chown postgres: "$dir" "$dir/socket"
    as_postgres "$bindir/initdb" -D "$dir/data" --auth=trust --encoding=UTF8 --locale=C.UTF-8 -U postgres >"$dir/initdb.log" 2>&1 ||
        { cat "$dir/initdb.log"; exit 1; }
    # The first matching line decides: this role alone is asked for its password.
    as_postgres sh -c "{ echo 'local all corvella_password scram-sha-256'; cat '$dir/data/pg_hba.conf'; } \
        >'$dir/data/pg_hba.new' && mv '$dir/data/pg_hba.new' '$dir/data/pg_hba.conf'"
    as_postgres "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
        -o "-c listen_addresses='' -k $dir/socket -c fsync=off -c max_connections=200" start >/dev/null ||
        { cat "$dir/server.log"; exit 1; }
    echo "$dir" >"$state"
    echo "postgresql:///postgres?host=$dir/socket&user=postgres" >>"$state"
    echo "postgresql:///postgres?host=$dir/socket&user=corvella_password" >>"$state"
    echo "right-horse-battery" >>"$state"
    psql "postgresql:///postgres?host=$dir/socket&user=postgres" -q \
        -c "CREATE ROLE corvella_password LOGIN PASSWORD 'right-horse-battery'"
    psql "postgresql:///postgres?host=$dir/socket&user=postgres" -Atc "SELECT version()"
    ;;
stop)
    [ -f "$state" ] || exit 0
    dir=$(head -n1 "$state")
    as_postgres "$bindir/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
    rm -rf "$dir" "$state"
    ;;
esac
