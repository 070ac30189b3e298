#!/usr/bin/env bash
# End-to-end cases of the real program under Xvfb with the virtual mouse, driven with xdotool
# at positions read from the delivered layouts. Usage: e2e.sh CASE BIN_DIR
set -uo pipefail
case_name=$1
bin=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib/desktop.sh"

work=$(mktemp -d)
app=$work/app
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=$work/vmouse.sock
vmouse=$bin/xk-r40-vmouse
pids=()

cleanup() {
    local p
    for p in "${pids[@]}"; do
        kill "$p" 2>/dev/null
    done
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $case_name: $*"
    echo "--- program output"; cat "$work/app.out" 2>/dev/null
    echo "--- reports"; tail -20 "$work/reports.log" 2>/dev/null
    exit 1
}

# A copy of the program's folder with its delivered data.
mkdir "$app"
for f in xk-r40 config.ini constMacro.dat Macro_EN.dat Macro_CN.dat skins; do
    cp -r "$bin/$f" "$app/" 2>/dev/null
done
cp "$bin"/defMacro*.dat "$app/" 2>/dev/null
layout=$app/skins/INI_EN/skin_main_en.ini

xk_start_xvfb || fail "no X server"

start_vmouse() {
    "$vmouse" --socket "$socket" serve --log "$work/reports.log" >/dev/null 2>&1 &
    vmouse_pid=$!
    pids+=("$vmouse_pid")
    xk_wait_vmouse "$vmouse" "$socket" || fail "the virtual mouse did not start"
}

start_app() {
    "$app/xk-r40" --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
}

# Waits up to $2 seconds for process $1 to end.
wait_gone() {
    local i
    for i in $(seq 1 $(($2 * 10))); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# Reports of one command (hex byte 1), as received so far.
reports_of() { "$vmouse" --socket "$socket" log 2>/dev/null | awk -v c="$1" '$2 == "feature" && $4 == c'; }
report_count() { "$vmouse" --socket "$socket" log 2>/dev/null | grep -c ' feature '; }

# Waits until more than $1 reports have arrived.
wait_reports_above() {
    local i
    for i in $(seq 1 50); do
        [ "$(report_count)" -gt "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

click() { xk_click_element "$wid" "$layout" "$1"; }
macro_layout=$app/skins/INI_EN/skin_advance_en.ini
macro_click() { xk_click_element "$wid" "$macro_layout" "$1"; }

# The events of macro $2 in the macro file $1: "virtual-key/action" each, in order.
macro_events() {
    tr -d '\r' <"$1" | awk -F= -v key="$2" '$1 == key {
        n = substr($2, 130, 3) + 0
        for (e = 0; e < n; e++) printf "%d/%d ", substr($2, 133 + 12 * e, 3), substr($2, 136 + 12 * e, 3)
    }'
}

# Centre "x y" of line $1 of a list in the macro page's [MACRODISPLAY] row $2 (lines of 17 px).
list_line() {
    awk -F, -v row="$2" -v line="$1" '
        /^\[/ { in_section = ($0 ~ /^\[MACRODISPLAY\]/) }
        in_section { split($1, kv, "="); if (kv[1] == row) { printf "%d %d\n", $2 + 40, $3 + 17 * line + 8; exit } }' "$macro_layout"
}

# Right-clicks line $1 of the event list: its menu opens there.
event_menu_at() {
    # shellcheck disable=SC2046
    xdotool mousemove --window "$wid" $(list_line "$1" 2) sleep 0.3 click 3 sleep 0.6
}

# Clicks item $2 (from 0, 20 px each) of the $1-th menu now open (1: the popup, 2: its submenu).
menu_click() {
    local geometry
    geometry=$(for w in $(xdotool search --onlyvisible --class xk-r40); do
        [ "$w" = "$wid" ] || xdotool getwindowgeometry --shell "$w" | tr '\n' ' '
        echo
    done | sed -n 's/.*X=\([0-9]*\) Y=\([0-9]*\) WIDTH=\([0-9]*\).*/\1 \2 \3/p' | sort -n | sed -n "${1}p")
    [ -n "$geometry" ] || fail "no menu $1 is open"
    set -- $geometry "$2"
    xdotool mousemove $(($1 + $3 / 2)) $(($2 + 2 + 20 * $4 + 10)) sleep 0.4 click 1 sleep 0.5
}

case "$case_name" in
startup_upload)
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_reports_above 0 || fail "no report"
    sleep 0.5
    [ "$(reports_of 10 | wc -l)" -ge 8 ] || fail "not every button function was uploaded"
    [ -n "$(reports_of 09)" ] || fail "no DPI level report"
    [ -n "$(reports_of 12)" ] || fail "no fire time report"
    name=$(xdotool getwindowname "$wid")
    [ "$name" = "XK-R40 GAMING MOUSE" ] || fail "title is '$name'"
    ;;
apply_uploads_clicked)
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    click 42 # wheel on
    before=$(report_count)
    click 3 # apply
    wait_reports_above "$before" || fail "apply sent nothing"
    sleep 0.3
    last=$(reports_of 11 | tail -1 | awk '{print $5}')
    [ "$last" = "01" ] || fail "wheel status after apply is '$last', not 01"
    click 41 # wheel off
    click 3
    sleep 0.5
    last=$(reports_of 11 | tail -1 | awk '{print $5}')
    [ "$last" = "00" ] || fail "wheel status after the second apply is '$last', not 00"
    ;;
configuration_buttons)
    # Configuration 3 gets a fire time of its own (240 ms = 30 units of 8 ms).
    sed -i '/^\[Config3\]/,/^\[/ s/^FIRE_TIME=.*/FIRE_TIME=240/' "$app/config.ini"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    click 6 # configuration 3
    click 3 # apply
    sleep 0.8
    last=$(reports_of 12 | tail -1 | awk '{print $5 $6}')
    [ "$last" = "001e" ] || fail "fire time after configuration 3 is '$last', not 001e"
    grep -q '^CurConfig=3' "$app/config.ini" || fail "CurConfig was not saved as 3"
    ;;
