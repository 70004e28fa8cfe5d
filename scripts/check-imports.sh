#!/usr/bin/env bash
# Checks that an executable imports only DLLs that every Windows has.
set -euo pipefail
exe=$1
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|shell32|advapi32|msvcrt|uxtheme)\.dll$'
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "no imports found in $exe"; exit 1; }
echo "$exe imports:" $dlls
bad=$(grep -v -E "$allowed" <<<"$dlls" || true)
if [ -n "$bad" ]; then
  echo "not a system DLL: $bad"
  exit 1
fi
file "$exe" | grep -q 'PE32 executable' || { echo "$exe is not a 32-bit PE"; exit 1; }
