#!/usr/bin/env bash
# Fails when a PE file is not 32-bit or imports a DLL outside the Windows system set.
set -euo pipefail
file=$1
want_subsystem=${2:-}
dump=$(i686-w64-mingw32-objdump -p "$file")
grep -q '^Magic[[:space:]]*010b' <<<"$dump" || { echo "$file: not PE32" >&2; exit 1; }
if [ -n "$want_subsystem" ]; then
  grep -q "^Subsystem[[:space:]]*0000000$want_subsystem" <<<"$dump" ||
    { echo "$file: subsystem is not $want_subsystem" >&2; exit 1; }
fi
allowed='^(kernel32|user32|gdi32|advapi32|msvcrt|shell32|comctl32|ole32|oleaut32|uxtheme|version|ntdll|shlwapi)\.dll$'
bad=0
while read -r dll; do
  if ! tr 'A-Z' 'a-z' <<<"$dll" | grep -Eq "$allowed"; then
    echo "$file: imports $dll, which is not a system DLL" >&2
    bad=1
  fi
done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump")
exit $bad
