#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Compares a scan that walks a folder tree with the scan of the same files given as a list,
# on a warm corpus of year/month/day folders: checks once that both read the same files in
# the same order, runs them alternately (the first of each pair alternating too), prints
# both medians and their ratio, then the peak memory of each. The targets: the walk adds at
# most 15 %, and peak memory stays under 64 MiB.
#
# usage: bench/compare-walk-list.sh [BUILD_DIR]
#   BUILD_DIR  the build folder holding bin/fotolot-bench (default: build)
# environment:
#   CORPUS  corpus folder, made with --tree if it has no list.txt of COUNT lines (default:
#           corpus-tree-COUNT in the checkout, which git ignores)
#   COUNT   files in the corpus (default 100000)
#   ROUNDS  timed pairs (default 5)
#   SEED    corpus seed (default 1)
set -euo pipefail

source "$(dirname "$0")/compare-common.sh"
compare_setup "${1:-}" 100000 corpus-tree --tree
list="@$corpus/list.txt"

# The untimed first runs warm the page and dentry caches and give the records to compare.
walk_records="$(mktemp)"
list_records="$(mktemp)"
trap 'rm -f "$walk_records" "$list_records"' EXIT
"$bench" scan "$corpus" > "$walk_records" 2>/dev/null
"$bench" scan "$list" > "$list_records" 2>/dev/null
if ! cmp -s "$walk_records" "$list_records"; then
  echo "the walk and the list read different files or in another order" >&2
  exit 1
fi
echo "same $(wc -l < "$walk_records") records from the walk and from the list"

echo "load: $(uptime)"
walk_times=()
list_times=()
for ((round = 1; round <= rounds; ++round)); do
  if ((round % 2)); then
    l="$("$bench" scan "$list" 2>&1 >/dev/null | seconds_of)"
    w="$("$bench" scan "$corpus" 2>&1 >/dev/null | seconds_of)"
  else
    w="$("$bench" scan "$corpus" 2>&1 >/dev/null | seconds_of)"
    l="$("$bench" scan "$list" 2>&1 >/dev/null | seconds_of)"
  fi
  printf 'round %d: list %s s, walk %s s\n' "$round" "$l" "$w"
  list_times+=("$l")
  walk_times+=("$w")
done
echo "load: $(uptime)"

list_median="$(printf '%s\n' "${list_times[@]}" | median)"
walk_median="$(printf '%s\n' "${walk_times[@]}" | median)"
awk -v l="$list_median" -v w="$walk_median" -v n="$count" 'BEGIN {
  printf "list median: %.6f s, %.2f us/file\n", l, l * 1e6 / n
  printf "walk median: %.6f s, %.2f us/file\n", w, w * 1e6 / n
  printf "ratio walk/list: %.3f (target at most 1.15)\n", w / l
}'

# Peak resident set size, in KiB.
peak_of() {
  if [[ -x /usr/bin/time ]]; then
    /usr/bin/time -v "$bench" scan "$1" 2>&1 >/dev/null |
      sed -n 's/^[[:space:]]*Maximum resident set size (kbytes): \([0-9]*\)/\1/p'
  else
    "$bench" scan --rusage "$1" 2>&1 >/dev/null | sed -n 's/^peak RSS: \([0-9]*\) KiB/\1/p'
  fi
}
awk -v l="$(peak_of "$list")" -v w="$(peak_of "$corpus")" 'BEGIN {
  printf "peak memory: list %.1f MiB, walk %.1f MiB (target under 64 MiB)\n", l / 1024, w / 1024
}'
