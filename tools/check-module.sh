#!/usr/bin/env bash
# Fails unless a language module is a PE32 file holding resources only: no entry point, no code, no
# imports, no exports. Such a module can be opened as data and never runs anything.
set -euo pipefail
file=$1
dump=$(i686-w64-mingw32-objdump -p "$file")
fail() { echo "$file: $*" >&2; exit 1; }
field() { sed -n "s/^$1[[:space:]]*//p" <<<"$dump" | head -n1; }
directory() { sed -n "s/^Entry $1 \([0-9a-f]*\) \([0-9a-f]*\) .*/\1 \2/p" <<<"$dump"; }

grep -q '^Magic[[:space:]]*010b' <<<"$dump" || fail "not PE32"
[ "$(field AddressOfEntryPoint)" = 00000000 ] || fail "has an entry point"
[ "$(field SizeOfCode)" = 00000000 ] || fail "has code"
[ "$(directory 0)" = "00000000 00000000" ] || fail "has an export directory"
[ "$(directory 1)" = "00000000 00000000" ] || fail "has an import directory"
! grep -q 'DLL Name:' <<<"$dump" || fail "imports a DLL"
[ "$(directory 2)" != "00000000 00000000" ] || fail "has no resources"
sections=$(i686-w64-mingw32-objdump -h "$file" | awk '$1 ~ /^[0-9]+$/ {print $2}' | tr '\n' ' ')
[ "$sections" = ".rsrc " ] || fail "holds sections other than .rsrc: $sections"
