#!/usr/bin/env bash
# Fails unless each snippet of the guide is its file's whole text, and every file of examples/ has one.
# A snippet is the indented block after a mark <!-- snippet: PATH -->: without its four-space indent
# it must be PATH (relative to the guide) line for line, none missing, none extra; its blank lines are
# the file's empty ones. Scripts for cmd (.cmd) are read in code page 866, the one the example is saved in.
# usage: check-guide-snippets.sh GUIDE.md
set -euo pipefail
guide=$1
root=$(cd "$(dirname "$guide")" && pwd)
blocks=$(mktemp -d)
trap 'rm -rf "$blocks"' EXIT

# One file per snippet: its target path on the first line, then the block without its indent. The block
# ends at the first line neither blank nor indented; blank lines are kept only when more of it follows.
awk -v out="$blocks" '
  match($0, /<!-- snippet: [^ ]+ -->/) {
    n++; file = out "/" n; print substr($0, RSTART + 14, RLENGTH - 18) > file
    inblock = 1; started = 0; blanks = 0; next
  }
  inblock && /^ *$/ && length($0) < 4 { if (started) blanks++; next }
  inblock && /^    / { started = 1; for (; blanks > 0; blanks--) print "" > file; print substr($0, 5) > file; next }
  inblock { inblock = 0 }
' "$guide"

status=0
count=0
for block in "$blocks"/*; do
  [ -e "$block" ] || break
  target=$(head -n1 "$block")
  count=$((count + 1))
  [ -f "$root/$target" ] || { echo "$guide: snippet of missing file $target" >&2; status=1; continue; }
  case "$target" in *.cmd) decode=(iconv -f CP866 -t UTF-8) ;; *) decode=(cat) ;; esac
  if ! diff -u --label "$target" --label "$guide, snippet of $target" \
      <("${decode[@]}" <"$root/$target" | awk '{ sub(/\r$/, ""); print }') <(tail -n +2 "$block") >&2; then
    echo "$guide: the snippet of $target is not the file's whole text (- file, + guide)" >&2
    status=1
  fi
done
for example in "$root"/examples/*; do
  name=examples/$(basename "$example")
  grep -qF -- "<!-- snippet: $name -->" "$guide" || { echo "$guide: no snippet of $name" >&2; status=1; }
done
[ "$count" -gt 0 ] || { echo "$guide: no snippets found" >&2; exit 1; }
[ "$status" -eq 0 ] && echo "$count snippets in $(basename "$guide") are their files' whole text"
exit $status
