#!/usr/bin/env bash
# The manual page as `man -l` shows it names every generator and every option that the program's
# --help texts list:   man_page_test.sh path/to/vesko-script path/to/vesko-script.1
set -uo pipefail
program="$1"
shown="$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$2" 2>&1)" || { echo "FAIL: man -l $2: $shown"; exit 1; }

# The words that begin the lines of a help's Generators/Analysis lists, and its options.
listed() {
  awk '/^(Generators|Analysis):$/ { on = 1; next } /^$/ { on = 0 } on { print $1 }
       match($0, /^  +(-[A-Za-z], )?--[a-z0-9-]+/) { n = split(substr($0, 1, RLENGTH), w, /,? +/); print w[n] }'
}

missing=0
checked=0
commands="$("$program" --help | listed | grep -v '^-')"
for name in $({ "$program" --help; for command in $commands; do "$program" "$command" --help; done; } | listed | sort -u); do
  checked=$((checked + 1))
  if ! grep -qE "(^|[[:space:]])$name([[:space:],]|$)" <<<"$shown"; then
    echo "FAIL: the manual page does not show $name"
    missing=1
  fi
done
[[ $checked -gt 20 ]] || { echo "FAIL: only $checked names found in the --help texts"; exit 1; }
[[ $missing -eq 0 ]] && echo "manual page: all $checked generators and options shown"
exit $missing
