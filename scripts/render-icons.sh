#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Renders the program icon's large sizes (48, 64, 128 and 256 pixels) from res/fotolot.svg into
# res/fotolot-SIZE.png. The 16 and 32 pixel pictures are drawn by hand and not touched.
# With --check, renders into a scratch folder and fails if a committed picture differs.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
if [ "${1:-}" = "--check" ]; then
  check=1
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

status=0
for size in 48 64 128 256; do
  rendered=$scratch/fotolot-$size.png
  rsvg-convert --width "$size" --height "$size" res/fotolot.svg --output "$rendered"
  if [ $check -eq 0 ]; then
    # No time stamps or other text chunks, so a rendering of an unchanged drawing is unchanged.
    convert "$rendered" -strip "res/fotolot-$size.png"
  elif ! differing=$(compare -metric AE "$rendered" "res/fotolot-$size.png" null: 2>&1) \
      || [ "$differing" != "0" ]; then
    echo "res/fotolot-$size.png is not the rendering of res/fotolot.svg ($differing pixels differ);" \
         "run scripts/render-icons.sh" >&2
    status=1
  fi
done
exit $status
