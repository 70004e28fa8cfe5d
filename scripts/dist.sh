#!/usr/bin/env bash
# Builds the shipped program (preset win32) and puts it in dist/ with its SHA-256 sum:
# dist/Timrose.exe and dist/SHA256SUMS (sha256sum's format; `sha256sum -c SHA256SUMS` checks it here,
# `certutil -hashfile Timrose.exe SHA256` on Windows). The program is the whole product: nothing else
# is shipped. Build logs go to build/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
mkdir -p build/logs
if ! { bash scripts/configure.sh win32 >build/logs/configure-win32.log 2>&1 &&
  cmake --build --preset win32 >build/logs/build-win32.log 2>&1; }; then
  tail -n 40 build/logs/configure-win32.log build/logs/build-win32.log
  echo "dist: the win32 build failed"
  exit 1
fi
# A program that imports more than Windows has, or whose header does not name Windows 7, is not shipped.
bash scripts/check-imports.sh build/win32/Timrose.exe
rm -rf dist
mkdir dist
cp build/win32/Timrose.exe dist/
(cd dist && sha256sum Timrose.exe >SHA256SUMS)
echo "dist/Timrose.exe: $(stat -c %s dist/Timrose.exe) bytes"
cat dist/SHA256SUMS
