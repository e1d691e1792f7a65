#!/bin/sh
# Two small drives for the installer's tests, mapped into the Wine prefix:
#   R: a 4 MiB drive, too small for an installation (the nearly full drive);
#   S: a read-only drive with room to spare.
# Mounting needs root (mount -t tmpfs). Where it is not allowed the drives are
# not made and the tests that need them report themselves skipped.
# Usage: setup_drives.sh up|down <folder for the mount points>
set -u
action="$1"; base="$2"
dosdevices="${WINEPREFIX:?}/dosdevices"

down() {
  rm -f "$dosdevices/r:" "$dosdevices/s:"
  for d in small readonly; do
    mountpoint -q "$base/$d" 2>/dev/null && umount "$base/$d"
  done
  rm -rf "$base"
}

up() {
  down
  mkdir -p "$base/small" "$base/readonly"
  if ! mount -t tmpfs -o size=4m lumora-small "$base/small" 2>/dev/null; then
    echo "setup_drives: cannot mount a tmpfs here; the drive tests are skipped"
    return 0
  fi
  mount -t tmpfs -o size=64m lumora-readonly "$base/readonly" && mount -o remount,ro "$base/readonly"
  ln -s "$base/small" "$dosdevices/r:"
  ln -s "$base/readonly" "$dosdevices/s:"
}

case "$action" in
  up) up ;;
  down) down ;;
  *) echo "usage: $0 up|down <folder>" >&2; exit 2 ;;
esac
exit 0
