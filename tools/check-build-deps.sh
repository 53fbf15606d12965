#!/usr/bin/env bash
# Fails when an object that embeds a resource file would not be rebuilt after that file changes:
# windres reports only what its preprocessor reads, so every embedded file (window descriptions,
# icon, manifest, version) must be a dependency of its own. Asks ninja's build graph of BUILD_DIR.
# usage: check-build-deps.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source=$2
status=0
# The files an output is rebuilt for: its explicit and implicit inputs (order-only ones are not), and
# what its depfile lists, which ninja reads when it loads (a description stream's base and pictures).
rebuilt_for() {
  ninja -C "$build" -t query "$1" 2>/dev/null | awk '/^  input:/ { on = 1; next } /^  outputs:/ { on = 0 }
    on && !/^    \|\|/ { sub(/^    (\| )?/, ""); print }'
  local depfile
  depfile=$(awk -v edge="build $1 " 'index($0, edge) == 1 { on = 1; next } on && /^$/ { exit }
    on && /^  depfile = / { print $3; exit }' "$build/build.ninja")
  if [ -n "$depfile" ] && [ -f "$depfile" ]; then
    # Continued lines joined, the target dropped, escaped spaces kept inside their path.
    sed -e ':a' -e '/\\$/{N;s/\\\n/ /;ba' -e '}' "$depfile" | sed 's/^[^:]*: *//; s/\\ /\x01/g' |
      tr ' ' '\n' | sed '/^$/d; s/\x01/ /g'
  fi
}
expect() { # OBJECT-PATTERN FILE...
  local object
  object=$(ninja -C "$build" -t targets all 2>/dev/null | sed -n "s|^\($1\): .*|\1|p" | head -n1)
  [ -n "$object" ] || { echo "build-deps: no object matches $1" >&2; status=1; return; }
  local inputs
  inputs=$(rebuilt_for "$object")
  shift
  for file in "$@"; do
    grep -qxF "$file" <<<"$inputs" || { echo "build-deps: $object is not rebuilt when $file changes" >&2; status=1; }
  done
}
# Outputs of the build are named relative to it.
forms=resources
expect 'app/CMakeFiles/attente.dir/.*attente\.rc\.res' "$forms/Form1.bin" "$source/resources/clock.ico" \
  "$source/resources/attente.manifest" "$source/resources/common-controls.manifest" "$source/resources/Version.rc"
expect 'resources/CMakeFiles/attente_module_DE.dir/.*DE\.rc\.res' "$source/resources/lang/DE.rc" \
  "$forms/lang/Western/Form1.bin" "$source/resources/Version.rc"
expect 'tests/wine/CMakeFiles/description_tests.dir/.*TestForms\.rc\.res' "$forms/Form1.bin"
# A module's description is based on the built-in one: editing that rebuilds every module's stream.
for stream in "$build/$forms"/lang/*/Form1.bin; do
  expect "${stream#"$build/"}" "$source/resources/Form1.form"
done
[ "$status" -eq 0 ] && echo "build-deps: every embedded resource file rebuilds what embeds it"
exit $status
