#!/bin/sh
# Signs manifests for a test that runs under Wine and cannot run the signing
# tool itself: every "<name>.tosign" that appears in the folder becomes
# "<name>", signed with the test key, and the request file goes. The test
# waits for the signed file.
# usage: run_with_signer.sh <folder> <command> [args...]
set -u
folder=$1
shift
here=$(cd "$(dirname "$0")" && pwd)
src=$(cd "$here/../../.." && pwd)
(
  while :; do
    for request in "$folder"/*.tosign; do
      [ -f "$request" ] || continue
      target=${request%.tosign}
      python3 "$src/tools/sign_update.py" sign --key "$src/tests/keys/update_test_private.pem" "$request" \
        -o "$target.signing" && mv -f "$target.signing" "$target"
      rm -f "$request"
    done
    sleep 0.05
  done
) &
signer=$!
"$@"
status=$?
kill "$signer" 2>/dev/null
wait "$signer" 2>/dev/null
exit $status
