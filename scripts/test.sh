#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Fotolot with warnings as errors and runs every test;
# then builds the catalogue and EXIF reader under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs their tests again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)

cmake -S . -B build -DFOTOLOT_WERROR=ON
cmake --build build -j "$jobs"
(cd build && ctest --output-on-failure -j "$jobs")

cmake -S . -B build-sanitize -DFOTOLOT_WERROR=ON -DFOTOLOT_SANITIZE=ON -DFOTOLOT_CATALOGUE_ONLY=ON
cmake --build build-sanitize -j "$jobs"
(cd build-sanitize && ctest --output-on-failure -j "$jobs")
