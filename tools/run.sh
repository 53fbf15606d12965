#!/usr/bin/env bash
# Builds the program and starts it under Wine, passing on its arguments (e.g. /L=DEU).
# With a display ($DISPLAY) the window shows there until it is closed; without one the program runs
# on a private Xvfb display, a screenshot is saved, and the program is closed again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/bootstrap.sh
cmake --preset windows >/dev/null
cmake --build --preset windows --target attente modules >/dev/null

root=build/windows/wine-run
exe=build/windows/dist/attente.exe
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  ATTENTE_USE_DISPLAY=1 tools/wine-run.sh --root "$root" "$exe" "$@"
  exit $?
fi

trap 'tools/wine-run.sh --root "$root" --stop' EXIT
display=$(tools/wine-run.sh --root "$root" --display)
tools/wine-run.sh --root "$root" "$exe" "$@" &
program=$!
sleep "${ATTENTE_SCREENSHOT_DELAY:-3}"
shot=build/screenshot.png
DISPLAY=$display xwd -root -silent | convert xwd:- "$shot"
echo "No display: the program ran on Xvfb $display; screenshot saved to $(pwd)/$shot"
kill "$program" 2>/dev/null || true
wait "$program" 2>/dev/null || true
