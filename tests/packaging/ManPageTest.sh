#!/usr/bin/env bash
# The man page of halcyra, as the build makes it from halcyra --help, names
# every command and every option of the command table. Arguments: help2man,
# the program, the page's include file.
set -euo pipefail
help2man=$1
program=$2
include=$3
page=$("$help2man" --no-info --no-discard-stderr --section=1 --include="$include" "$program")
# The man page as a reader sees it: no roff escapes left in the words.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' <<<"$page")

missing=0
while read -r command; do
    if ! grep -qw -- "$command" <<<"$text"; then
        echo "the man page does not name the command '$command'" >&2
        missing=1
    fi
done < <("$program" --complete "" | tail -n +2)
for option in --csv --count --interval --no-verify --report --records --json --port --simulator --sim-drop; do
    if ! grep -qF -- "$option" <<<"$text"; then
        echo "the man page does not name $option" >&2
        missing=1
    fi
done
[[ $missing == 0 ]]
grep -q '^\.SH PERMISSIONS' <<<"$page" || { echo "the included sections are missing" >&2; exit 1; }
echo "the man page names every command and option"
