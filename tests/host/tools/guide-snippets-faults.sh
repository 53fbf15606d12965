#!/usr/bin/env bash
# The guide's snippet check must fail on each drift below, made one at a time in a copy of the guide
# and its examples, and must pass on the untouched copy.
# usage: guide-snippets-faults.sh SOURCE_DIR
set -euo pipefail
src=$1
check=$src/tools/check-guide-snippets.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fresh_copy() {
  rm -rf "$work/copy" && mkdir -p "$work/copy"
  cp -r "$src/GUIDE.md" "$src/examples" "$work/copy"/
}
fresh_copy
bash "$check" "$work/copy/GUIDE.md" >/dev/null || { echo "faults: the untouched guide fails the check" >&2; exit 1; }

status=0
# name, then the command that makes the fault in the copy
while read -r name command; do
  fresh_copy
  before=$(cd "$work/copy" && cat GUIDE.md examples/* | sha256sum)
  (cd "$work/copy" && eval "$command") || true
  if [ "$(cd "$work/copy" && cat GUIDE.md examples/* | sha256sum)" = "$before" ]; then
    echo "faults: $name: the fault was not made" >&2; status=1; continue
  fi
  if bash "$check" "$work/copy/GUIDE.md" >"$work/log" 2>&1; then
    echo "faults: $name: the check passed" >&2; status=1
  fi
done <<'FAULTS'
wrong-line          sed -i 's/^    Name "Attente example"$/    Name "Attente sample"/' GUIDE.md
missing-line        sed -i '/^        <Media Id=/d' GUIDE.md
extra-line          sed -i 's/^    @echo off$/&\n    rem one line more/' GUIDE.md
missing-first-line  sed -i '/^    <?xml version=/d' GUIDE.md
missing-last-line   sed -i '/^    <\/Wix>$/d' GUIDE.md
extra-last-line     sed -i 's/^    exit \/b 0$/&\n    exit \/b 1/' GUIDE.md
missing-empty-line  sed -z -i 's/\n\n    Section "Uninstall"/\n    Section "Uninstall"/' GUIDE.md
wrong-indent        sed -i 's/^      SetOutPath/    SetOutPath/' GUIDE.md
lines-swapped       sed -z -i 's/\(\n    ping -n 2 127.0.0.1 >NUL\)\(\n    rem Closed[^\n]*\)/\2\1/' GUIDE.md
file-gained-line    sed -i 's/^<\/Wix>$/&\n<!-- one line more -->/' examples/attente.wxs
cmd-saved-as-utf8   iconv -f CP866 -t UTF-8 examples/install.cmd >cmd.utf8 && mv cmd.utf8 examples/install.cmd
missing-file        sed -i 's/<!-- snippet: examples\/attente.nsi -->/<!-- snippet: examples\/setup.nsi -->/' GUIDE.md
recipe-not-marked   sed -i '/<!-- snippet: examples\/attente.wxs -->/d' GUIDE.md
FAULTS
[ "$status" -eq 0 ] && echo "faults: the snippet check fails on every fault"
exit $status
