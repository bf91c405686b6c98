#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs what is missing, builds Fotolot and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build
cmake --build build -j "$(nproc)"
exec build/bin/fotolot "$@"
