#!/usr/bin/env bash
# Fails when a README snippet is not its file's own text. A snippet is the indented block after a mark
# <!-- snippet: PATH -->; each of its lines but "..." must stand in PATH (relative to the README), in
# the same order, indentation aside. Scripts for cmd (.cmd) are read in code page 866, the one the example is saved in.
# usage: check-readme-snippets.sh README.md
set -euo pipefail
readme=$1
root=$(cd "$(dirname "$readme")" && pwd)
blocks=$(mktemp -d)
trap 'rm -rf "$blocks"' EXIT

# One file per snippet: its target path on the first line, then its lines without the indent.
awk -v out="$blocks" '
  match($0, /<!-- snippet: [^ ]+ -->/) {
    n++; file = out "/" n; print substr($0, RSTART + 14, RLENGTH - 18) > file; inblock = 1; started = 0; next
  }
  inblock && /^$/ { if (started) inblock = 0; next }
  inblock && /^    / { started = 1; print substr($0, 5) > file; next }
  inblock { inblock = 0 }
' "$readme"

count=0
for block in "$blocks"/*; do
  [ -e "$block" ] || break
  target=$(head -n1 "$block")
  [ -f "$root/$target" ] || { echo "$readme: snippet of missing file $target" >&2; exit 1; }
  case "$target" in *.cmd) decode=(iconv -f CP866 -t UTF-8) ;; *) decode=(cat) ;; esac
  if ! tail -n +2 "$block" | awk -v target="$target" '
      { sub(/\r$/, ""); sub(/^[ \t]+/, ""); sub(/[ \t]+$/, "") }
      NR == FNR { lines[++total] = $0; next }
      $0 == "..." { next }
      {
        while (at < total && lines[++at] != $0) {}
        if (lines[at] != $0) { printf "README snippet of %s: not in the file, in this order: %s\n", target, $0; bad = 1; exit }
      }
      END { exit bad }
    ' <("${decode[@]}" <"$root/$target") -; then
    exit 1
  fi
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { echo "$readme: no snippets found" >&2; exit 1; }
echo "$count README snippets match their files"
