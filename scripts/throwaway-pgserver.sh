#!/usr/bin/env bash
# A throwaway PostgreSQL server, on a Unix socket in its own folder only: the tests share one,
# the store benchmarks start one with the server's default settings (fsync on, as on a school's
# server).
#
#   scripts/throwaway-pgserver.sh start <folder> [--no-fsync]
#       makes and starts it (a server left in the folder by a run that was killed is stopped and
#       removed first); prints the location of its empty database "skola". --no-fsync trades
#       safety after a power cut, which tests do not need, for speed.
#   scripts/throwaway-pgserver.sh stop <folder>
#       stops it and removes what start made, and the folder when nothing else is in it.
#
# The superuser is voltmetr_spravce, trusted on the socket. The server refuses to run as root:
# run as root, it runs as nobody, so the folder must be one nobody can reach (under /tmp).
set -euo pipefail
bin=/usr/lib/postgresql/15/bin
folder=$(realpath -m "${2:?a folder for the server}")
as_owner=()
if [ "$(id -u)" = 0 ]; then
  as_owner=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi

stop() {
  if [ -f "$folder/data/postmaster.pid" ]; then
    "${as_owner[@]}" "$bin/pg_ctl" --pgdata="$folder/data" --mode=immediate --wait stop >/dev/null
  fi
  # Only what start made: a folder given by mistake loses nothing else.
  rm -rf "$folder/data" "$folder/initdb.log" "$folder/server.log"
  rmdir "$folder" 2>/dev/null || true
}

case "${1:-}" in
start)
  options="-c listen_addresses='' -k $folder"
  if [ "${3:-}" = --no-fsync ]; then
    options+=" -c fsync=off"
  fi
  stop
  mkdir -p "$folder"
  [ ${#as_owner[@]} -eq 0 ] || chown nobody:nogroup "$folder"
  # A Czech school's server: Czech sorting and Czech messages where it has them.
  "${as_owner[@]}" "$bin/initdb" --pgdata="$folder/data" --username=voltmetr_spravce \
    --auth=trust --encoding=UTF8 --locale=cs_CZ.UTF-8 --no-sync >"$folder/initdb.log"
  "${as_owner[@]}" "$bin/pg_ctl" --pgdata="$folder/data" --wait --log="$folder/server.log" \
    --options="$options" start >/dev/null
  "${as_owner[@]}" "$bin/createdb" --host="$folder" --username=voltmetr_spravce skola
  echo "postgresql:///skola?host=$folder&user=voltmetr_spravce"
  ;;
stop)
  stop
  ;;
*)
  echo "usage: $0 start|stop <folder> [--no-fsync]" >&2
  exit 1
  ;;
esac
