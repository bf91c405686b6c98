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

source "$root/bench/compare-common.sh"
require_bench "$bench" ${baseline:+"$baseline"}
ensure_corpus "$bench" "$corpus" "$count" "$seed"
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

warm_up_and_time_each "$cold" "$bench" "$list"
if ((cold)); then state=cold; else state=warm; fi
timed_rounds "${names[0]}" "${names[1]}" "$rounds" 0 "$count" "$state"
