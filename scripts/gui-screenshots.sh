#!/usr/bin/env bash
# Converts the BMP screenshots the GUI tests leave in $TIMROSE_ARTIFACTS into PNG files.
# Without the variable the tests saved nothing and there is nothing to do.
set -euo pipefail
dir=${TIMROSE_ARTIFACTS:-}
[ -n "$dir" ] || exit 0
[ -d "$dir" ] || exit 0
shopt -s nullglob
for bmp in "$dir"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm -f "$bmp"
done
