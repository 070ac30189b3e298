#!/usr/bin/env bash
# The whole program as a person runs it: the release build of xk-r40 under Xvfb against
# xk-r40-vmouse, with a tray host. Prints one table: start to visible window, resident memory,
# idle wake-ups and CPU on each page shown and hidden, the latency from a button report to the
# macro's first report (beside xk_device_bench's figure from the same run), and how far a
# playing macro's reports lie from their delays.
#
# usage: bench/program.sh [PRESSES] [IDLE_SECONDS]   (defaults 500 and 10)
# Builds what it runs (release preset) first.
set -euo pipefail
presses=${1:-500}
idle=${2:-10}
root=$(cd "$(dirname "$0")/.." && pwd)
bin=$root/build/release/bin
(
    cd "$root"
    cmake --preset release >/dev/null
    cmake --build --preset release -j "$(nproc 2>/dev/null || echo 2)" \
        --target xk-r40 xk-r40-vmouse xk_data xk_device_bench >/dev/null
) || {
    echo "bench/program.sh: the release build failed; run: cmake --build --preset release" >&2
    exit 1
}
. "$root/scripts/lib/desktop.sh"

work=$(mktemp -d)
app=$work/app
socket=$work/vmouse.sock
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
cleanup() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    [ -n "${XK_BENCH_KEEP:-}" ] && echo "kept $work" >&2 || rm -rf "$work"
}
trap cleanup EXIT

mkdir "$app"
for f in xk-r40 config.ini constMacro.dat Macro_EN.dat Macro_CN.dat skins; do cp -r "$bin/$f" "$app/"; done
# The person's files, in a configuration folder of the run's own.
export XDG_CONFIG_HOME=$work/config
conf=$XDG_CONFIG_HOME/xk-r40
mkdir -p "$conf"
cp "$bin/config.ini" "$bin/Macro_CN.dat" "$conf/"

# Macro files hold each slot as 1064 bytes of three decimal digits: the UTF-16LE name (40
# bytes), repeat on, repeat count (2), event count, then per event the key (a virtual key),
# the action and the delay (little-endian ms).
# usage: slot NAME PASSES "VK ACTION DELAY ..." (NAME in capital letters)
slot() {
    awk -v name="$1" -v passes="$2" -v events="$3" 'BEGIN {
        n = split(events, e, " ")
        for (i = 0; i < 1064; i++) b[i] = 0
        for (i = 0; i < length(name) && i < 19; i++)
            b[2 * i] = 64 + index("ABCDEFGHIJKLMNOPQRSTUVWXYZ", substr(name, i + 1, 1))
        b[40] = passes > 1 ? 1 : 0; b[41] = passes % 256; b[42] = int(passes / 256); b[43] = n / 3
        for (k = 0; k < n / 3; k++) {
            b[44 + 4 * k] = e[3 * k + 1]; b[45 + 4 * k] = e[3 * k + 2]
            b[46 + 4 * k] = e[3 * k + 3] % 256; b[47 + 4 * k] = int(e[3 * k + 3] / 256)
        }
        for (i = 0; i < 1064; i++) printf "%03d", b[i]
    }'
}
# Macro 1: A pressed and released (the latency); macro 2: 24 events, three passes, delays of
# 15 to 50 ms (the timing).
timing_events=""
delays=(15 20 25 30 35 40 45 50 15 25 35 45 20 30 40 50 15 15 15 20 25 30 40 50)
for k in $(seq 0 23); do
    key=$((65 + k / 2))
    action=$((k % 2 + 1))
    timing_events+="$key $action ${delays[$k]} "
done
{
    printf '[Macros]\r\nmacroNum=2\r\n'
    printf '0=%s\r\n' "$(slot LATENCY 1 "65 1 15 65 2 15")"
    printf '1=%s\r\n' "$(slot TIMING 3 "$timing_events")"
} >"$conf/Macro_EN.dat"
# English, configuration 1; button 6 (the mouse's number 8) plays macro 2, button 7 (number 9)
# macro 1.
sed -i -e 's/^VER_SEL=.*/VER_SEL=1/' -e 's/^CurConfig=.*/CurConfig=1/' "$conf/config.ini"
sed -i -e '/^\[Config1\]/,/^\[/ s/^K6=.*/K6=42/' -e '/^\[Config1\]/,/^\[/ s/^K7=.*/K7=41/' \
    "$conf/config.ini"

xk_start_xvfb
trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 24 \
    >/dev/null 2>&1 &
pids+=("$!")
"$bin/xk-r40-vmouse" --socket "$socket" serve --log "$work/reports.log" >/dev/null 2>&1 &
pids+=("$!")
xk_wait_vmouse "$bin/xk-r40-vmouse" "$socket"
sleep 1

start_ns=$(date +%s%N)
"$app/xk-r40" --virtual-mouse "$socket" >"$work/app.out" 2>&1 &
app_pid=$!
pids+=("$app_pid")
wid=$(xk_wait_window 30)
visible_ms=$((($(date +%s%N) - start_ns) / 1000000))
sleep 2
rss_kib=$(awk '/^VmRSS:/ {print $2}' "/proc/$app_pid/status")
layout=$app/skins/INI_EN/skin_main_en.ini

