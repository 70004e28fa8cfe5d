#!/usr/bin/env bash
# Builds the shipped program a second time, from a copy of the source in another folder
# (build/again/src, built there with the same preset), and checks that it has the same bytes as the
# first build. Shows where they differ when they do. The copy is kept when they differ.
# Usage: check-reproducible.sh [PROGRAM] (the first build's program; build/i686/Timrose.exe by default)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
first=$(realpath "${1:-build/i686/Timrose.exe}")
again=$root/build/again
rm -rf "$again"
mkdir -p "$again/src"
# The source as it stands, committed or not, without the build folders, the shipped copy or Git's.
tar -C "$root" --exclude=./build --exclude=./dist --exclude=./out --exclude=./.git -cf - . | tar -C "$again/src" -xf -
cd "$again/src"
bash scripts/build.sh i686 || { echo "the second build failed"; exit 1; }
second=$again/src/build/i686/Timrose.exe
if cmp -s "$first" "$second"; then
  echo "$first and $second are the same:"
  sha256sum "$first" "$second"
  rm -rf "$again"
  exit 0
fi
echo "$first and $second differ (offset, first byte, second byte; octal):"
cmp -l "$first" "$second" | head -n 20 || true
echo "bytes that differ: $(cmp -l "$first" "$second" | wc -l); sizes $(stat -c %s "$first") and $(stat -c %s "$second")"
diff <(x86_64-w64-mingw32-objdump -p -h "$first") <(x86_64-w64-mingw32-objdump -p -h "$second") | head -n 40 || true
exit 1
