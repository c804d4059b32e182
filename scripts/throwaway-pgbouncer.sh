#!/usr/bin/env bash
# A throwaway PgBouncer in front of a throwaway PostgreSQL server (throwaway-pgserver.sh), on a
# Unix socket in its own folder only. It pools as packaging/pgbouncer-voltmetr.ini, the district's
# example, says: only where it listens, where it logs and how it lets clients in are its own.
#
#   scripts/throwaway-pgbouncer.sh start <folder> <server> [session|transaction] [name=value ...]
#       makes and starts it (one left in the folder by a run that was killed is stopped first);
#       <server> is the server's location as throwaway-pgserver.sh printed it, or the folder of
#       its socket. The pool mode is the example's unless given; name=value overrides one more of
#       the example's settings, e.g. default_pool_size=1. Prints the location of the server's
#       database "skola" through the pooler.
#   scripts/throwaway-pgbouncer.sh stop <folder>
#       stops it and removes what start made, and the folder when nothing else is in it.
#
# The socket is <folder>/.s.PGSQL.5432, as the server's is in its folder: a location reaches the
# pooler instead of the server when only its host folder changes. Every role of the server may
# sign in without a password, as on the server; the pooler asks the server for the roles as
# voltmetr_spravce. PgBouncer refuses to run as root: run as root, it runs as nobody, so the
# folder must be one nobody can reach (under /tmp).
set -euo pipefail
example="$(dirname "$(realpath "$0")")/../packaging/pgbouncer-voltmetr.ini"
folder=$(realpath -m "${2:?a folder for the pooler}")
as_owner=()
if [ "$(id -u)" = 0 ]; then
  as_owner=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

stop() {
  if [ -f "$folder/pgbouncer.pid" ]; then
    local pid
    pid=$(cat "$folder/pgbouncer.pid")
    kill -TERM "$pid" 2>/dev/null || true
    # It removes its socket and pid file as it ends.
    for _ in $(seq 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
  fi
  # Only what start made: a folder given by mistake loses nothing else.
  rm -f "$folder/pgbouncer.ini" "$folder/pgbouncer.log" "$folder/pgbouncer.pid" \
    "$folder/.s.PGSQL.5432"
  rmdir "$folder" 2>/dev/null || true
}

case "${1:-}" in
start)
  server="${3:?a server location or its socket folder}"
  if [[ "$server" == postgresql://* ]]; then
    server=$(sed -n 's/.*[?&]host=\([^&]*\).*/\1/p' <<<"$server")
  fi
  settings=("${@:4}")
  if [[ "${4:-}" == session || "${4:-}" == transaction ]]; then
    settings=("pool_mode=$4" "${@:5}")
  fi
  stop
  mkdir -p "$folder"
  [ ${#as_owner[@]} -eq 0 ] || chown nobody:nogroup "$folder"
  {
    echo "[databases]"
    echo "* = host=$server port=5432"
    # The example's pooling, without where it listens, logs and checks clients on a real server.
    sed -n '/^\[pgbouncer\]/,$p' "$example" |
      grep -Ev '^(listen_addr|listen_port|unix_socket_dir|auth_[a-z_]*|client_tls_[a-z_]*|logfile|pidfile) *='
    echo "listen_addr ="
    echo "listen_port = 5432"
    echo "unix_socket_dir = $folder"
    echo "auth_type = trust"
    echo "auth_user = voltmetr_spravce"
    echo "logfile = $folder/pgbouncer.log"
    echo "pidfile = $folder/pgbouncer.pid"
    # A later line wins over the example's.
    for setting in "${settings[@]}"; do
      echo "${setting%%=*} = ${setting#*=}"
    done
  } >"$folder/pgbouncer.ini"
  "${as_owner[@]}" /usr/sbin/pgbouncer --daemon "$folder/pgbouncer.ini"
  for _ in $(seq 100); do
    [ -S "$folder/.s.PGSQL.5432" ] && break
    sleep 0.05
  done
  if [ ! -S "$folder/.s.PGSQL.5432" ]; then
    cat "$folder/pgbouncer.log" >&2
    exit 1
  fi
  echo "postgresql:///skola?host=$folder&user=voltmetr_spravce"
  ;;
stop)
  stop
  ;;
*)
  echo "usage: $0 start <folder> <server> [session|transaction] [name=value ...] | stop <folder>" >&2
  exit 1
  ;;
esac
