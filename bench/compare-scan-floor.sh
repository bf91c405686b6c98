#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Compares a scan with its physical floor on a warm corpus: runs `fotolot-bench floor`
# and `fotolot-bench scan` alternately and prints both medians and their ratio. The
# target is a ratio of at most 1.5.
#
# usage: bench/compare-scan-floor.sh [BUILD_DIR]
#   BUILD_DIR  the build folder holding bin/fotolot-bench (default: build)
# environment:
#   CORPUS  corpus folder, made if it has no list.txt of COUNT lines (default: corpus-COUNT
#           in the checkout, which git ignores)
#   COUNT   files in the corpus (default 20000)
#   ROUNDS  timed rounds of each (default 5)
#   SEED    corpus seed (default 1)
set -euo pipefail

source "$(dirname "$0")/compare-common.sh"
compare_setup "${1:-}" 20000 corpus
list="@$corpus/list.txt"

# Warm the page cache and the dentry cache with one untimed run of each.
"$bench" floor "$list" 2>/dev/null
"$bench" scan "$list" >/dev/null 2>&1

floor_times=()
scan_times=()
for ((round = 1; round <= rounds; ++round)); do
  f="$("$bench" floor "$list" 2>&1 >/dev/null | seconds_of)"
  s="$("$bench" scan "$list" 2>&1 >/dev/null | seconds_of)"
  printf 'round %d: floor %s s, scan %s s\n' "$round" "$f" "$s"
  floor_times+=("$f")
  scan_times+=("$s")
done

floor_median="$(printf '%s\n' "${floor_times[@]}" | median)"
scan_median="$(printf '%s\n' "${scan_times[@]}" | median)"
awk -v f="$floor_median" -v s="$scan_median" -v n="$count" 'BEGIN {
  printf "floor median: %.6f s, %.2f us/file\n", f, f * 1e6 / n
  printf "scan median:  %.6f s, %.2f us/file\n", s, s * 1e6 / n
  printf "ratio scan/floor: %.3f (target at most 1.5)\n", s / f
}'
