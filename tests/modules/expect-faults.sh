#!/usr/bin/env bash
# Runs the module checker on one module and compares its verdict with the expected one.
# Usage: expect-faults.sh MODCHECK MODULE TRUNCATE_TO EXPECTED...
#   TRUNCATE_TO: 0 to check the module as built, N to check a copy cut to its first N bytes, zero to
#   check a copy whose resource name TFORM1Z ends in a zero unit instead of its Z.
#   EXPECTED: lines the checker must print; none means the module must pass.
set -uo pipefail
modcheck=$1 module=$2 truncate_to=$3
shift 3
if [ "$truncate_to" != 0 ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    if [ "$truncate_to" = zero ]; then
        # The name is stored as UTF-16: its length, then its units.
        perl -0777 -pe 's/\x07\0T\0F\0O\0R\0M\0001\0Z\0/\x07\0T\0F\0O\0R\0M\0001\0\0\0/ or die "no TFORM1Z\n"' \
            "$module" >"$work/$(basename "$module")" || exit 1
    else
        head -c "$truncate_to" "$module" >"$work/$(basename "$module")"
    fi
    module=$work/$(basename "$module")
fi
output=$("$modcheck" "$module" 2>&1)
status=$?
printf '%s\n' "$output"
want=$([ $# -eq 0 ] && echo 0 || echo 1)
[ "$status" = "$want" ] || { echo "exit status $status, expected $want" >&2; exit 1; }
for line in "$@"; do
    grep -qF -- "$line" <<<"$output" || { echo "missing: $line" >&2; exit 1; }
done
