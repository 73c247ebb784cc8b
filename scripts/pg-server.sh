#!/usr/bin/env bash
# A private PostgreSQL server for the tests: a cluster in a folder of its own, listening on 127.0.0.1 only,
# logins by password (scram-sha-256), run as an unprivileged user when started as root.
#
#   pg-server.sh start FOLDER   makes the cluster (once) and starts it on a free port; prints the port.
#                               The superuser "orvadmin" has the password in FOLDER/adminpw.
#                               Started again after a halt, it keeps its port.
#   pg-server.sh halt FOLDER    stops it (fast shutdown), keeping the cluster, as a server that goes away.
#   pg-server.sh stop FOLDER    stops it (fast shutdown) and removes the folder.
# Fails loudly (non-zero, the server's log on stderr) when the server cannot start within 60 seconds.
set -euo pipefail

command_name=${1:?start, halt or stop}
folder=${2:?folder}
bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -x "$bin/pg_ctl" ] || { echo "pg-server: PostgreSQL is not installed (package postgresql)" >&2; exit 1; }

as_owner=()
if [ "$(id -u)" -eq 0 ]; then
    # The server refuses to run as root.
    as_owner=(runuser -u nobody --)
fi

free_port() {
    python3 - <<'PY' 2>/dev/null || echo $((20000 + RANDOM % 20000))
import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])
PY
}

case "$command_name" in
start)
    mkdir -p "$folder"
    if [ ! -f "$folder/data/PG_VERSION" ]; then
        head -c 24 /dev/urandom | od -An -tx1 | tr -d ' \n' > "$folder/adminpw"
        chmod 0644 "$folder/adminpw"
        [ ${#as_owner[@]} -eq 0 ] || chown nobody "$folder"
        "${as_owner[@]}" "$bin/initdb" -D "$folder/data" -U orvadmin --pwfile="$folder/adminpw" \
            --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 > "$folder/initdb.log" 2>&1 ||
            { cat "$folder/initdb.log" >&2; exit 1; }
    fi
    if [ -f "$folder/port" ]; then port=$(cat "$folder/port"); else port=$(free_port); fi
    "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -l "$folder/server.log" -w -t 60 \
        -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$folder -c fsync=off -c max_connections=200" \
        start > /dev/null || { cat "$folder/server.log" >&2; exit 1; }
    echo "$port" > "$folder/port"
    echo "$port"
    ;;
halt)
    "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -m fast -w -t 30 stop > /dev/null
    ;;
stop)
    if [ -f "$folder/data/postmaster.pid" ]; then
        "${as_owner[@]}" "$bin/pg_ctl" -D "$folder/data" -m fast -w -t 30 stop > /dev/null || true
    fi
    rm -rf "$folder"
    ;;
*)
    echo "pg-server: start, halt or stop" >&2
    exit 2
    ;;
esac
