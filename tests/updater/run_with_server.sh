#!/bin/sh
# Starts the loopback test server on a free port, runs the given command with
# LUMORA_TEST_HTTP_PORT and LUMORA_TEST_HTTP_ROOT set, then stops the server.
# usage: run_with_server.sh <server root> <lifetime s> <command> [args...]
set -u
root=$1
lifetime=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$root"
mkdir -p "$root"
python3 "$here/httpserver.py" --root "$root" --port-file "$root/port" --lifetime "$lifetime" &
server=$!
trap 'kill "$server" 2>/dev/null' INT TERM
i=0
while [ ! -s "$root/port" ] && [ $i -lt 100 ]; do
  sleep 0.1
  i=$((i + 1))
done
if [ ! -s "$root/port" ]; then
  echo "test server did not start" >&2
  kill "$server" 2>/dev/null
  exit 1
fi
LUMORA_TEST_HTTP_PORT=$(cat "$root/port")
LUMORA_TEST_HTTP_ROOT="Z:$(echo "$root" | sed 's|/|\\|g')"
export LUMORA_TEST_HTTP_PORT LUMORA_TEST_HTTP_ROOT
"$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
