#!/bin/sh
# Serves an update by hand, as the update server of a deployment would: the
# given installer as the setup package and a manifest offering it, signed with
# the test key, from the loopback test server. Prints the address to start
# lumora.exe with and serves until stopped (Ctrl+C).
# usage: serve_update.sh <folder> <installer> <version> [setup arguments, e.g. /S]
# Run from the source tree after ./dev build, with the Wine prefix the build
# made (WINEPREFIX set as for the programs) and WINE naming the Wine that runs
# the build (wine, or /usr/lib/wine/wine64 where 32-bit Wine cannot run).
set -eu
folder=$1
installer=$2
version=$3
arguments=${4:-}
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../.." && pwd)
rm -rf "$folder"
mkdir -p "$folder"
cp "$installer" "$folder/LumoraSetup.exe"
python3 "$src/tests/updater/httpserver.py" --root "$folder" --port-file "$folder/port" --lifetime 86400 &
server=$!
trap 'kill "$server" 2>/dev/null' EXIT INT TERM
i=0
while [ ! -s "$folder/port" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
port=$(cat "$folder/port")
# The manifest names the setup package by an enciphered address, with the
# updater's key.
url=$("${WINE:-wine}" "$src/build/out/bin/strcipher.exe" encode 'L#u9m!o2R@a7x$V4q%Z8k' \
      "http://127.0.0.1:$port/lumo/2014/LumoraSetup.exe" | tr -d '\r\n')
if [ -z "$url" ]; then
  echo "strcipher.exe did not run: set WINE" >&2
  exit 1
fi
digest=$(python3 "$src/tools/sign_update.py" digest "$folder/LumoraSetup.exe" | tr -d '\r')
{
  printf '[RUN]\r\nNAME=LumoraSetup.exe%s\r\n' "${arguments:+ $arguments}"
  printf '[SETUP]\r\nVERSION=%s\r\nFILE=%s\r\nNEWFEATURES=Lumora %s\r\nNAME=LumoraSetup.exe\r\nURL=%s\r\n' \
    "$version" "$version" "$version" "$url"
  printf '%s\r\n' $digest
} > "$folder/newupdate.unsigned"
python3 "$src/tools/sign_update.py" sign --key "$src/tests/keys/update_test_private.pem" \
  "$folder/newupdate.unsigned" -o "$folder/newupdate.ini"
echo "serving Lumora $version: start lumora.exe with LUMORA_UPDATE_SERVER=127.0.0.1:$port"
wait "$server"
