#!/usr/bin/env bash
# A throwaway PostgreSQL server for the store benchmarks, on a Unix socket in its own folder
# only, with the server's default settings (fsync on, as on a school's server).
#
#   bench/pgserver.sh start <folder>   makes and starts it; prints the school database's location
#   bench/pgserver.sh stop <folder>    stops it (then remove the folder)
#
# The server refuses to run as root: run as root, it runs as nobody.
set -euo pipefail
bin=/usr/lib/postgresql/15/bin
folder=$(realpath -m "${2:?a folder for the server}")
as_owner=()
if [ "$(id -u)" = 0 ]; then
  as_owner=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
case "${1:-}" in
start)
  mkdir -p "$folder"
  [ ${#as_owner[@]} -eq 0 ] || chown nobody:nogroup "$folder"
  "${as_owner[@]}" "$bin/initdb" --pgdata="$folder/data" --username=voltmetr_spravce \
    --auth=trust --encoding=UTF8 --locale=cs_CZ.UTF-8 >"$folder/initdb.log"
  "${as_owner[@]}" "$bin/pg_ctl" --pgdata="$folder/data" --wait --log="$folder/server.log" \
    --options="-c listen_addresses='' -k $folder" start >/dev/null
  "${as_owner[@]}" "$bin/createdb" --host="$folder" --username=voltmetr_spravce skola
  echo "postgresql:///skola?host=$folder&user=voltmetr_spravce"
  ;;
stop)
  "${as_owner[@]}" "$bin/pg_ctl" --pgdata="$folder/data" --wait stop >/dev/null
  ;;
*)
  echo "usage: $0 start|stop <folder>" >&2
  exit 1
  ;;
esac
