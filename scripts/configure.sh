#!/usr/bin/env bash
# Configures one CMake preset: scripts/configure.sh PRESET [more cmake arguments]. A build folder
# keeps the compilers it was first configured with; when its preset has since named other ones,
# CMakeLists.txt stops, and the folder is configured afresh.
set -uo pipefail
preset=$1
shift
if out=$(cmake --preset "$preset" "$@" 2>&1); then
  echo "$out"
  exit 0
fi
echo "$out"
grep -q "configure it afresh" <<<"$out" || exit 1
echo "configure: $preset afresh"
cmake --preset "$preset" "$@" --fresh
