#!/usr/bin/env bash
# A throw-away PostgreSQL cluster for the tests that run against a server.
#
#   test_server.sh start STATE_DIR [--tcp PORT]
#   test_server.sh stop  STATE_DIR
#
# start makes a cluster in a new temporary folder (initdb, run as an
# unprivileged user when called as root), listening on a Unix socket in that
# folder only, or also on 127.0.0.1:PORT with --tcp, and writes
# STATE_DIR/server: "SOCKET_DIR PORT". Role "tqlm" (superuser) connects
# without a password over the socket; role "reader" (may read only) needs
# the password "reader-pw". Where no server can be started it writes the
# reason to STATE_DIR/unavailable instead and exits 0, so that the tests
# report it (and fail where a server is required). stop ends the cluster and
# removes its folder; it is safe to call at any time.
set -uo pipefail

action=${1:?start or stop}
state=${2:?state folder}
mkdir -p "$state"
state=$(cd "$state" && pwd)

as_owner() {
  if [[ $(id -u) == 0 ]]; then
    runuser -u "$owner" -- "$@"
  else
    "$@"
  fi
}

stop() {
  [[ -f $state/cluster ]] || return 0
  local cluster owner
  cluster=$(cat "$state/cluster")
  owner=$(stat -c %U "$cluster/data" 2>/dev/null || id -un)
  if [[ -f $cluster/data/postmaster.pid ]]; then
    local pid
    pid=$(head -1 "$cluster/data/postmaster.pid")
    # Killed only when that process is still this cluster's server.
    as_owner "$bindir/pg_ctl" -D "$cluster/data" -m immediate -w stop >/dev/null 2>&1 ||
      { grep -qa -- "$cluster/data" "/proc/$pid/cmdline" 2>/dev/null && kill -9 "$pid"; }
  fi
  case $cluster in /tmp/tqlm-pg.*) rm -rf "$cluster" ;; esac
  rm -f "$state/cluster" "$state/server"
}

unavailable() {
  echo "$*" >"$state/unavailable"
  echo "test server unavailable: $*" >&2
  exit 0
}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
[[ -n $bindir ]] || bindir=$(dirname "$(command -v initdb 2>/dev/null || echo /none/initdb)")

if [[ $action == stop ]]; then
  stop
  exit 0
fi

tcp_port=
if [[ ${3:-} == --tcp ]]; then tcp_port=${4:?port}; fi

stop  # a cluster a killed run left behind
rm -f "$state/unavailable"
[[ -x $bindir/initdb && -x $bindir/pg_ctl ]] || unavailable "PostgreSQL server programs not found (Debian package postgresql)"
odbcinst -q -d -n "PostgreSQL Unicode" >/dev/null 2>&1 ||
  unavailable "ODBC driver \"PostgreSQL Unicode\" not registered (Debian package odbc-postgresql)"

owner=$(id -un)
if [[ $(id -u) == 0 ]]; then
  owner=postgres
  id -u "$owner" >/dev/null 2>&1 || owner=nobody
fi

# A short path: a socket's path may not exceed 107 bytes.
cluster=$(mktemp -d /tmp/tqlm-pg.XXXXXX) || unavailable "cannot make a temporary folder"
echo "$cluster" >"$state/cluster"
# Only its owner (and root) may reach the socket: role tqlm needs no password.
chmod 700 "$cluster"
chown "$owner" "$cluster" 2>/dev/null
printf 'unused\n' >"$cluster/pw"
chown "$owner" "$cluster/pw" 2>/dev/null
chmod 600 "$cluster/pw"
as_owner "$bindir/initdb" -D "$cluster/data" -U tqlm --pwfile="$cluster/pw" -E UTF8 --locale=C \
  --auth-local=trust --auth-host=scram-sha-256 >"$cluster/initdb.log" 2>&1 ||
  unavailable "initdb failed: $(tail -3 "$cluster/initdb.log")"
cat >"$cluster/data/pg_hba.conf" <<'EOF'
local all tqlm trust
local all all scram-sha-256
host all all 127.0.0.1/32 scram-sha-256
EOF
listen=''
port=5432
if [[ -n $tcp_port ]]; then
  listen=127.0.0.1
  port=$tcp_port
fi
as_owner "$bindir/pg_ctl" -D "$cluster/data" -l "$cluster/server.log" -w -t 60 \
  -o "-c listen_addresses='$listen' -p $port -c unix_socket_directories='$cluster' -c fsync=off -c synchronous_commit=off -c full_page_writes=off -c max_connections=200 -c max_wal_size=256MB -c min_wal_size=64MB" \
  start >/dev/null 2>&1 || unavailable "the server did not start: $(tail -3 "$cluster/server.log")"
"$bindir/psql" -X -q -h "$cluster" -p "$port" -U tqlm -d postgres -v ON_ERROR_STOP=1 \
  -c "CREATE ROLE reader LOGIN PASSWORD 'reader-pw'" \
  -c "ALTER ROLE tqlm PASSWORD 'tqlm-pw'" >/dev/null 2>&1 ||
  unavailable "the server does not answer"
echo "$cluster $port" >"$state/server"
