#!/usr/bin/env bash
# Runs a Windows binary under Wine in the build tree's private prefix, with a warm wineserver and an
# Xvfb display that are started on first use and shared by every test of the run.
#   wine-run.sh --root DIR program.exe [args...]   run a program
#   wine-run.sh --root DIR --start                 make sure prefix, server and display are up
#   wine-run.sh --root DIR --stop                  stop the server and the display
set -euo pipefail

[ "${1:-}" = --root ] || { echo "usage: wine-run.sh --root DIR ..." >&2; exit 2; }
root=$(mkdir -p "$2" && cd "$2" && pwd)
shift 2

export WINEPREFIX="$root/prefix" WINEARCH=win32 TMPDIR="$root/tmp"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
mkdir -p "$TMPDIR"
server=/usr/lib/wine/wineserver32
[ -x "$server" ] || server=/usr/lib/wine/wineserver64

alive() { [ -f "$1" ] && kill -0 "$(cat "$1")" 2>/dev/null; }

start_display() {
  alive "$root/xvfb.pid" && return
  local fd_file="$root/xvfb.display"
  rm -f "$fd_file"
  # -displayfd picks a free display number and reports it once the server accepts clients.
  (exec 3>"$fd_file"; exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
     >"$root/xvfb.log" 2>&1) &
  echo $! >"$root/xvfb.pid"
  for _ in $(seq 100); do [ -s "$fd_file" ] && break; sleep 0.1; done
  [ -s "$fd_file" ] || { echo "wine-run: Xvfb did not start" >&2; exit 1; }
}

start_server() {
  alive "$root/wineserver.pid" && return
  # -p keeps the server alive between programs; Debian's wrapper would force -p0.
  setsid "$server" -f -p >"$root/wineserver.log" 2>&1 &
  echo $! >"$root/wineserver.pid"
  sleep 0.3
}

ensure() {
  exec 9>"$root/lock"
  flock 9
  if [ -z "${ATTENTE_USE_DISPLAY:-}" ]; then
    start_display
    export DISPLAY=":$(tr -d '\n' <"$root/xvfb.display")"
  fi
  if [ ! -f "$WINEPREFIX/.attente-ready" ]; then
    # wineboot creates the prefix (and its own server) first, so later clients and our server agree
    # on the socket folder.
    wine wineboot -i >"$root/wineboot.log" 2>&1 || true
    "$server" -w || true
    start_server
    # No debugger: a crash ends the process with its exception code instead of hanging the run.
    wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /f \
      >/dev/null 2>&1 || true
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Auto /d 0 /f \
      >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.attente-ready"
  fi
  if [ ! -f "$WINEPREFIX/.attente-fonts" ]; then
    start_server
    # Windows draws Thai in Tahoma itself, in lines of 13 pixels at the label's size. Wine has no
    # Tahoma and takes the first face of the Thai character set, Garuda, whose lines are 21 pixels;
    # Tlwg Typo's are 14. Other scripts' substitutes are within a pixel already (DejaVu Sans and
    # WenQuanYi Micro Hei: 13).
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' /v 'Tahoma,222' \
      /d 'Tlwg Typo,222' /f >/dev/null 2>&1 || true
    touch "$WINEPREFIX/.attente-fonts"
  fi
  start_server
  flock -u 9
}

stop() {
  if alive "$root/wineserver.pid"; then
    # SIGINT shuts the server down in order; SIGTERM leaves service processes behind.
    kill -INT "$(cat "$root/wineserver.pid")" 2>/dev/null || true
    for _ in $(seq 50); do alive "$root/wineserver.pid" || break; sleep 0.1; done
  fi
  alive "$root/xvfb.pid" && kill "$(cat "$root/xvfb.pid")" 2>/dev/null || true
  rm -f "$root/wineserver.pid" "$root/xvfb.pid"
}

case "${1:-}" in
  --start) ensure ;;
  --stop) stop ;;
  --display) ensure; echo "$DISPLAY" ;;
  "") echo "wine-run: nothing to run" >&2; exit 2 ;;
  *)
    ensure
    # Wine may start long-lived helpers (the desktop, services) from this program; they inherit its
    # output, and ctest would wait for them to close it. So the program writes to files that are
    # passed on once it has ended.
    out=$(mktemp "$TMPDIR/run.XXXXXX")
    set +e
    wine "$@" >"$out.out" 2>"$out.err" </dev/null
    rc=$?
    set -e
    cat "$out.out"
    cat "$out.err" >&2
    rm -f "$out" "$out.out" "$out.err"
    exit $rc
    ;;
esac
