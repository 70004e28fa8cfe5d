#!/usr/bin/env bash
# Builds the shipped program (preset i686) and puts it in dist/ with its SHA-256 sum:
# dist/Timrose.exe and dist/SHA256SUMS (sha256sum's format; `sha256sum -c SHA256SUMS` checks it here,
# `certutil -hashfile Timrose.exe SHA256` on Windows). The program is the whole product: nothing else
# is shipped. Build logs go to build/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh i686 || exit 1
# A program that imports more than Windows has, or whose header does not name Windows 7, is not shipped.
bash scripts/check-imports.sh build/i686/Timrose.exe
rm -rf dist
mkdir dist
cp build/i686/Timrose.exe dist/
(cd dist && sha256sum Timrose.exe >SHA256SUMS)
echo "dist/Timrose.exe: $(stat -c %s dist/Timrose.exe) bytes"
cat dist/SHA256SUMS
