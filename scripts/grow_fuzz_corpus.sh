#!/usr/bin/env bash
# Grows the kept corpus of one fuzz target: runs the target from
# fuzz/corpus/<target>/ for a while (600 s unless told), then merges what it
# found back, keeping only the inputs that add coverage (libFuzzer's -merge=1
# over a fresh folder, so the kept corpus stays minimised).
#
#   cmake --preset fuzz && cmake --build --preset fuzz
#   scripts/grow_fuzz_corpus.sh reader_fuzz|compiled_fuzz|compile_fuzz|http_request_fuzz|lsp_fuzz [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

target=${1:?usage: $0 reader_fuzz|compiled_fuzz|compile_fuzz|http_request_fuzz|lsp_fuzz [seconds]}
seconds=${2:-600}
binary=build/fuzz/fuzz/$target
corpus=fuzz/corpus/$target
[ -x "$binary" ] || { echo "$binary is not built: cmake --preset fuzz && cmake --build --preset fuzz" >&2; exit 1; }
[ -d "$corpus" ] || { echo "no corpus folder $corpus" >&2; exit 1; }

# The same limits as in CI.
options=(-rss_limit_mb=1024 -timeout=20)
[ "$target" = compiled_fuzz ] && options+=(-max_len=8192)
# New inputs are kept short (the seeds, whole shipped texts and files, stay as
# they are), so that the kept corpus stays a few hundred KB.
grow_options=(-max_len=1024)

found=$(mktemp -d)
merged=$(mktemp -d)
trap 'rm -rf "$found" "$merged"' EXIT
"$binary" "$found" "$corpus" "${options[@]}" "${grow_options[@]}" -max_total_time="$seconds" \
  -print_final_stats=1
"$binary" -merge=1 "$merged" "$corpus" "$found" "${options[@]}"
rm -f "$corpus"/*
cp "$merged"/* "$corpus"/
echo "$corpus: $(ls "$corpus" | wc -l) inputs, $(du -sk "$corpus" | cut -f1) KB"
