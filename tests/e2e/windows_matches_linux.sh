#!/usr/bin/env bash
# End to end on Windows: the installer .exe, copied alone into a fresh folder
# and started under wine on a virtual display, must end by itself with status
# 0 (a message box left open would keep it waiting), and leave the same six
# files, byte for byte, as the Linux installer built from the same sources and
# run alone in another fresh folder.
#   windows_matches_linux.sh LINUX_INSTALLER WINDOWS_INSTALLER_EXE
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 LINUX_INSTALLER WINDOWS_INSTALLER_EXE" >&2
  exit 2
fi
linux=$(realpath "$1")
windows=$(realpath "$2")
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
work=$(mktemp -d)
session="$work/wine-session"
trap '"$cmake_dir/wine_session.sh" stop "$session"; rm -rf "$work"' EXIT

files=(Brisena_Tarvo_47306_note.txt Brisena_Tarvo_47306_rallentamenti.txt
  Brisena_Tarvo_47306_scheda_treno.txt Brisena_Tarvo_linea.dat Brisena_Tarvo_47306.sim
  Brisena_Tarvo_47306.dat)

mkdir "$work/linux" "$work/windows" "$work/elsewhere"
cp "$linux" "$work/linux/"
cp "$windows" "$work/windows/"

cd "$work/elsewhere"
if ! "$work/linux/$(basename "$linux")" </dev/null 2>"$work/linux.err"; then
  echo "the Linux installer failed:" >&2
  cat "$work/linux.err" >&2
  exit 1
fi

"$cmake_dir/wine_session.sh" start "$session" >/dev/null
status=0
timeout 120 "$cmake_dir/wine_run.sh" "$session" "$work/windows/$(basename "$windows")" \
  </dev/null || status=$?
if [ "$status" -eq 124 ]; then
  echo "the Windows installer did not end within 120 s: a message box stayed open" >&2
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "the Windows installer ended with status $status" >&2
  exit 1
fi

failed=0
for kind in linux windows; do
  # Beside the six files, the folder lock that every run leaves, empty.
  expected=$( (basename "$([ $kind = linux ] && echo "$linux" || echo "$windows")"; printf '%s\n' "${files[@]}" scenari.lock) | sort)
  actual=$(ls -A "$work/$kind" | sort)
  if [ "$actual" != "$expected" ]; then
    echo "the $kind installer left other files than its six:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    failed=1
  fi
done
for file in "${files[@]}"; do
  if ! cmp "$work/linux/$file" "$work/windows/$file"; then failed=1; fi
done
if [ "$failed" -ne 0 ]; then exit 1; fi
echo "the Windows installer ended cleanly and wrote the Linux installer's six files, byte for byte"
