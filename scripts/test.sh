#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Fotolot with warnings as errors and runs every test;
# then builds everything again under AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test once more; then builds the catalogue (the scan loop and its reader threads),
# the saves and the scan dialog with its worker under ThreadSanitizer and runs their tests;
# last, when clang is there, builds the EXIF parser's libFuzzer target and runs it for 60 s
# over the seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)

cmake -S . -B build -DFOTOLOT_WERROR=ON
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-sanitize -DFOTOLOT_WERROR=ON -DFOTOLOT_SANITIZE=ON
cmake --build build-sanitize -j "$jobs"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
(cd build-sanitize && ctest --output-on-failure -j "$jobs")

# Under ThreadSanitizer: the catalogue, the saves and the scan dialog with its worker (the
# scan layer and the controls and query layers it stands on, with their tests). Left out
# are the tests that drive Qt's own file dialogs: their helper threads live inside Qt, whose futex-based locks
# ThreadSanitizer cannot see in an uninstrumented Qt, so it reports races between Qt's own
# threads there.
cmake -S . -B build-tsan -DFOTOLOT_WERROR=ON -DFOTOLOT_TSAN=ON "-DFOTOLOT_ONLY=scan;query"
cmake --build build-tsan -j "$jobs"
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --output-on-failure -j "$jobs" -E 'SaveFileDialog|OpenDialog|DesktopXvfb|desktop_xvfb')

# The fuzzer needs clang and its libFuzzer runtime (the clang and libclang-rt-dev packages).
# It starts from the seeds in tests/fuzz/seeds and keeps what it finds in build-fuzz/corpus.
if command -v clang++ > /dev/null; then
  cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DFOTOLOT_CATALOGUE_ONLY=ON \
    -DFOTOLOT_FUZZ=ON -DFOTOLOT_SANITIZE=ON -DFOTOLOT_TESTS=OFF -DFOTOLOT_WERROR=ON
  cmake --build build-fuzz -j "$jobs" --target fotolot-fuzz-exif
  mkdir -p build-fuzz/corpus
  build-fuzz/bin/fotolot-fuzz-exif -max_total_time=60 -max_len=131072 -print_final_stats=1 \
    build-fuzz/corpus tests/fuzz/seeds
else
  echo "clang++ not found: the fuzzer is not built"
fi
