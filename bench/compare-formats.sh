#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Compares scans of a corpus of another format with a scan of JPEGs, or with its floor.
# Warm: `fotolot-bench scan` of a JPEG corpus against the same of a FORMAT corpus of as
# many files, alternately; the ratio is per file. Targets: heic at most 1.2, heic-tail at
# most 2.2, heic-mdat-first at most 2.5. Cold (--cold): `fotolot-bench floor --same-reads` (one file after the other,
# with the reader's further reads where it makes them) against `scan` over the FORMAT corpus,
# its cached pages dropped before each run. Target for heic-tail and heic-mdat-first: at
# most 0.5.
#
# usage: bench/compare-formats.sh [--cold] FORMAT [BUILD_DIR]
#   FORMAT      heic, heic-tail, cr3, raf, mrw, heic-mdat-first, png, webp, jxl or tiff
#               (see `fotolot-bench corpus --format`)
#   BUILD_DIR   the build folder holding bin/fotolot-bench (default: build)
# environment:
#   PREFIX  corpora are PREFIX-jpeg-COUNT and PREFIX-FORMAT-COUNT, made when missing
#           (default: corpus in the checkout, which git ignores)
#   COUNT   files in each corpus (default 20000)
#   ROUNDS  timed rounds of each (default 5)
#   SEED    corpus seed (default 1)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
cold=0
if [[ "${1:-}" == "--cold" ]]; then
  cold=1
  shift
fi
format="${1:?usage: bench/compare-formats.sh [--cold] FORMAT [BUILD_DIR]}"
build="${2:-$root/build}"
bench="$build/bin/fotolot-bench"
count="${COUNT:-20000}"
rounds="${ROUNDS:-5}"
seed="${SEED:-1}"
prefix="${PREFIX:-$root/corpus}"

source "$root/bench/compare-common.sh"
require_bench "$bench"
ensure_corpus "$bench" "$prefix-$format-$count" "$count" "$seed" --format "$format"
list="@$prefix-$format-$count/list.txt"

if ((cold)); then
  names=(floor "scan-$format")
  first=("$bench" floor --same-reads "$list")
  state="cold, $format"
else
  ensure_corpus "$bench" "$prefix-jpeg-$count" "$count" "$seed"
  names=(scan-jpeg "scan-$format")
  first=("$bench" scan "@$prefix-jpeg-$count/list.txt")
  state="warm, per file"
fi
second=("$bench" scan "$list")

warm_up_and_time_each "$cold" "$bench" "$list"
timed_rounds "${names[0]}" "${names[1]}" "$rounds" 1 "$count" "$state"