# Context switches of all the program's threads, and its CPU time in ms.
switches() {
    cat /proc/"$app_pid"/task/*/status 2>/dev/null |
        awk '/^(voluntary|nonvoluntary)_ctxt_switches:/ {s += $2} END {print s + 0}'
}
cpu_ms() {
    awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) * 1000 / hz}' "/proc/$app_pid/stat"
}
# "wake-ups/s CPU-ms/s" over the idle period, the pointer resting outside the window.
measure_idle() {
    xdotool mousemove 1270 10
    sleep 1
    local s0 c0 s1 c1
    s0=$(switches); c0=$(cpu_ms)
    sleep "$idle"
    s1=$(switches); c1=$(cpu_ms)
    awk -v s="$((s1 - s0))" -v c0="$c0" -v c1="$c1" -v t="$idle" \
        'BEGIN {printf "%.1f | %.2f ms", s / t, (c1 - c0) / t}'
}
click() { xk_click_element "$wid" "$layout" "$1"; }
show_again() {
    "$app/xk-r40" --virtual-mouse "$socket" >/dev/null 2>&1 || true
    wid=$(xk_wait_window 10)
}

rows=()
rows+=("| idle, main page shown | $(measure_idle) |")
click 10
rows+=("| idle, macro page shown | $(measure_idle) |")
click 11
rows+=("| idle, light page shown | $(measure_idle) |")
click 13 # hide to the tray, the light page open
rows+=("| idle, hidden with the light page open | $(measure_idle) |")
show_again
click 9
click 13
rows+=("| idle, hidden with the main page open | $(measure_idle) |")

# Button report to the macro's first report, stamped by the virtual mouse's log.
vm() { "$bin/xk-r40-vmouse" --socket "$socket" "$@" >/dev/null; }
# Macro 1 takes 50 ms (two delays of 15 ms and the two 10 ms waits of its release); the next
# press comes after it ends, or the figure would include waiting for the macro before.
mark=$(wc -l <"$work/reports.log")
for _ in $(seq 1 "$presses"); do
    vm press 9
    vm release 9
    sleep 0.1
done
sleep 0.5
percentiles() { # microsecond values on stdin -> "p50 | p90 | p99 | max" in ms
    sort -n | awk '{v[NR] = $1} END {
        if (NR == 0) { print "- | - | - | -"; exit }
        split("50 90 99", q, " ")
        for (i = 1; i <= 3; i++) { k = int(NR * q[i] / 100 + 0.999); if (k < 1) k = 1; printf "%.3f ms | ", v[k] / 1000 }
        printf "%.3f ms", v[NR] / 1000
    }'
}
latency=$(tail -n +"$((mark + 1))" "$work/reports.log" | awk '
    $2 == "input" && $3 == "06" && $4 == "f9" && $5 == "01" { t = $1; next }
    $2 == "feature" && $4 == "15" && t != "" { print $1 - t; t = "" }' | percentiles)
measured=$(tail -n +"$((mark + 1))" "$work/reports.log" | awk '$2 == "input" && $4 == "f9" && $5 == "01"' | wc -l)
rows+=("| button report to the macro's first report, xk-r40 ($measured presses) | $latency |")

# A macro of 24 events and three passes: each key report's distance from its delay.
mark=$(wc -l <"$work/reports.log")
for _ in 1 2 3; do
    vm press 8
    vm release 8
    sleep 3.5
done
# A pass sends one key report an event and then, after the last delay and the release waits,
# one that releases everything; key report j (1..23) should follow report j - 1 by delay j - 1.
timing=$(tail -n +"$((mark + 1))" "$work/reports.log" | awk -v delays="${delays[*]}" '
    BEGIN { n = split(delays, d, " ") }
    $2 == "input" && $4 == "f8" && $5 == "01" { j = 0; next }
    $2 == "feature" && $4 == "15" {
        if (j >= 1 && j < n) { e = $1 - t - d[j] * 1000; print (e < 0 ? -e : e) }
        t = $1; j = (j + 1) % (n + 1)
    }' | percentiles)
rows+=("| a playing macro's key reports against their delays (3 runs of 3 passes of 24 events) | $timing |")

bench=$("$bin/xk_device_bench" "$presses" 1 2>/dev/null | awk -F'|' '/event-driven/ {
    printf "%s |%s |%s |%s", $3, $4, $5, $6}' | sed 's/  */ /g')
rows+=("| button report to the macro's first report, xk_device_bench ($presses presses) | $bench |")

echo "| what | figure |"
echo "|---|---|"
echo "| start to visible window | $visible_ms ms |"
echo "| resident memory after start | $((rss_kib / 1024)) MiB |"
echo
echo "| idle | wake-ups a second | CPU a second |"
echo "|---|---|---|"
for r in "${rows[@]:0:5}"; do echo "$r"; done
echo
echo "| path | p50 | p90 | p99 | max |"
echo "|---|---|---|---|---|"
for r in "${rows[@]:5}"; do echo "$r"; done
echo
echo "$(nproc) cores, load average $(cut -d' ' -f1-3 /proc/loadavg), $(date -u +%Y-%m-%d)"
