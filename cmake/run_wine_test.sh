#!/bin/sh
# Runs one test program under Wine with its output going to a file first.
# Processes a test starts (and Wine's own helpers) inherit the output they
# were started with; left running on the runner's pipe they would keep ctest
# waiting for the end of the output long after the test itself has ended.
# Usage: run_wine_test.sh <wine loader> <test program> [arguments...]
wine_loader="$1"; shift
log="$(mktemp)"
"$wine_loader" "$@" >"$log" 2>&1 </dev/null
rc=$?
cat "$log"
# A test program that dies inside a test (a stack overflow, say) can leave Wine
# with exit status 0: without GoogleTest's closing summary the run has failed.
if [ $rc -eq 0 ] && ! grep -q '^\[==========\] .* ran\.' "$log"; then
  echo "run_wine_test.sh: the test program ended without its summary" >&2
  rc=1
fi
rm -f "$log"
exit $rc