hide_and_second_start)
    trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 24 >/dev/null 2>&1 &
    pids+=("$!")
    sleep 1
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    click 13 # close: hides to the tray
    sleep 0.8
    xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null 2>&1 && fail "the window is still shown"
    kill -0 "$app_pid" 2>/dev/null || fail "hiding ended the program"
    # A double click on the tray icon shows the window again.
    tray=$(xdotool search --onlyvisible --class trayer | head -1)
    eval "$(xdotool getwindowgeometry --shell "$tray")"
    xdotool mousemove $((X + WIDTH - 12)) $((Y + HEIGHT / 2)) sleep 0.3 click --repeat 2 --delay 100 1
    wid=$(xk_wait_window 10) || fail "a double click on the tray icon did not show the window"
    click 2 # hide (keeps the DPI level)
    sleep 0.8
    xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null 2>&1 && fail "hide left the window shown"
    "$app/xk-r40" --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    second=$!
    wait_gone "$second" 10 || fail "the second start did not end"
    xk_wait_window 10 >/dev/null || fail "the second start did not bring the window back"
    [ "$(xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" | wc -l)" -eq 1 ] || fail "more than one window"
    ;;
recording)
    # Record X and Y into the selected macro through the keyboard, then save the macros.
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    click 10 # the macro page
    sleep 0.5
    xk_click_element "$wid" "$macro_layout" 4 # record
    xdotool key x sleep 0.2 key y sleep 0.3
    xk_click_element "$wid" "$macro_layout" 4 # stop
    xk_click_element "$wid" "$macro_layout" 5 # save
    sleep 0.5
    # Events are key, action and the delay's two bytes, three digits each: X (88) and Y (89).
    grep -Eq '088001[0-9]{6}088002[0-9]{6}089001[0-9]{6}089002' "$app/Macro_EN.dat" ||
        fail "the recorded keys are not in Macro_EN.dat"
    ;;
recording_as_typed)
    # Keys as a person types them: one held down with auto-repeat on, keys the window would
    # act on, keys of the key table without a keycode of their own, the keypad both ways, a key
    # without a row. Then Stop and Save must still be clickable.
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    xset r on
    click 10 # the macro page
    sleep 0.5
    # shellcheck disable=SC2046
    xdotool mousemove --window "$wid" $(list_line 0 1) sleep 0.2 click 1 sleep 0.3 # macro 0
    macro_click 4 # record
    xdotool keydown x; sleep 1.5; xdotool keyup x
    xdotool key alt+space sleep 0.3 key Menu sleep 0.3 key alt+F4 F10 sleep 0.3
    xdotool key 94 F13 Select 79 Num_Lock 79 sleep 0.3
    xte 'key Shift_R'
    sleep 0.3
    kill -0 "$app_pid" 2>/dev/null || fail "a key ended the program"
    macro_click 4 # stop
    macro_click 5 # save
    sleep 0.5
    # X once; left Alt and Space; APPS; left Alt and F4; F10; F13; Select; the keypad's 7 as
    # Home with Num Lock off, then Num Lock, then NUMPAD7; right Shift. Nothing for 94 (0xE2).
    expected="88/1 88/2 164/1 32/1 164/2 32/2 93/1 93/2 164/1 115/1 164/2 115/2 121/1 121/2 "
    expected+="124/1 124/2 41/1 41/2 36/1 36/2 144/1 144/2 103/1 103/2 161/1 161/2 "
    got=$(macro_events "$app/Macro_EN.dat" 0)
    [ "$got" = "$expected" ] || fail "recorded '$got', expected '$expected'"
    ;;
