#!/usr/bin/env bash
# Fails unless the README's table of shipped modules names exactly the modules of the language list,
# each with the language the list gives it: the table is written by hand, the list drives the build.
# usage: check-readme-languages.sh README.md resources/languages.txt
set -euo pipefail
readme=$1
list=$2
# From the list: "MODULE LANGUAGE", one a line.
listed=$(awk '!/^#/ && NF >= 2 { print $1, $2 }' "$list" | LC_ALL=C sort)
# From the table under "### Shipped modules": each "`attente.MODULE` | Name (LANGUAGE" cell pair.
tabled=$(awk '/^### Shipped modules/ { on = 1; next } on && /^#/ { on = 0 } on && /^\|/' "$readme" |
  grep -o '`attente\.[A-Z]*` | [^|(]*([A-Z]*' | sed 's/^`attente\.\([A-Z]*\)`.*(\([A-Z]*\)$/\1 \2/' |
  LC_ALL=C sort)
if [ "$listed" != "$tabled" ]; then
  echo "README's shipped modules differ from $list (< list, > README):" >&2
  diff <(echo "$listed") <(echo "$tabled") | grep '^[<>]' >&2
  exit 1
fi
echo "README's table names the $(echo "$listed" | wc -l) modules of $list"
