# SPDX-License-Identifier: MIT
# Shell helpers of the compare-*.sh scripts, which source this file: the benchmark and its
# corpus, one run's seconds, and timed rounds of two commands with their medians.

# Exits unless every argument is an executable fotolot-bench.
require_bench() {
  local b
  for b in "$@"; do
    if [[ ! -x "$b" ]]; then
      echo "no $b: build the fotolot-bench target first" >&2
      exit 1
    fi
  done
}

# usage: ensure_corpus BENCH CORPUS COUNT SEED [CORPUS_OPTION...]
# Writes the corpus with BENCH unless CORPUS holds a list.txt of COUNT lines already.
ensure_corpus() {
  local bench="$1" corpus="$2" count="$3" seed="$4"
  shift 4
  if [[ -f "$corpus/list.txt" ]] && [[ "$(wc -l < "$corpus/list.txt")" -eq "$count" ]]; then
    echo "reusing corpus $corpus ($count files)"
  else
    echo "writing corpus $corpus ($count files, seed $seed${*:+, $*})"
    "$bench" corpus "$corpus" "$count" --seed "$seed" "$@"
  fi
}

# Seconds of one run, from "scanned F files, accepted A, S s, R files/s".
seconds_of() {
  sed -n 's/^scanned [0-9]* files, accepted [0-9]*, \([0-9.]*\) s, .*/\1/p'
}

median() {
  sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# usage: timed_rounds NAME_A NAME_B ROUNDS ALTERNATE COUNT NOTE
# Runs the caller's functions run_a and run_b, each printing one run's seconds, ROUNDS
# times (b before a in every second round when ALTERNATE is 1), prints every round, both
# medians per run and per file of COUNT, and the ratio b/a followed by NOTE.
timed_rounds() {
  local name_a="$1" name_b="$2" rounds="$3" alternate="$4" count="$5" note="$6"
  local round a b a_times=() b_times=()
  echo "load: $(uptime)"
  for ((round = 1; round <= rounds; ++round)); do
    if ((alternate && round % 2 == 0)); then
      b="$(run_b)"
      a="$(run_a)"
    else
      a="$(run_a)"
      b="$(run_b)"
    fi
    printf 'round %d: %s %s s, %s %s s\n' "$round" "$name_a" "$a" "$name_b" "$b"
    a_times+=("$a")
    b_times+=("$b")
  done
  echo "load: $(uptime)"
  awk -v a="$(printf '%s\n' "${a_times[@]}" | median)" \
    -v b="$(printf '%s\n' "${b_times[@]}" | median)" -v n="$count" -v na="$name_a" \
    -v nb="$name_b" -v note="$note" 'BEGIN {
    printf "%s median: %.6f s, %.2f us/file\n", na, a, a * 1e6 / n
    printf "%s median: %.6f s, %.2f us/file\n", nb, b, b * 1e6 / n
    printf "ratio %s/%s: %.3f (%s)\n", nb, na, b / a, note
  }'
}

# usage: warm_up_and_time_each COLD BENCH LIST
# Runs the commands in the arrays first and second once, untimed, to warm the page cache
# and the folder and inode caches, then defines run_a and run_b: the seconds of one run of
# each, after LIST's cached pages were dropped (`BENCH evict`) when COLD is 1.
warm_up_and_time_each() {
  timed_cold="$1" timed_bench="$2" timed_list="$3"
  "${first[@]}" >/dev/null 2>&1
  "${second[@]}" >/dev/null 2>&1
  run_a() { timed_one "${first[@]}"; }
  run_b() { timed_one "${second[@]}"; }
}

timed_one() {
  if ((timed_cold)) && ! "$timed_bench" evict "$timed_list" 2>/dev/null; then
    echo "fotolot-bench evict failed" >&2
    exit 1
  fi
  "$@" 2>&1 >/dev/null | seconds_of
}
