#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Times Ctrl+A and Enter in the scan run's open dialog over one folder of many photos, as
# a user presses them: `fotolot-bench open-dialog` shows the dialog in FOLDER, xdotool
# clicks the first file, presses Ctrl+A and then Enter, and the benchmark prints how long
# after each key the dialog handed its files over. Runs on the current DISPLAY (Xvfb).
#
# usage: bench/time-open-dialog.sh FOLDER [BUILD_DIR]
#   FOLDER     one flat folder of photos
#   BUILD_DIR  the build folder holding bin/fotolot-bench (default: build)
# environment:
#   ROUNDS  runs, one after the other (default 3)
#   SETTLE  seconds for the dialog to list the folder before the click (default 15)
set -euo pipefail

root="$(cd "$(dirname "$0")/.." && pwd)"
folder="$(cd "$1" && pwd)"
build="$(cd "${2:-$root/build}" && pwd)"
bench="$build/bin/fotolot-bench"
rounds="${ROUNDS:-3}"
settle="${SETTLE:-15}"

for ((round = 1; round <= rounds; ++round)); do
  (cd "$folder" && exec "$bench" open-dialog) &
  pid=$!
  window="$(xdotool search --sync --name '^Open$' | head -n 1)"
  sleep "$settle"
  # The first row of the detail view, about 180 x 70 pixels into the dialog.
  xdotool mousemove --window "$window" 180 70 click 1
  sleep 1
  xdotool key ctrl+a
  sleep 0.3
  xdotool key Return
  wait "$pid"
done
