#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Fotolot with warnings as errors and runs every test;
# then builds everything again under AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test once more; then builds the Qt-free catalogue (the scan loop and its
# reader threads) and its tests under ThreadSanitizer and runs them.
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

cmake -S . -B build-tsan -DFOTOLOT_WERROR=ON -DFOTOLOT_TSAN=ON -DFOTOLOT_CATALOGUE_ONLY=ON
cmake --build build-tsan -j "$jobs"
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest --output-on-failure -j "$jobs")
