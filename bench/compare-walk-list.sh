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

root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
bench="$build/bin/fotolot-bench"
count="${COUNT:-100000}"
rounds="${ROUNDS:-5}"
seed="${SEED:-1}"
corpus="${CORPUS:-$root/corpus-tree-$count}"

source "$root/bench/compare-common.sh"
require_bench "$bench"
ensure_corpus "$bench" "$corpus" "$count" "$seed" --tree
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

run_a() { "$bench" scan "$list" 2>&1 >/dev/null | seconds_of; }
run_b() { "$bench" scan "$corpus" 2>&1 >/dev/null | seconds_of; }
timed_rounds list walk "$rounds" 1 "$count" "target at most 1.15"

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
