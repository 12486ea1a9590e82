#!/usr/bin/env bash
# Usage: scripts/with-postgres.sh CMD...
# Runs CMD against a throwaway PostgreSQL 15 server: a fresh cluster in a
# temporary folder, listening on a unix socket only, trusted connections for
# user postgres. Exports TAMRIK_TEST_PG_HOST (the socket folder),
# TAMRIK_TEST_PG_PORT and TAMRIK_REQUIRE_PG=1, then stops the server, removes
# the folder and exits with CMD's status.
set -euo pipefail

if [ $# -eq 0 ]; then
  echo "usage: $0 CMD..." >&2
  exit 2
fi

PGBIN=${PGBIN:-/usr/lib/postgresql/15/bin}
if [ ! -x "$PGBIN/pg_ctl" ]; then
  echo "with-postgres: no PostgreSQL 15 in $PGBIN (install the postgresql package)" >&2
  exit 2
fi

dir=$(mktemp -d "${TMPDIR:-/tmp}/tamrik-pg.XXXXXX")
# The server refuses to run as root: then it runs as postgres, which owns the folder.
if [ "$(id -u)" -eq 0 ]; then
  chown postgres: "$dir"
  as_server() { runuser -u postgres -- "$@"; }
else
  as_server() { "$@"; }
fi

started=0
cleanup() {
  if [ "$started" -eq 1 ]; then
    as_server "$PGBIN/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

# With listen_addresses='' the port only names the socket file in our own
# folder, so it cannot collide; still take one nothing else listens on.
port=""
for _ in $(seq 1 50); do
  candidate=$((20000 + RANDOM % 40000))
  if ! (ss -Hltn 2>/dev/null || true) | grep -q ":$candidate\b"; then
    port=$candidate
    break
  fi
done
[ -n "$port" ] || { echo "with-postgres: no free port found" >&2; exit 2; }

as_server "$PGBIN/initdb" -D "$dir/data" -A trust -U postgres -E UTF8 --locale=C --no-sync >"$dir/initdb.log" 2>&1 || {
  cat "$dir/initdb.log" >&2
  exit 2
}
# A throwaway server: durability is not wanted, speed is.
if ! as_server "$PGBIN/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
    -o "-k $dir -c listen_addresses='' -p $port -c fsync=off -c synchronous_commit=off -c full_page_writes=off" start >/dev/null; then
  echo "with-postgres: the server did not start:" >&2
  cat "$dir/server.log" >&2 || true
  exit 2
fi
started=1

export TAMRIK_TEST_PG_HOST="$dir"
export TAMRIK_TEST_PG_PORT="$port"
export TAMRIK_REQUIRE_PG=1

status=0
"$@" || status=$?
exit "$status"