event_menu_and_play)
    # Edit a recorded macro from its menu with the pointer and the keys, save it, give button 5
    # (index 3) the macro and play it on the mouse.
    sed -i '/^\[Config1\]/,/^\[/ s/^K3=.*/K3=41/' "$app/config.ini"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    click 10
    sleep 0.5
    # shellcheck disable=SC2046
    xdotool mousemove --window "$wid" $(list_line 0 1) sleep 0.2 click 1 sleep 0.3 # macro 0
    macro_click 4
    xdotool key a sleep 0.3
    macro_click 4 # A down, A up
    event_menu_at 0
    menu_click 1 0; menu_click 2 0; menu_click 3 0 # Add Forward > Left Button > Down
    event_menu_at 4 # the key line of A up
    menu_click 1 1; menu_click 2 2; menu_click 3 1 # Add Backward > Mid Button > Up
    event_menu_at 3 # the delay after A down
    xdotool key Up Up Return sleep 0.5 # Modify Delay
    xdotool type 250
    xdotool key Return sleep 0.3
    event_menu_at 0
    xdotool key Up Return sleep 0.3 # Delete the left button's press
    macro_click 5
    sleep 0.5
    got=$(macro_events "$app/Macro_EN.dat" 0)
    [ "$got" = "65/1 65/2 242/2 " ] || fail "the edited macro is '$got'"
    tr -d '\r' <"$app/Macro_EN.dat" | grep -q '^0=.\{132\}065001250000065002030000242002030000' ||
        fail "the edited delay is not 250"
    before=$(report_count)
    "$vmouse" --socket "$socket" press 5 >/dev/null
    "$vmouse" --socket "$socket" release 5 >/dev/null
    sleep 1
    played=$("$vmouse" --socket "$socket" log | awk -v n="$before" '$2 == "feature" && ++i > n { print $4 ":" $5 ":" $6 }' | tr '\n' ' ')
    # A down, A up, the middle button up, then the release of everything.
    [[ "$played" == "15:04:00 15:00:00 16:"*":ff 16:"*":ff 15:00:00 "* ]] || fail "played '$played'"
    ;;
unplug_ends)
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    sleep 0.5
    "$vmouse" --socket "$socket" unplug >/dev/null 2>&1
    wait_gone "$app_pid" 10 || fail "the program goes on after the mouse was unplugged"
    ;;
exit_driver)
    trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 24 >/dev/null 2>&1 &
    pids+=("$!")
    sleep 1
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    sleep 1
    xset m 7/1 1
    tray=$(xdotool search --onlyvisible --class trayer | head -1)
    [ -n "$tray" ] || fail "no tray host"
    eval "$(xdotool getwindowgeometry --shell "$tray")"
    # The icon sits at the right end of the tray.
    xdotool mousemove $((X + WIDTH - 12)) $((Y + HEIGHT / 2)) sleep 0.3 click 3 sleep 0.8
    xdotool key Down sleep 0.1 key Down sleep 0.1 key Return
    wait_gone "$app_pid" 10 || fail "Exit Driver did not end the program"
    last=$(grep ' feature ' "$work/reports.log" | tail -1 | awk '{print $4}')
    [ "$last" = "20" ] || fail "the last report is command '$last', not the exit report 20"
    accel=$(xset q | awk '/acceleration:/ {print $2, $4}')
    echo "$accel" | awk '{split($1, f, "/"); exit !(f[2] > 0 && f[1] == 2 * f[2] && $2 == 4)}' ||
        fail "pointer speed is not back at 10 (acceleration 2/1, threshold 4): $accel"
    ;;
no_mouse)
    start_app # nothing serves the socket
    box=""
    for i in $(seq 1 100); do
        box=$(xdotool search --onlyvisible --name '^xk-r40$' 2>/dev/null | head -1)
        [ -n "$box" ] && break
        sleep 0.1
    done
    [ -n "$box" ] || fail "no message box"
    xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null 2>&1 && fail "the main window shows"
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
    wait_gone "$app_pid" 10 || fail "the program goes on after the message"
    [ -z "$(xdotool search --onlyvisible --name 'xk-r40|XK-R40' 2>/dev/null)" ] || fail "a window is left"
    ;;
*)
    fail "unknown case"
    ;;
esac
echo "PASS: $case_name"
