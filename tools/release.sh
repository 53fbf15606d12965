#!/usr/bin/env bash
# Builds the release zip (the exe, every language module, README.md, LICENSE) so that the same commit
# always gives the same bytes: fixed file dates, a fixed order, no extra attributes in the archive.
# usage: tools/release.sh [--build-dir DIR] [--out ZIP]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/build/release
out=
while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) build_dir=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "release: unknown argument $1" >&2; exit 2 ;;
  esac
done
out=$(realpath -m "${out:-$build_dir/attente.zip}")

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DATTENTE_TESTS=OFF -DCMAKE_EXE_LINKER_FLAGS=-s >/dev/null
# Symbols go at link time (-s): a later strip would stamp the current time into the PE header.
cmake --build "$build_dir" -j2 --target attente modules >/dev/null

stage=$build_dir/stage
rm -rf "$stage"
mkdir -p "$stage"
cp "$build_dir"/dist/attente.* "$stage"/
cp "$root/README.md" "$root/LICENSE" "$stage"/

# The archive keeps Unix modes: make them independent of the umask.
chmod 0644 "$stage"/*
# Dates in a zip are local time with a 1980 floor: pin both the date and the zone.
find "$stage" -exec touch -h -d '1980-01-01 00:00:00 UTC' {} +
rm -f "$out"
mkdir -p "$(dirname "$out")"
(cd "$stage" && LC_ALL=C ls | LC_ALL=C sort | TZ=UTC zip -X -D -q "$out" -@)
echo "$out"
