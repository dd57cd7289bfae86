#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests and the benchmark, in a folder
# of its own, on 127.0.0.1:<port>. PostgreSQL refuses to run as root, so under
# root the server runs as nobody.
#   pgcluster.sh init  <folder> <port> <fsync>  initdb, start, data/server.sql, the logins
#   pgcluster.sh start <folder> <port> <fsync>
#   pgcluster.sh stop  <folder>
# The superuser postgres logs in without a password; lehrer and schueler (the
# two roles of data/server.sql) with the password "geheim".
set -euo pipefail
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n1)
[ -x "$bin/initdb" ] || { echo "PostgreSQL is not installed (scripts/setup test installs it)"; exit 77; }
als=()
[ "$(id -u)" -eq 0 ] && als=(runuser -u nobody --)
ordner=$2
start() {
    "${als[@]}" "$bin/pg_ctl" start -w -D "$ordner/data" -l "$ordner/log" \
        -o "-p $1 -k $ordner -c listen_addresses=127.0.0.1 -c fsync=$2" >/dev/null || { cat "$ordner/log"; exit 1; }
}
case $1 in
init)
    [ "$(id -u)" -eq 0 ] && chown nobody "$ordner"
    "${als[@]}" "$bin/initdb" -D "$ordner/data" -U postgres -E UTF8 --locale=C >/dev/null
    printf 'local all all trust\nhost all postgres 127.0.0.1/32 trust\nhost all all 127.0.0.1/32 scram-sha-256\n' \
        >"$ordner/data/pg_hba.conf"
    start "$3" "$4"
    psql=("$bin/psql" -qX -v ON_ERROR_STOP=1 -h 127.0.0.1 -p "$3" -U postgres)
    "${psql[@]}" -c 'CREATE DATABASE kreidolin'
    "${psql[@]}" -d kreidolin -f "$(dirname "$0")/../../data/server.sql"
    "${psql[@]}" -d kreidolin -c "CREATE ROLE lehrer LOGIN PASSWORD 'geheim' IN ROLE kreidolin_lehrer;
                                  CREATE ROLE schueler LOGIN PASSWORD 'geheim' IN ROLE kreidolin_schueler;"
    ;;
start) start "$3" "$4" ;;
stop) "${als[@]}" "$bin/pg_ctl" stop -w -m fast -D "$ordner/data" >/dev/null ;;
esac
