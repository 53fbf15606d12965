#!/usr/bin/env bash
# Fails unless the release zip holds what an installer author reads: README.md, GUIDE.md, LICENSE,
# CHANGELOG.md and attente.exe, every file of examples/ byte for byte, and every file GUIDE.md links to
# by a relative path (links and images; not http:, not #anchors). SHA256SUMS beside the zip must list
# exactly the zip's files, by their paths in it, and the zip.
# usage: check-release-contents.sh ZIP SOURCE_DIR
set -euo pipefail
zip=$1
src=$2
sums=$(dirname "$zip")/SHA256SUMS
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
unzip -q "$zip" -d "$unpacked"
status=0
missing() { echo "release contents: $1" >&2; status=1; }

for name in README.md GUIDE.md LICENSE CHANGELOG.md attente.exe; do
  [ -f "$unpacked/$name" ] || missing "no $name in the zip"
done
for example in "$src"/examples/*; do
  name=examples/$(basename "$example")
  cmp -s "$example" "$unpacked/$name" || missing "$name is not in the zip as it is in the sources"
done
# Link targets outside code blocks and code spans, without their anchors.
if [ -f "$unpacked/GUIDE.md" ]; then
  targets=$(grep -v '^    ' "$unpacked/GUIDE.md" | sed 's/`[^`]*`//g' | grep -o '\](\([^)]*\))' |
    sed 's/^](//; s/)$//; s/ .*//; s/#.*//' | grep -v '^$' | grep -Ev '^[a-z]+:' | LC_ALL=C sort -u || true)
  for target in $targets; do
    [ -f "$unpacked/$target" ] || missing "GUIDE.md links to $target, which is not in the zip"
  done
fi
in_zip=$(cd "$unpacked" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
listed=$(sed 's/^[0-9a-f]*  //' "$sums" | grep -vxF "$(basename "$zip")" | LC_ALL=C sort || true)
if [ "$in_zip" != "$listed" ]; then
  missing "SHA256SUMS does not list exactly the zip's files (< zip, > SHA256SUMS):"
  diff <(echo "$in_zip") <(echo "$listed") | grep '^[<>]' >&2 || true
fi
grep -qxF "$(cd "$(dirname "$zip")" && sha256sum "$(basename "$zip")")" "$sums" || missing "SHA256SUMS does not list the zip"
[ "$status" -eq 0 ] && echo "release contents: $(echo "$in_zip" | wc -l) files, the guide's links and recipes among them"
exit $status
