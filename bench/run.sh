#!/usr/bin/env bash
# Start-up time and memory of the release exe against the minimal window program, started in turn
# under the same Wine and display, as ratios of medians; then the sizes of the shipped files.
# Reported, never asserted.  usage: bash bench/run.sh [RUNS]   (default 30)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-30}
out=$root/build/bench
mkdir -p "$out"

bash "$root/tools/release.sh" >/dev/null
cc=i686-w64-mingw32-gcc-posix
"$cc" -Os -s -Wall -Wextra -mwindows -o "$out/minimal.exe" "$root/bench/minimal.c"
"$cc" -Os -s -Wall -Wextra -o "$out/StartupBench.exe" "$root/bench/StartupBench.c" -lpsapi -lgdi32
# The program under its release name beside its modules, as an installer ships it.
cp "$root"/build/release/stage/attente.* "$out"/

run=("$root/tools/wine-run.sh" --root "$out/wine")
trap '"${run[@]}" --stop >/dev/null 2>&1 || true' EXIT
winpath() { echo "Z:${1//\//\\}"; }
echo "start-up to the painted window and peak working set, medians of $runs alternating runs:"
LC_ALL=fr_FR.UTF-8 "${run[@]}" "$out/StartupBench.exe" "$runs" \
  "\"$(winpath "$out/minimal.exe")\"" "\"$(winpath "$out/attente.exe")\"" \
  "\"$(winpath "$out/attente.exe")\" /L=DEU" 2> >(grep -v '^[0-9a-f]*:fixme:' >&2)

echo "sizes (bytes):"
for f in "$out/minimal.exe" "$out"/attente.*; do printf '  %-14s %8d\n' "$(basename "$f")" "$(stat -c %s "$f")"; done
