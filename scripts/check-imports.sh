#!/usr/bin/env bash
# Checks a Windows program: it imports only DLLs that every Windows has, and its header names
# Windows 7 (subsystem and OS version 6.1) and keeps DEP and ASLR (NX compatible, dynamic base with
# its relocations; the 64-bit program also high-entropy addresses).
# Usage: check-imports.sh EXE [32|64] (the bitness the program must have; 32 by default: the shipped one).
set -euo pipefail
exe=$1
bits=${2:-32}
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|shell32|advapi32|msvcrt|uxtheme)\.dll$'
header=$(x86_64-w64-mingw32-objdump -p "$exe")
dlls=$(sed -n 's/^\s*DLL Name: //p' <<<"$header" | tr 'A-Z' 'a-z')
[ -n "$dlls" ] || { echo "no imports found in $exe"; exit 1; }
echo "$exe imports:" $dlls
bad=$(grep -v -E "$allowed" <<<"$dlls" || true)
if [ -n "$bad" ]; then
  echo "not a system DLL: $bad"
  exit 1
fi

case $bits in
  32) magic=$'010b\t(PE32)' flags='DYNAMIC_BASE NX_COMPAT' ;;
  64) magic=$'020b\t(PE32+)' flags='HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT' ;;
  *) echo "bitness $bits: 32 or 64"; exit 1 ;;
esac
faults=0
field() { sed -n "s/^$1\s\+//p" <<<"$header"; }
expect() {
  local name=$1 want=$2 got
  got=$(field "$name")
  echo "$name $got"
  [ "$got" = "$want" ] || { echo "  expected $want"; faults=$((faults + 1)); }
}
expect Magic "$magic"
expect MajorOSystemVersion 6
expect MinorOSystemVersion 1
expect MajorSubsystemVersion 6
expect MinorSubsystemVersion 1
# objdump names every flag the DllCharacteristics field carries on its own line below it.
for flag in $flags; do
  if grep -q -E "^\s+$flag\$" <<<"$header"; then
    echo "DllCharacteristics $flag"
  else
    echo "DllCharacteristics lacks $flag"
    faults=$((faults + 1))
  fi
done
# A dynamic base without relocations could not move: the loader would have to refuse it or keep it in place.
relocs=$(sed -n 's/^Entry 5 [0-9a-f]\+ \([0-9a-f]\+\) Base Relocation Directory.*/\1/p' <<<"$header")
if [ -n "$relocs" ] && [ $((16#$relocs)) -gt 0 ]; then
  echo "Base relocations $((16#$relocs)) bytes"
else
  echo "no base relocations"
  faults=$((faults + 1))
fi
[ $faults = 0 ]
