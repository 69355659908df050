#!/usr/bin/env bash
# End to end for authors on Windows: the authors' zip unpacked into a fresh
# folder, its scenario_tool.exe writes the shipped scenario's folder and
# packages it under wine with the generic installer beside it; the packaged
# .exe, copied alone into a fresh folder and started under wine, must end with
# status 0 and leave the same six files, byte for byte, as the built-in Linux
# installer. The Linux tool's package for Windows must do the same. And a
# scenario made with new, packaged under wine, must write the three files that
# compile writes.
#   windows_packaged_matches_linux.sh LINUX_INSTALLER LINUX_TOOL AUTHORS_ZIP
set -euo pipefail
if [ $# -ne 3 ]; then
  echo "usage: $0 LINUX_INSTALLER LINUX_TOOL AUTHORS_ZIP" >&2
  exit 2
fi
linux=$(realpath "$1")
linux_tool=$(realpath "$2")
zip=$(realpath "$3")
cmake_dir=$(cd "$(dirname "$0")/../../cmake" && pwd)
work=$(mktemp -d)
session="$work/wine-session"
trap '"$cmake_dir/wine_session.sh" stop "$session"; rm -rf "$work"' EXIT

files=(Brisena_Tarvo_47306_note.txt Brisena_Tarvo_47306_rallentamenti.txt
  Brisena_Tarvo_47306_scheda_treno.txt Brisena_Tarvo_linea.dat Brisena_Tarvo_47306.sim
  Brisena_Tarvo_47306.dat)

mkdir "$work/reference" "$work/unpacked" "$work/elsewhere"
cp "$linux" "$work/reference/"
(cd "$work/elsewhere" && "$work/reference/$(basename "$linux")" </dev/null 2>/dev/null)

cmake -E chdir "$work/unpacked" cmake -E tar xf "$zip"
for name in bin/scenario_tool.exe bin/scenario_installer.exe README.txt; do
  if [ ! -f "$work/unpacked/$name" ]; then
    echo "the authors' zip holds no $name" >&2
    exit 1
  fi
done

"$cmake_dir/wine_session.sh" start "$session" >/dev/null
wine() { timeout 120 "$cmake_dir/wine_run.sh" "$session" "$@" </dev/null; }

# The unpacked tool, under wine, with nothing but what the zip holds.
cd "$work/unpacked/bin"
wine ./scenario_tool.exe example shipped >/dev/null
wine ./scenario_tool.exe package shipped --platform windows --out by_windows_tool.exe >/dev/null
# The Linux tool packages for Windows with the generic installer of the zip.
"$linux_tool" package shipped --platform windows --stub scenario_installer.exe \
  --out by_linux_tool.exe >/dev/null

failed=0
for installer in by_windows_tool.exe by_linux_tool.exe; do
  run="$work/run_${installer%.exe}"
  mkdir "$run"
  cp "$installer" "$run/"
  status=0
  wine "$run/$installer" || status=$?
  if [ "$status" -ne 0 ]; then
    echo "the installer packaged $installer ended with status $status" >&2
    failed=1
    continue
  fi
  expected=$( (echo "$installer"; printf '%s\n' "${files[@]}" scenari.lock) | sort)
  actual=$(ls -A "$run" | sort)
  if [ "$actual" != "$expected" ]; then
    echo "$installer left other files than its six:" >&2
    diff <(echo "$expected") <(echo "$actual") >&2 || true
    failed=1
  fi
  for file in "${files[@]}"; do
    if ! cmp "$work/reference/$file" "$run/$file"; then failed=1; fi
  done
done
# A new scenario: the packaged .exe under wine writes the three files that
# compile writes.
wine ./scenario_tool.exe new minimal --route Val_Sesia --train 2 >/dev/null
"$linux_tool" compile minimal --out "$work/compiled" 2>/dev/null
wine ./scenario_tool.exe package minimal --platform windows --out minimal.exe >/dev/null
mkdir "$work/run_minimal"
cp minimal.exe "$work/run_minimal/"
if ! wine "$work/run_minimal/minimal.exe"; then
  echo "the installer of the new scenario failed" >&2
  failed=1
fi
for file in Val_Sesia_linea.dat Val_Sesia_2.sim Val_Sesia_2.dat; do
  if ! cmp "$work/compiled/$file" "$work/run_minimal/$file"; then failed=1; fi
done

if [ "$failed" -ne 0 ]; then exit 1; fi
echo "a new scenario's packaged .exe wrote the files compile writes; the authors' Windows zip packaged the shipped scenario under wine, and both packaged .exe files wrote the built-in installer's six files, byte for byte"
