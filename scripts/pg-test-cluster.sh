#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests of the server provider.
#   pg-test-cluster.sh start DIR   creates and starts it in the empty folder DIR
#                                  and prints the TOLVENK_PG value the tests read
#   pg-test-cluster.sh stop DIR    stops it and removes DIR
# It listens on a socket in DIR and on a free loopback port. The role
# "tolvenk" logs in with a password; the calling user logs in on the socket as
# itself (integrated security). Installs nothing: scripts/install-deps.sh does.
# The server refuses to run as root, so under root it runs as the "postgres"
# user that the server package creates.
set -euo pipefail

cmd="${1:-}"
dir="${2:-}"
[ -n "$cmd" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR" >&2; exit 2; }
if [ -d "$dir" ]; then dir="$(cd "$dir" && pwd)"; fi
cd /  # a folder the server's user may enter

bindir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)"
[ -x "$bindir/initdb" ] && [ -x "$bindir/pg_ctl" ] || {
  echo "PostgreSQL server programs not found; run scripts/install-deps.sh" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$cmd" in
start)
  [ -d "$dir" ] && [ -z "$(ls -A "$dir")" ] || { echo "$dir must be an empty folder" >&2; exit 1; }
  caller="$(id -un)"
  password="tolvenk-test"
  if [ "$(id -u)" -eq 0 ]; then
    chown postgres: "$dir"
  fi
  chmod 755 "$dir"
  as_owner bash -c "umask 077 && printf '%s\n' '$password' > '$dir/pw'"
  as_owner "$bindir/initdb" -D "$dir/data" -U tolvenk --pwfile="$dir/pw" -E UTF8 --no-locale --no-sync \
    -A scram-sha-256 >"$dir/initdb.log" 2>&1 || { cat "$dir/initdb.log" >&2; exit 1; }
  # The caller is known to the server by its own name on the socket (peer).
  as_owner bash -c "{ echo 'local all $caller peer'; echo 'local all all scram-sha-256';
    echo 'host all all 127.0.0.1/32 scram-sha-256'; } > '$dir/data/pg_hba.conf'"

  started=""
  for _ in 1 2 3 4 5 6 7 8; do
    port=$(( 20000 + RANDOM % 40000 ))
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && continue  # taken
    if as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
         -o "-c listen_addresses=127.0.0.1 -c port=$port -c unix_socket_directories=$dir -c max_connections=300 \
             -c fsync=off -c synchronous_commit=off -c full_page_writes=off" start >/dev/null; then
      started=yes
      break
    fi
  done
  [ -n "$started" ] || { echo "the test database server did not start:" >&2; cat "$dir/server.log" >&2; exit 1; }

  if [ "$caller" != "tolvenk" ]; then
    PGPASSWORD="$password" "$bindir/psql" -X -q -h "$dir" -p "$port" -U tolvenk -d postgres \
      -c "CREATE ROLE \"$caller\" LOGIN CREATEDB" >/dev/null
  fi
  echo "host=$dir port=$port user=tolvenk password=$password"
  ;;
stop)
  if [ -f "$dir/data/postmaster.pid" ]; then
    as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$dir"
  ;;
*)
  echo "usage: $0 start|stop DIR" >&2
  exit 2
  ;;
esac
