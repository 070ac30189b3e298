#!/usr/bin/env bash
# Fuzzes one target for a few seconds from a copy of its seed corpus (libFuzzer adds what it
# finds to the folder it is given). A finding fails the test with libFuzzer's whole report; its
# input stays in the working folder as crash-*, leak-*, oom-* or timeout-*.
# Usage: fuzz-briefly.sh TARGET CORPUS SECONDS
set -uo pipefail
target=$1 corpus=$2 seconds=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$corpus/." "$work/corpus"
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=1024 -print_final_stats=1 \
    -artifact_prefix="$PWD/$(basename "$target")-" "$work/corpus" >"$work/output" 2>&1
status=$?
if [ $status -ne 0 ]; then
    cat "$work/output"
else
    grep -E '^(Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::new_units_added)' "$work/output"
fi
exit $status
