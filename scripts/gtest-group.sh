#!/usr/bin/env bash
# CTest's command for a group of Windows tests run once more in another locale or zone:
#   scripts/gtest-group.sh PROGRAM FILTER      FILTER: GoogleTest patterns separated by ":"
# Runs the program under Wine (scripts/wine-run) with the filter, and fails also when a pattern selects
# no test, so that a renamed test cannot quietly drop out of its group.
set -uo pipefail
program=$1
filter=$2
out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$(dirname "$0")/wine-run" "$program" --gtest_filter="$filter" 2>&1 | tr -d '\r' >"$out"
status=${PIPESTATUS[0]}
cat "$out"
IFS=: read -ra patterns <<<"$filter"
for pattern in "${patterns[@]}"; do
  regex=$(sed 's/[][\.^$+(){}|]/\\&/g; s/\*/.*/g; s/?/./g' <<<"$pattern")
  if ! grep -qE "^\[ RUN      \] ($regex)\$" "$out"; then
    echo "gtest-group: no test matches $pattern"
    status=1
  fi
done
exit "$status"
