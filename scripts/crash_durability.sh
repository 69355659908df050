#!/usr/bin/env bash
# Power-cut check of the installer's file replacement. Needs root and a loop
# device; not part of the test suite.
#
#   scripts/crash_durability.sh [installer] [rounds]
#
# For each mount of a fresh ext4 file system on a loop device (default
# options, then noauto_da_alloc) and each round: the folder holds an earlier
# installation (other bytes) or nothing; the installer runs there and must
# exit 0; at once, with nothing synced, the disk image is copied as it stands,
# which is what a power cut at that moment would leave on the disk. The copy
# is mounted (its journal replayed) and each of the six files must be whole
# and byte for byte those of a clean run. Exit status 0 when every round
# passes.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
installer=${1:-$here/build/release/scenario/brisena_tarvo_47306}
rounds=${2:-5}
files=(Brisena_Tarvo_linea.dat Brisena_Tarvo_47306.sim Brisena_Tarvo_47306.dat
  Brisena_Tarvo_47306_note.txt Brisena_Tarvo_47306_rallentamenti.txt
  Brisena_Tarvo_47306_scheda_treno.txt)

if [ "$(id -u)" != 0 ]; then
  echo "needs root (loop devices and mounts)" >&2
  exit 2
fi
[ -x "$installer" ] || { echo "no installer at $installer" >&2; exit 2; }

work=$(mktemp -d)
disk=""
copy=""
cleanup() {
  mountpoint -q "$work/mnt" && umount "$work/mnt"
  mountpoint -q "$work/check" && umount "$work/check"
  [ -n "$disk" ] && losetup -d "$disk" 2>/dev/null
  [ -n "$copy" ] && losetup -d "$copy" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
mkdir -p "$work/good" "$work/mnt" "$work/check"

# The bytes of a clean run, made on the ordinary file system.
cp "$installer" "$work/good/"
(cd / && "$work/good/$(basename "$installer")" 2>/dev/null)

failures=0
for options in defaults noauto_da_alloc; do
  for round in $(seq 1 "$rounds"); do
    for earlier in none other; do
      truncate -s 128M "$work/disk.img"
      disk=$(losetup -f --show "$work/disk.img")
      mkfs.ext4 -q "$disk"
      mount -o "$options" "$disk" "$work/mnt"
      mkdir "$work/mnt/sim"
      cp "$installer" "$work/mnt/sim/"
      if [ "$earlier" = other ]; then
        for f in "${files[@]}"; do printf 'an earlier installation of %s\n' "$f" >"$work/mnt/sim/$f"; done
      fi
      sync
      # The run, then the power cut: the image as the device holds it now.
      status=0
      (cd / && "$work/mnt/sim/$(basename "$installer")" 2>/dev/null) || status=$?
      cp --sparse=always "$work/disk.img" "$work/cut.img"
      umount "$work/mnt"
      losetup -d "$disk"
      disk=""

      copy=$(losetup -f --show "$work/cut.img")
      mount "$copy" "$work/check"
      bad=""
      for f in "${files[@]}"; do
        cmp -s "$work/good/$f" "$work/check/sim/$f" || bad="$bad $f"
      done
      umount "$work/check"
      losetup -d "$copy"
      copy=""
      rm -f "$work/disk.img" "$work/cut.img"

      if [ "$status" != 0 ] || [ -n "$bad" ]; then
        echo "FAIL $options round $round earlier=$earlier: status $status, not whole after the cut:${bad:- none}"
        failures=$((failures + 1))
      else
        echo "ok   $options round $round earlier=$earlier"
      fi
    done
  done
done
[ "$failures" = 0 ]
