#!/bin/sh
# Fails when a C or C++ source of the tree differs from what .clang-format
# makes of it, naming each file. Usage: check_format.sh <source tree>
root="${1:-.}"
cd "$root" || exit 2
formatter=""
for name in clang-format clang-format-14; do
  command -v "$name" >/dev/null 2>&1 && { formatter="$name"; break; }
done
if [ -z "$formatter" ]; then
  echo "check_format.sh: clang-format is not installed (./dev setup installs it)" >&2
  exit 1
fi
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  list() { git ls-files -- '*.c' '*.cpp' '*.h'; }
else
  list() { find . -path ./build -prune -o \( -name '*.c' -o -name '*.cpp' -o -name '*.h' \) -print; }
fi
# One run over every file; its complaints name the files.
unformatted=$(list | xargs "$formatter" --dry-run --Werror 2>&1 | sed -n 's/^\(.*\):[0-9]*:[0-9]*: error:.*/\1/p' | sort -u)
if [ -n "$unformatted" ]; then
  echo "$unformatted" | sed 's/^/not formatted: /'
  exit 1
fi
echo "every source is formatted"
