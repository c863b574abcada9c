#!/usr/bin/env bash
# Runs each fuzz target in turn for the given number of seconds (default 600)
# on a scratch copy of its seed corpus under build-fuzz/fuzz-run/, at the
# lowest scheduling priority, and prints one summary line per target.
# Exits non-zero when a target found something; its inputs are kept in
# build-fuzz/fuzz-run/<target>/artifacts/.
#
#   cmake --preset fuzz && ninja -C build-fuzz && fuzz/run.sh 600
#
# Environment: BUILD_DIR (default build-fuzz), NICE (default 19),
# TARGETS (default both targets).
set -u

seconds=${1:-600}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-fuzz}
nice_level=${NICE:-19}
targets=${TARGETS:-"fuzz_frame_assembler fuzz_reply_parsing"}

declare -A max_len=([fuzz_frame_assembler]=1024 [fuzz_reply_parsing]=2048)

status=0
summary=()
for target in $targets; do
    bin="$build/fuzz/$target"
    if [[ ! -x "$bin" ]]; then
        echo "missing $bin: build with 'cmake --preset fuzz && ninja -C build-fuzz'" >&2
        exit 2
    fi
    work="$build/fuzz-run/$target"
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/artifacts"
    cp "$root/fuzz/corpus/$target/"* "$work/corpus/"
    log="$work/fuzz.log"

    echo "== $target: ${seconds} s, corpus $work/corpus, log $log"
    start=$(date +%s)
    nice -n "$nice_level" "$bin" "$work/corpus" \
        -max_total_time="$seconds" -max_len="${max_len[$target]:-2048}" -timeout=25 \
        -print_final_stats=1 -artifact_prefix="$work/artifacts/" >"$log" 2>&1
    rc=$?
    elapsed=$(( $(date +%s) - start ))

    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    if [[ -z "$execs" ]]; then
        execs=$(grep -o '^#[0-9]*' "$log" | tail -n 1 | tr -d '#')
    fi
    findings=$(find "$work/artifacts" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | wc -l)
    units=$(find "$work/corpus" -type f | wc -l)
    line="$target: ${execs:-0} executions in ${elapsed} s, corpus ${units} inputs, ${findings} findings (exit ${rc})"
    summary+=("$line")
    echo "$line"
    if (( rc != 0 || findings > 0 )); then
        status=1
        grep -m 5 -E 'ERROR: |SUMMARY: |deadly signal|Test unit written' "$log" || true
    fi
done

echo "== summary"
printf '%s\n' "${summary[@]}"
exit $status
