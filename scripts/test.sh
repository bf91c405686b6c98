#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Fotolot with warnings as errors and runs every test;
# then builds everything again under AddressSanitizer and UndefinedBehaviorSanitizer and
# runs every test once more; then builds the catalogue (the scan loop and its reader threads),
# the saves and the scan dialog with its worker under ThreadSanitizer and runs their tests.
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
# controls and query layers, on which the dialog's tests stand). Left out are the tests that
# drive Qt's own file dialogs: their helper threads live inside Qt, whose futex-based locks
# ThreadSanitizer cannot see in an uninstrumented Qt, so it reports races between Qt's own
# threads there.
cmake -S . -B build-tsan -DFOTOLOT_WERROR=ON -DFOTOLOT_TSAN=ON "-DFOTOLOT_ONLY=controls;query"
cmake --build build-tsan -j "$jobs"
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" \
  ctest --output-on-failure -j "$jobs" -E 'SaveFileDialog|OpenDialog|DesktopXvfb|desktop_xvfb')
