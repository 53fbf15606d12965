#!/usr/bin/env bash
# Fails when the toolchain's objects a link pulled in (from its lld map) differ from a recorded list:
# the runtime replacements in runtime/ are tied to what those objects hold.
# usage: check-linked-objects.sh MAP RECORDED        compare
#        check-linked-objects.sh MAP                 print the list, to record it
set -euo pipefail
map=$1
recorded=${2:-}
# Every input the map names, less the link-time-optimised object of our own code and the import stubs
# (which follow the system functions our code calls, not the toolchain).
linked=$(grep -oE '[^ /]+\.o:\(' "$map" | sed 's/:($//' | sort -u |
  grep -vE '\.lto\.o$|^lib[a-z0-9_]+(s[0-9]+|h|t)\.o$' || true)
if [ -z "$recorded" ]; then
  echo "# The toolchain's objects in the exe's link (tools/check-linked-objects.sh writes the list)."
  printf '%s\n' "$linked"
  exit 0
fi
if ! diff <(grep -v '^#' "$recorded") <(printf '%s\n' "$linked") >/dev/null; then
  echo "$map: the toolchain objects linked differ from $recorded (< recorded, > linked now):" >&2
  diff <(grep -v '^#' "$recorded") <(printf '%s\n' "$linked") | grep '^[<>]' >&2 || true
  cat >&2 <<MSG
Check that each replacement in runtime/ still replaces what runtime/README.md says (a library object
that now also defines one of its names, or one that no longer needs it), then record the list anew:
  $0 $map > $recorded
MSG
  exit 1
fi
echo "$map: $(printf '%s\n' "$linked" | wc -l) toolchain objects, as recorded"
