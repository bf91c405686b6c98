#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Compares a scan with its physical floor: runs `fotolot-bench floor` (one file after the
# other: open, read 32 KiB, fstat, close) and `fotolot-bench scan` alternately and prints
# both medians and their ratio. Targets: at most 1.0 on a warm corpus, at most 0.5 cold.
#
# usage: bench/compare-scan-floor.sh [--cold] [--window BASELINE_BENCH] [BUILD_DIR]
#   --cold      drop the corpus's cached pages (`fotolot-bench evict`) before each timed
#               run, so that every read goes to the disk
#   --window    compare scan runs through the real window (`window-scan`, needs DISPLAY)
#               of BASELINE_BENCH, another build's fotolot-bench, and of this build's,
#               instead of floor and scan
#   BUILD_DIR   the build folder holding bin/fotolot-bench (default: build)
# environment:
#   CORPUS  corpus folder, made if it has no list.txt of COUNT lines (default: corpus-COUNT
#           in the checkout, which git ignores)
#   COUNT   files in the corpus (default 20000)
#   ROUNDS  timed rounds of each (default 5)
#   SEED    corpus seed (default 1)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cold=0
baseline=""
while [[ $# -gt 0 ]]; do
  case "$1" in
    --cold) cold=1; shift ;;
    --window) baseline="${2:?--window needs the baseline fotolot-bench}"; shift 2 ;;
    *) break ;;
  esac
done
build="${1:-$root/build}"
bench="$build/bin/fotolot-bench"
count="${COUNT:-20000}"
rounds="${ROUNDS:-5}"
seed="${SEED:-1}"
corpus="${CORPUS:-$root/corpus-$count}"

for b in "$bench" ${baseline:+"$baseline"}; do
  if [[ ! -x "$b" ]]; then
    echo "no $b: build the fotolot-bench target first" >&2
    exit 1
  fi
done

if [[ -f "$corpus/list.txt" ]] && [[ "$(wc -l < "$corpus/list.txt")" -eq "$count" ]]; then
  echo "reusing corpus $corpus ($count files)"
else
  echo "writing corpus $corpus ($count files, seed $seed)"
  "$bench" corpus "$corpus" "$count" --seed "$seed"
fi
list="@$corpus/list.txt"

if [[ -n "$baseline" ]]; then
  names=(baseline window)
  first=("$baseline" window-scan "$list")
  second=("$bench" window-scan "$list")
else
  names=(floor scan)
  first=("$bench" floor "$list")
  second=("$bench" scan "$list")
fi

# Seconds of one run, from "scanned F files, accepted A, S s, R files/s".
seconds_of() {
  sed -n 's/^scanned [0-9]* files, accepted [0-9]*, \([0-9.]*\) s, .*/\1/p'
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

timed() {
  if ((cold)) && ! "$bench" evict "$list" 2>/dev/null; then
    echo "fotolot-bench evict failed" >&2
    exit 1
  fi
  "$@" 2>&1 >/dev/null | seconds_of
}

# Warm the page cache and the folder and inode caches with one untimed run of each.
"${first[@]}" >/dev/null 2>&1
"${second[@]}" >/dev/null 2>&1

echo "load: $(uptime)"
first_times=()
second_times=()
for ((round = 1; round <= rounds; ++round)); do
  a="$(timed "${first[@]}")"
  b="$(timed "${second[@]}")"
  printf 'round %d: %s %s s, %s %s s\n' "$round" "${names[0]}" "$a" "${names[1]}" "$b"
  first_times+=("$a")
  second_times+=("$b")
done
echo "load: $(uptime)"

first_median="$(printf '%s\n' "${first_times[@]}" | median)"
second_median="$(printf '%s\n' "${second_times[@]}" | median)"
awk -v a="$first_median" -v b="$second_median" -v n="$count" -v na="${names[0]}" \
  -v nb="${names[1]}" -v cold="$cold" 'BEGIN {
  printf "%s median: %.6f s, %.2f us/file\n", na, a, a * 1e6 / n
  printf "%s median: %.6f s, %.2f us/file\n", nb, b, b * 1e6 / n
  printf "ratio %s/%s: %.3f (%s)\n", nb, na, b / a, cold ? "cold" : "warm"
}'
