#!/usr/bin/env bash
# Configures one CMake preset and builds it, quietly:
#   scripts/build.sh [-B FOLDER] PRESET [TARGET...]      default: the preset's folder, all its targets
# A build folder keeps the compilers it was first configured with; when its preset has since named
# other ones, CMakeLists.txt stops, and the folder is configured afresh. The logs are
# configure-PRESET.log and build-PRESET.log in the logs folder beside the build folder (build/logs);
# on a failure the failing log's last lines are shown and the status is 1.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
usage() {
  echo "usage: scripts/build.sh [-B FOLDER] PRESET [TARGET...]" >&2
  exit 2
}
dir=
if [ "${1:-}" = -B ]; then
  [ -n "${2:-}" ] || usage
  dir=$(realpath -m "$2")
  shift 2
fi
[ -n "${1:-}" ] || usage
preset=$1
shift
args=()
[ -z "$dir" ] || args=(-B "$dir")
dir=${dir:-$root/build/$preset}
logdir=$(dirname "$dir")/logs
mkdir -p "$logdir"
configure_log=$logdir/configure-$preset.log
build_log=$logdir/build-$preset.log

failed() {
  tail -n 30 "$1" >&2
  echo "build: $preset failed (see $1)" >&2
  exit 1
}

if ! cmake --preset "$preset" "${args[@]}" >"$configure_log" 2>&1; then
  grep -q "configure it afresh" "$configure_log" || failed "$configure_log"
  echo "build: $preset configured afresh (its compilers changed)" >>"$configure_log"
  cmake --preset "$preset" "${args[@]}" --fresh >>"$configure_log" 2>&1 || failed "$configure_log"
fi
targets=()
[ $# -eq 0 ] || targets=(--target "$@")
cmake --build "$dir" "${targets[@]}" >"$build_log" 2>&1 || failed "$build_log"
