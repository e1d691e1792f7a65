#!/bin/sh
# Small volumes for the installer's tests, mapped into the Wine prefix:
#   R: a 4 MiB drive, too small for an installation (the nearly full drive);
#   S: a read-only drive with room to spare;
#   C:\LumoraSmallMount a 4 MiB volume mounted on a folder of the roomy C:;
#   C:\LumoraTiny\Lumora\~lumora.new a 1 MiB volume mounted on the folder an
#     install unpacks into, which fills up in the middle of the first file.
# Mounting needs root (mount -t tmpfs). Where it is not allowed the volumes are
# not made and the tests that need them report themselves skipped, saying why.
# Usage: setup_drives.sh up|down <folder for the mount points>
set -u
action="$1"; base="$2"
dosdevices="${WINEPREFIX:?}/dosdevices"
drive_c="$WINEPREFIX/drive_c"
small_mount="$drive_c/LumoraSmallMount"
tiny_mount="$drive_c/LumoraTiny/Lumora/~lumora.new"

down() {
  rm -f "$dosdevices/r:" "$dosdevices/s:"
  for d in "$base/small" "$base/readonly" "$small_mount" "$tiny_mount"; do
    mountpoint -q "$d" 2>/dev/null && umount "$d"
  done
  rm -rf "$base" "$small_mount" "$drive_c/LumoraTiny"
}

up() {
  down
  mkdir -p "$base/small" "$base/readonly" "$small_mount" "$tiny_mount"
  if ! mount -t tmpfs -o size=4m lumora-small "$base/small" 2>/dev/null; then
    echo "setup_drives: cannot mount a tmpfs here (not root?); the small-volume tests are skipped"
    rm -rf "$small_mount" "$drive_c/LumoraTiny"
    return 0
  fi
  mount -t tmpfs -o size=64m lumora-readonly "$base/readonly" && mount -o remount,ro "$base/readonly"
  mount -t tmpfs -o size=4m lumora-small-mount "$small_mount"
  mount -t tmpfs -o size=1m lumora-tiny "$tiny_mount"
  ln -s "$base/small" "$dosdevices/r:"
  ln -s "$base/readonly" "$dosdevices/s:"
}

case "$action" in
  up) up ;;
  down) down ;;
  *) echo "usage: $0 up|down <folder>" >&2; exit 2 ;;
esac
exit 0
