#!/usr/bin/env bash
# The release exe as it ships (all modules beside it) against the minimal window program, started in
# turn under one Wine and one display: start-up to the visible and to the painted window, peak working
# set at the paint and once up; medians, quartiles and ratios. Then the program's own timestamps of its
# start-up steps, what the language table's locale queries cost, and the sizes of the shipped files.
# Reported, never asserted.  usage: bash bench/run.sh [RUNS]   (default 21)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-21}
out=$root/build/bench
mkdir -p "$out"

bash "$root/tools/release.sh" >/dev/null
# The same exe with its start-up step timestamps, for the step-by-step comparison only.
bash "$root/tools/release.sh" --build-dir "$root/build/bench-trace" --bench-trace >/dev/null
cc=i686-w64-mingw32-gcc-posix
"$cc" -Os -s -Wall -Wextra -mwindows -I"$root/build/release/generated" -o "$out/minimal.exe" "$root/bench/minimal.c"
"$cc" -Os -s -Wall -Wextra -o "$out/StartupBench.exe" "$root/bench/StartupBench.c" -lpsapi -lgdi32
i686-w64-mingw32-g++-posix -std=c++20 -Os -s -Wall -Wextra -static -I"$root/base" -I"$root/localisation" \
  -o "$out/LocaleCost.exe" "$root/bench/LocaleCost.cpp" "$root/localisation/InitLangue.cpp" "$root/base/TextFormat.cpp" -lpsapi
# The program under its release name beside its modules, as an installer ships it.
rm -rf "$out"/attente.* "$out/traced"
cp "$root"/build/release/stage/attente.* "$out"/
mkdir -p "$out/traced"
cp "$root"/build/bench-trace/stage/attente.* "$out/traced"/

# A display of its own with a white root: on a black one the frame's black corner would count as
# painted the moment the window is mapped.
rm -f "$out/xvfb.display"
(exec 3>"$out/xvfb.display"; exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -wr -nolisten tcp -noreset \
   >"$out/xvfb.log" 2>&1) &
xvfb=$!
for _ in $(seq 100); do [ -s "$out/xvfb.display" ] && break; sleep 0.1; done
export ATTENTE_USE_DISPLAY=1 DISPLAY=":$(tr -d '\n' <"$out/xvfb.display")"
run=("$root/tools/wine-run.sh" --root "$out/wine")
trap '"${run[@]}" --stop >/dev/null 2>&1 || true; kill $xvfb 2>/dev/null || true' EXIT
# A French system, as the figures are quoted for.
quiet() { env LC_ALL=fr_FR.UTF-8 "$@" 2> >(grep -v ':fixme:\|setlocale' >&2); }
winpath() { echo "Z:${1//\//\\}"; }
exe=$(winpath "$out/attente.exe")
"${run[@]}" --start

echo "== start-up and memory: medians [quartiles] of $runs alternating runs; ratios run by run to the minimal program"
quiet "${run[@]}" "$out/StartupBench.exe" "$runs" "\"$(winpath "$out/minimal.exe")\"" "\"$exe\"" "\"$exe\" /L=DEU"

echo "== start-up steps inside each program, alternating: ms since process creation, medians of $runs runs"
rm -f "$out/trace.txt"
ATTENTE_BENCH_TRACE=$(winpath "$out/trace.txt") quiet "${run[@]}" "$out/StartupBench.exe" "$runs" \
  "\"$(winpath "$out/minimal.exe")\"" "\"$(winpath "$out/traced/attente.exe")\"" >/dev/null
python3 - "$out/trace.txt" <<'PY'
import statistics, sys
lines = [dict(f.split("=") for f in line.split()) for line in open(sys.argv[1])]
for name, runs in (("minimal", lines[0::2]), ("attente", lines[1::2])):
    print(" ", name)
    previous = 0.0
    for step in runs[0]:
        ms = statistics.median(int(r[step]) for r in runs) / 1000
        print(f"    {step:<12} {ms:7.2f} ms  (+{ms - previous:.2f})")
        previous = ms
PY

echo "== the language table's locale queries (47 locales), one kind per process: median us, working set growth KiB"
kinds=(none abbrev name english native currency all all_acp)
for _ in $(seq 7); do
  for k in "${kinds[@]}"; do quiet "${run[@]}" "$out/LocaleCost.exe" "$k"; done
done | tr -d '\r' | python3 -c '
import statistics, sys
rows = {}
for line in sys.stdin:
    kind, us, kib = line.split()
    rows.setdefault(kind, []).append((float(us), float(kib)))
for kind, values in rows.items():
    print(f"  {kind:<9} {statistics.median(v[0] for v in values):8.0f} us {statistics.median(v[1] for v in values):8.0f} KiB")'

echo "== sizes (bytes)"
for f in "$out/minimal.exe" "$out/attente.exe"; do printf '  %-14s %8d\n' "$(basename "$f")" "$(stat -c %s "$f")"; done
modules=("$out"/attente.[A-Z]*)
printf '  %d modules, the largest %d\n' "${#modules[@]}" "$(stat -c %s "${modules[@]}" | sort -n | tail -1)"
