#!/usr/bin/env bash
# Fails when a PE file, without its symbols as it ships, is larger than the given number of bytes.
# usage: check-size.sh FILE MAX_BYTES
set -euo pipefail
file=$1
max=$2
stripped=$(mktemp)
trap 'rm -f "$stripped"' EXIT
i686-w64-mingw32-strip -o "$stripped" "$file"
size=$(stat -c %s "$stripped")
echo "$file: $size bytes without symbols, ceiling $max"
[ "$size" -le "$max" ] || { echo "$file: larger than $max bytes" >&2; exit 1; }
