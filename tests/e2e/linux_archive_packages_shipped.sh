#!/usr/bin/env bash
# The authors' Linux archive, unpacked into a fresh folder: its scenario_tool
# writes the shipped scenario's folder and packages it with the
# scenario_installer beside it; the packaged installer, run alone in a fresh
# folder, must leave the built-in installer's six files, byte for byte.
#   linux_archive_packages_shipped.sh LINUX_INSTALLER AUTHORS_TAR_GZ
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 LINUX_INSTALLER AUTHORS_TAR_GZ" >&2
  exit 2
fi
installer=$(realpath "$1")
archive=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

files=(Brisena_Tarvo_47306_note.txt Brisena_Tarvo_47306_rallentamenti.txt
  Brisena_Tarvo_47306_scheda_treno.txt Brisena_Tarvo_linea.dat Brisena_Tarvo_47306.sim
  Brisena_Tarvo_47306.dat)

mkdir "$work/reference" "$work/unpacked" "$work/run"
cp "$installer" "$work/reference/"
(cd "$work" && "$work/reference/$(basename "$installer")" </dev/null 2>/dev/null)

tar -xzf "$archive" -C "$work/unpacked"
cd "$work/unpacked/bin"
./scenario_tool example shipped >/dev/null
./scenario_tool package shipped --platform linux --out "$work/run/installer" >/dev/null
(cd "$work" && "$work/run/installer" </dev/null 2>/dev/null)

failed=0
for file in "${files[@]}"; do
  if ! cmp "$work/reference/$file" "$work/run/$file"; then failed=1; fi
done
if [ "$failed" -ne 0 ]; then exit 1; fi
echo "the authors' Linux archive packaged the shipped scenario; its installer wrote the built-in installer's six files, byte for byte"
