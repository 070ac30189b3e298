#!/usr/bin/env bash
# Part of bench/program.sh: the program on the real backend (hidraw, libudev) against
# xk-r40-vmouse's FUSE-served hidraw nodes, in namespaces of its own. Prints, one a line, the
# microseconds from each press of the mouse's button 9 to the macro's first report.
# usage: bench/hidraw-latency.sh BIN_DIR APP_DIR PRESSES   (as root; DISPLAY set)
set -euo pipefail
bin=$1 app=$2 presses=$3
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/desktop.sh"
. "$root/scripts/lib/hidraw-namespace.sh"
if [ -z "${XK_BENCH_HIDRAW_NS:-}" ]; then
    XK_BENCH_HIDRAW_NS=1 exec "${xk_hidraw_unshare[@]}" bash "$0" "$@"
fi
xk_hidraw_namespace_prepare

work=$(mktemp -d)
socket=$work/vmouse.sock
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

"$bin/xk-r40-vmouse" --socket "$socket" serve --hidraw /dev --log "$work/reports.log" >/dev/null 2>&1 &
pids+=("$!")
xk_wait_vmouse "$bin/xk-r40-vmouse" "$socket"
"$app/xk-r40" --hidden >/dev/null 2>&1 &
pids+=("$!")
for _ in $(seq 1 100); do
    [ "$(grep -c ' feature ' "$work/reports.log")" -gt 17 ] && break
    sleep 0.1
done
sleep 1

vm() { "$bin/xk-r40-vmouse" --socket "$socket" "$@" >/dev/null; }
mark=$(wc -l <"$work/reports.log")
for _ in $(seq 1 "$presses"); do
    vm press 9
    vm release 9
    sleep 0.1
done
sleep 0.5
tail -n +"$((mark + 1))" "$work/reports.log" | awk '
    $2 == "input" && $3 == "06" && $4 == "f9" && $5 == "01" { t = $1; next }
    $2 == "feature" && $4 == "15" && t != "" { print $1 - t; t = "" }'
