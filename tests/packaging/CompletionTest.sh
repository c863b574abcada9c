#!/usr/bin/env bash
# The bash completion of halcyra offers the commands, sub-commands, options
# and files of the program it completes for. Arguments: the completion
# script, the bin folder.
set -euo pipefail
source /usr/share/bash-completion/bash_completion
source "$1"
export PATH="$2:$PATH"

offered() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _halcyra
    echo "${COMPREPLY[*]}"
}
expect() {
    local want=$1
    shift
    local got
    got=$(offered "$@")
    if [[ " $got " != *" $want "* ]]; then
        echo "completing '$*': expected '$want' among '$got'" >&2
        exit 1
    fi
}
refuse() {
    local unwanted=$1
    shift
    local got
    got=$(offered "$@")
    if [[ " $got " == *" $unwanted "* ]]; then
        echo "completing '$*': did not expect '$unwanted' among '$got'" >&2
        exit 1
    fi
}

expect save-setup halcyra sa
expect --simulator halcyra --sim
expect --sim-drop halcyra --simulator --sim-dr
expect faults halcyra --simulator --sim-drop 5 fa
expect --report halcyra faults --
expect diagnostics halcyra pages d
expect status halcyra log st
expect --csv halcyra diag "Steering Angle" --c
refuse --count halcyra diag "Steering Angle" --count 3 --c

expect install-report halcyra ins
expect --installer halcyra install-report report.pdf --inst
expect --customer halcyra install-report report.pdf --cu
if [[ -n $(offered halcyra install-report report.pdf --installer A) ]]; then
    echo "completing a name after --installer: expected nothing" >&2
    exit 1
fi

# Where a file is due, the files there.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
touch "$scratch/angle-run.csv"
cd "$scratch"
expect angle-run.csv halcyra diag "Steering Angle" --csv ang
expect angle-run.csv halcyra save-setup an
refuse angle-run.csv halcyra diag "Steering Angle" --count an
echo "completion offers what halcyra's command table names"
