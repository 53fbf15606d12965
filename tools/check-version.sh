#!/usr/bin/env bash
# Fails unless a built PE file's version resource names the given version, in its numbers and its
# texts, and its translation names the given language (hex, e.g. 0x407).
# usage: check-version.sh FILE VERSION LANGID
set -euo pipefail
file=$1
version=$2
langid=$3
IFS=. read -r major minor patch <<<"$version"
resource=$(i686-w64-mingw32-windres -i "$file" -O rc 2>/dev/null | sed -n '/VERSIONINFO/,$p')
[ -n "$resource" ] || { echo "$file: no version resource" >&2; exit 1; }
status=0
expect() {
  grep -qF -- "$1" <<<"$resource" || { echo "$file: version resource lacks: $1" >&2; status=1; }
}
expect "FILEVERSION $major, $minor, $patch, 0"
expect "PRODUCTVERSION $major, $minor, $patch, 0"
expect "VALUE \"FileVersion\", \"$version\""
expect "VALUE \"ProductVersion\", \"$version\""
expect "VALUE \"OriginalFilename\", \"$(basename "$file")\""
expect "VALUE \"Translation\", $langid, 1200"
[ "$status" -eq 0 ] && echo "$file: version $version, language $langid"
exit $status
