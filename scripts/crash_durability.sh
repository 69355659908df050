#!/usr/bin/env bash
# Power-cut check of the installer's file replacement. Needs root and a loop
# device; not part of the test suite.
#
#   scripts/crash_durability.sh [installer] [rounds]
#   scripts/crash_durability.sh --during [installer] [fault library]
#
# For each mount of a fresh ext4 file system on a loop device (default
# options, then noauto_da_alloc) and each round: the folder holds an earlier
# installation (other bytes) or nothing; the installer runs there and must
# exit 0; at once, with nothing synced, the disk image is copied as it stands,
# which is what a power cut at that moment would leave on the disk. The copy
# is mounted (its journal replayed) and each of the six files must be whole
# and byte for byte those of a clean run. Exit status 0 when every round
# passes.
#
# With --during, the cut comes during the run instead: for each step of the
# run that changes what the disk holds (a file created, a flush, a rename, a
# deletion; counted by the tests' fault library), the installer is stopped
# just before that step, the image copied as it stands, and the installer
# killed. On the copy the six files must be all the earlier installation's or
# all the new one's, or, inside the burst that replaces them, mixed with the
# burst's record beside them; and a run of the installer on the copy must
# then end clean with the new six. The sweep ends at the first step the run
# does not reach.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
during=no
if [ "${1:-}" = --during ]; then
  during=yes
  shift
fi
installer=${1:-$here/build/release/scenario/brisena_tarvo_47306}
rounds=${2:-5}
shim=$here/build/release/tests/libfault_shim.so
if [ "$during" = yes ]; then shim=${2:-$shim}; fi
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

# The state of the six files in folder $1: "earlier", "new", "mixed" or
# "torn" (a file that is neither installation's).
classify() {
  local earlier=0 new=0 f
  for f in "${files[@]}"; do
    if cmp -s "$work/good/$f" "$1/$f"; then
      new=$((new + 1))
    elif [ "$(cat "$1/$f" 2>/dev/null)" = "an earlier installation of $f" ]; then
      earlier=$((earlier + 1))
    else
      echo torn
      return
    fi
  done
  if [ "$new" = 6 ]; then echo new; elif [ "$earlier" = 6 ]; then echo earlier; else echo mixed; fi
}

if [ "$during" = yes ]; then
  [ -f "$shim" ] || { echo "no fault library at $shim" >&2; exit 2; }
  failures=0
  trials=0
  for options in defaults noauto_da_alloc; do
    step=1
    while :; do
      truncate -s 128M "$work/disk.img"
      disk=$(losetup -f --show "$work/disk.img")
      mkfs.ext4 -q "$disk"
      mount -o "$options" "$disk" "$work/mnt"
      mkdir "$work/mnt/sim"
      cp "$installer" "$work/mnt/sim/"
      for f in "${files[@]}"; do printf 'an earlier installation of %s\n' "$f" >"$work/mnt/sim/$f"; done
      sync
      (cd / && LD_PRELOAD="$shim" FAULT_STOP_AT=$step \
        exec "$work/mnt/sim/$(basename "$installer")" 2>/dev/null) &
      pid=$!
      # Until it stops at the step, or ends without reaching it.
      reached=no
      while kill -0 "$pid" 2>/dev/null; do
        if [ "$(awk '{print $3}' "/proc/$pid/stat" 2>/dev/null)" = T ]; then
          reached=yes
          break
        fi
        sleep 0.005
      done
      # The power cut: the image as the device holds it at this moment.
      cp --sparse=always "$work/disk.img" "$work/cut.img"
      kill -KILL "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
      umount "$work/mnt"
      losetup -d "$disk"
      disk=""

      copy=$(losetup -f --show "$work/cut.img")
      mount "$copy" "$work/check"
      state=$(classify "$work/check/sim")
      record=no
      compgen -G "$work/check/sim/scenari.*.commit" >/dev/null && record=yes
      # The next run on the disk as the cut left it.
      next=0
      (cd / && "$work/check/sim/$(basename "$installer")" 2>/dev/null) || next=$?
      after=$(classify "$work/check/sim")
      umount "$work/check"
      losetup -d "$copy"
      copy=""
      rm -f "$work/disk.img" "$work/cut.img"

      if [ "$reached" = no ]; then break; fi
      trials=$((trials + 1))
      if [ "$state" = torn ] || { [ "$state" = mixed ] && [ "$record" = no ]; } ||
        [ "$next" != 0 ] || [ "$after" != new ]; then
        echo "FAIL $options step $step: $state (record: $record); next run status $next, then $after"
        failures=$((failures + 1))
      else
        echo "ok   $options step $step: $state (record: $record)"
      fi
      step=$((step + 1))
    done
  done
  echo "$trials cuts during the run, $failures failed"
  [ "$failures" = 0 ]
  exit
fi

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
