# SPDX-License-Identifier: MIT
# Sourced by the bench/compare-*.sh scripts.

# compare_setup BUILD_DIR DEFAULT_COUNT CORPUS_NAME [CORPUS_OPTION...]
# Sets bench, count, rounds and corpus from the arguments and the environment (COUNT,
# ROUNDS, SEED, CORPUS; the corpus defaults to CORPUS_NAME-COUNT in the checkout, which git
# ignores), and writes the corpus with the options given when it has no list.txt of COUNT
# lines.
compare_setup() {
  local root build seed
  root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
  build="${1:-$root/build}"
  bench="$build/bin/fotolot-bench"
  count="${COUNT:-$2}"
  rounds="${ROUNDS:-5}"
  seed="${SEED:-1}"
  corpus="${CORPUS:-$root/$3-$count}"
  shift 3
  if [[ ! -x "$bench" ]]; then
    echo "no $bench: build the fotolot-bench target first" >&2
    exit 1
  fi
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
