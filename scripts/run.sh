#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds the program alone (scripts/test.sh builds the tests and the
# benchmark) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j "$(nproc)" --target fotolot
exec build/bin/fotolot "$@"
