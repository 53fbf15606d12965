#!/usr/bin/env bash
# Fails when the guide's table of requests differs from the program's (app/Requests.def): every
# request a row, in the same order, with its switch, WM_COPYDATA code and longest value, whether a
# start takes it, and its exit codes; no row the program lacks.
# usage: check-guide-requests.sh GUIDE.md app/Requests.def
set -euo pipefail
guide=$1
table=$2

# switch|code|units|at start|codes, from lines ATTENTE_REQUEST(Name, "/SWITCH", 0x..., units, Value, bool, "codes")
expected=$(sed -n 's/^ATTENTE_REQUEST(\([A-Za-z]*\), *"\([^"]*\)", *\([0-9a-fA-Fx]*\), *\([0-9]*\), *[A-Za-z]*, *\([a-z]*\), *"\([^"]*\)")$/\2|\3|\4|\5|\6/p' "$table")
[ -n "$expected" ] || { echo "$table: no ATTENTE_REQUEST rows" >&2; exit 1; }

# The table after the mark: switch (first code span of the first cell)|dwData and "at most N"|start|codes
found=$(awk '
  /<!-- requests: / { inblock = 1; next }
  inblock && /^\| *`/ {
    n = split($0, cells, "|")
    sw = cells[2]; sub(/^ *`"?/, "", sw); sub(/[=<`].*/, "", sw)
    code = "0"; if (match(cells[3], /0x[0-9a-fA-F]+/)) code = substr(cells[3], RSTART, RLENGTH)
    units = "0"; if (match(cells[3], /at most [0-9]+/)) units = substr(cells[3], RSTART + 8, RLENGTH - 8)
    start = (cells[4] ~ /^ *yes/) ? "true" : "false"
    codes = cells[5]; gsub(/^ +| +$/, "", codes)
    print sw "|" code "|" units "|" start "|" codes; next
  }
  inblock && /^$/ && seen { exit }
  inblock && /^\|/ { seen = 1 }
' "$guide")

if [ "$expected" != "$found" ]; then
  echo "$guide: the table of requests differs from $table" >&2
  diff <(echo "$expected") <(echo "$found") >&2 || true
  exit 1
fi
echo "$(echo "$expected" | wc -l) requests in $(basename "$guide") match $table"
