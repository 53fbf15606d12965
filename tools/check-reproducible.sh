#!/usr/bin/env bash
# Builds the release twice, in two fresh build folders, and fails unless every shipped file and the
# zip itself are byte-identical: nothing from the clock or the build folder may reach the output.
# usage: tools/check-reproducible.sh WORK_DIR       (exit 77 = cannot run here, reported as skipped)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=${1:?work folder}
for tool in cmake ninja zip clang++ ld.lld i686-w64-mingw32-g++-posix i686-w64-mingw32-windres; do
  command -v "$tool" >/dev/null || { echo "reproducible: skipped, $tool is not installed"; exit 77; }
done

rm -rf "$work"
mkdir -p "$work"
for run in a b; do
  bash "$root/tools/release.sh" --build-dir "$work/build-$run" --out "$work/attente-$run.zip" >/dev/null
done

status=0
for file in "$work"/build-a/stage/*; do
  name=$(basename "$file")
  if ! cmp -s "$file" "$work/build-b/stage/$name"; then
    echo "reproducible: $name differs between the two builds" >&2
    cmp -l "$file" "$work/build-b/stage/$name" | head -5 >&2 || true
    status=1
  fi
done
cmp -s "$work/attente-a.zip" "$work/attente-b.zip" || { echo "reproducible: the zips differ" >&2; status=1; }
[ "$status" -eq 0 ] && echo "reproducible: $(ls "$work/build-a/stage" | wc -l) files and the zip are identical"
rm -rf "$work"
exit $status
