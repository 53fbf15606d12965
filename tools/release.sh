#!/usr/bin/env bash
# Builds the release zip so that the same commit always gives the same bytes: fixed file dates, a fixed
# order, fixed modes, no extra attributes in the archive. At its top the exe, every language module,
# README.md, GUIDE.md, LICENSE and CHANGELOG.md; examples/ with the guide's recipes as saved;
# docs/images/ with the pictures GUIDE.md shows. Signs the exe and the modules when given a certificate,
# and writes SHA256SUMS beside the zip (each file by its path in the zip, then the zip).
# usage: tools/release.sh [--build-dir DIR] [--out ZIP] [--bench-trace]
#   --bench-trace: the exe times its start-up steps for bench/run.sh (not a build to ship)
# Signing (Authenticode, by osslsigncode), from the environment only, never the command line:
#   ATTENTE_SIGN_PKCS12         the PKCS#12 file (certificate and key)
#   ATTENTE_SIGN_PASSWORD_FILE  a file holding its password, or ATTENTE_SIGN_PASSWORD the password
#   ATTENTE_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamping service (optional)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=$root/build/release
out=
trace=OFF
while [ $# -gt 0 ]; do
  case $1 in
    --bench-trace) trace=ON; shift ;;
    --build-dir) build_dir=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "release: unknown argument $1" >&2; exit 2 ;;
  esac
done

cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=MinSizeRel -DATTENTE_TESTS=OFF -DATTENTE_BENCH_TRACE=$trace -DCMAKE_EXE_LINKER_FLAGS=-s >/dev/null
# Symbols go at link time (-s): a later strip would stamp the current time into the PE header.
cmake --build "$build_dir" -j2 --target attente modules >/dev/null
version=$(sed -n 's/^#define ATTENTE_VERSION_TEXT "\(.*\)"$/\1/p' "$build_dir/generated/Version.h")
[ -n "$version" ] || { echo "release: no version in $build_dir/generated/Version.h" >&2; exit 1; }
out=$(realpath -m "${out:-$build_dir/attente-$version.zip}")

stage=$build_dir/stage
rm -rf "$stage"
mkdir -p "$stage"
cp "$build_dir"/dist/attente.* "$stage"/
cp "$root/README.md" "$root/GUIDE.md" "$root/LICENSE" "$root/CHANGELOG.md" "$stage"/
mkdir -p "$stage/examples"
cp "$root"/examples/* "$stage/examples"/
# The pictures the guide shows, at the paths it shows them by.
for image in $(grep -o '](docs/images/[^)]*\.png)' "$root/GUIDE.md" | sed 's/^](//; s/)$//' | LC_ALL=C sort -u); do
  mkdir -p "$stage/$(dirname "$image")"
  cp "$root/$image" "$stage/$image"
done

if [ -n "${ATTENTE_SIGN_PKCS12:-}" ]; then
  command -v osslsigncode >/dev/null || { echo "release: signing needs osslsigncode" >&2; exit 1; }
  password_file=${ATTENTE_SIGN_PASSWORD_FILE:-}
  if [ -z "$password_file" ]; then
    [ -n "${ATTENTE_SIGN_PASSWORD+set}" ] || { echo "release: no password for $ATTENTE_SIGN_PKCS12" >&2; exit 1; }
    # Through a private file: a password on osslsigncode's command line would show in the process list.
    password_file=$(mktemp)
    trap 'rm -f "$password_file"' EXIT
    printf '%s' "$ATTENTE_SIGN_PASSWORD" >"$password_file"
  fi
  timestamp=()
  [ -n "${ATTENTE_SIGN_TIMESTAMP_URL:-}" ] && timestamp=(-ts "$ATTENTE_SIGN_TIMESTAMP_URL")
  for file in "$stage"/attente.*; do
    osslsigncode sign -pkcs12 "$ATTENTE_SIGN_PKCS12" -readpass "$password_file" -h sha256 \
      -n "Attente $version" "${timestamp[@]}" -in "$file" -out "$file.signed" >/dev/null
    mv "$file.signed" "$file"
  done
fi

# The archive keeps Unix modes: make them independent of the umask.
find "$stage" -type f -exec chmod 0644 {} +
find "$stage" -type d -exec chmod 0755 {} +
# Dates in a zip are local time with a 1980 floor: pin both the date and the zone.
find "$stage" -exec touch -h -d '1980-01-01 00:00:00 UTC' {} +
rm -f "$out"
mkdir -p "$(dirname "$out")"
# Files only (-D: no folder entries), every path relative and sorted.
files=$(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
(cd "$stage" && echo "$files" | TZ=UTC zip -X -D -q "$out" -@)
# Each file as it lies in the zip, and the zip itself.
(cd "$stage" && LC_ALL=C sha256sum $files) >"$(dirname "$out")/SHA256SUMS"
(cd "$(dirname "$out")" && sha256sum "$(basename "$out")") >>"$(dirname "$out")/SHA256SUMS"
echo "$out"
