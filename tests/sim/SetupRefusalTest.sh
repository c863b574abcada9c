#!/usr/bin/env bash
# halcyra-sim --setup with a file that is no setup: it refuses to start,
# says why and exits with 2. Argument: the halcyra-sim program.
set -uo pipefail
sim=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
failed=0

refused() {
    local file=$1 want=$2 out status
    out=$(timeout 5 "$sim" --setup "$file" 2>&1 </dev/null)
    status=$?
    if [[ $status -ne 2 || $out != "halcyra-sim: setup file $file$want" ]]; then
        echo "--setup $file: exit $status, said: $out"
        failed=1
    fi
}

: >"$dir/empty.cfg"
printf '\213\037\363\002\377' >"$dir/random.cfg"
printf 'vms: "A"\r\nv\0t: 5\r\n' >"$dir/nul.cfg"
printf 'a setup\r\nwithout records\r\n' >"$dir/none.cfg"
mkfifo "$dir/fifo.cfg"

refused "$dir" ": it is not a regular file"
refused "$dir/fifo.cfg" ": it is not a regular file"
refused "$dir/missing.cfg" ": No such file or directory"
refused "$dir/empty.cfg" ": it is empty"
refused "$dir/random.cfg" ", line 1 holds the control character 0x1F at character 2: this is no parameter text file"
refused "$dir/nul.cfg" ", line 2 holds the control character 0x00 at character 2: this is no parameter text file"
refused "$dir/none.cfg" ", no line holds a parameter (NAME: VALUE)"
exit $failed
