#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# fotolot-bench export: the list of photos written as the window writes it, exit status 0;
# a failing save exits 1 with the system's reason on stderr, also past a file-size limit
# (which must not end the program with SIGXFSZ). Usage: check-export.sh FOTOLOT-BENCH
set -u
bench=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$bench" corpus "$work/photos" 200 --seed 7 > /dev/null 2>&1 || fail "corpus"
"$bench" export "$work/photos/list.txt" "$work/list.csv" || fail "export exit $?"
[ "$(head -n 1 "$work/list.csv")" = "$(printf 'Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed')" ] \
  || fail "header: $(head -n 1 "$work/list.csv")"
[ "$(wc -l < "$work/list.csv")" -eq 201 ] || fail "lines: $(wc -l < "$work/list.csv")"
grep -q $'^IMG_000199.JPG\t' "$work/list.csv" || fail "last photo missing"

expect_failure() { # reason, then the command
  local reason=$1; shift
  local status=0
  "$@" 2> "$work/err" || status=$?
  [ "$status" -eq 1 ] || fail "$* exited $status, not 1"
  grep -qx "fotolot-bench export: $reason" "$work/err" || fail "$*: $(cat "$work/err")"
}
cp "$work/list.csv" "$work/kept.csv"
expect_failure "No space left on device" "$bench" export "$work/photos/list.txt" /dev/full
expect_failure "No such file or directory" "$bench" export "$work/photos/list.txt" "$work/none/list.csv"
expect_failure "File too large" bash -c 'ulimit -f 2 && exec "$0" export "$1" "$2"' \
  "$bench" "$work/photos/list.txt" "$work/list.csv"
cmp -s "$work/list.csv" "$work/kept.csv" || fail "the old export was not kept"
[ -z "$(find "$work" -maxdepth 1 -name '.fotolot-save-*')" ] || fail "a temporary file was left"
echo "export checks passed"
