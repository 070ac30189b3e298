#!/usr/bin/env bash
# End-to-end cases of the real program under Xvfb with the virtual mouse, driven with xdotool
# at positions read from the delivered layouts. Usage: e2e.sh CASE BIN_DIR
set -uo pipefail
case_name=$1
bin=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../scripts/lib/desktop.sh"

# Cases that mount file systems run in a mount namespace of their own, so that nothing they
# mount outlives them: as root, or as a user allowed to be root in a user namespace of its own.
# Without either they run without mounts, or say why they cannot (exit 77: skipped).
case "$case_name" in
read_only_folder | disk_full)
    if [ -z "${XK_E2E_OWN_MOUNTS:-}" ]; then
        own_mounts=(unshare --mount --propagation private)
        [ "$(id -u)" -eq 0 ] || own_mounts=(unshare --map-root-user --mount --propagation private)
        if "${own_mounts[@]}" true 2>/dev/null; then
            XK_E2E_OWN_MOUNTS=1 exec "${own_mounts[@]}" bash "$0" "$@"
        fi
        XK_E2E_OWN_MOUNTS=no
    fi
    ;;
esac

# Cases through the real backend (hidraw, libudev) run against the virtual mouse's hidraw
# nodes (FUSE) in mount and network namespaces of their own: a private /dev, a tmpfs over
# /sys/class/hidraw and udev's events on a private netlink. That needs root, /dev/fuse and
# unshare; without them the case says why and is skipped.
case "$case_name" in
hidraw_*)
    . "$here/../../scripts/lib/hidraw-namespace.sh"
    if [ -z "${XK_E2E_HIDRAW_NS:-}" ]; then
        why=$(xk_hidraw_namespace_missing)
        if [ -n "$why" ]; then
            echo "SKIP: $case_name: $why"
            exit 77
        fi
        XK_E2E_HIDRAW_NS=1 exec "${xk_hidraw_unshare[@]}" bash "$0" "$@"
    fi
    xk_hidraw_namespace_prepare || { echo "FAIL: $case_name: the namespaces could not be prepared"; exit 1; }
    ;;
esac

work=$(mktemp -d)
app=$work/app
export XDG_RUNTIME_DIR=$work/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
socket=$work/vmouse.sock
# grep -q on a pipe: reads all of its input first, so that grep's early exit on a match does
# not end the writer with SIGPIPE (which pipefail would count as a failure).
has() {
    local text
    text=$(cat)
    grep "$@" <<<"$text"
}
vmouse=$bin/xk-r40-vmouse
pids=()

mounts=()
planted=()  # files another user made outside $work
throwaway_user=""

cleanup() {
    local p i
    for p in "${pids[@]}"; do
        kill "$p" 2>/dev/null
    done
    for p in "${planted[@]}"; do
        rm -rf "$p"
    done
    [ -n "$throwaway_user" ] && userdel -f "$throwaway_user" 2>/dev/null
    [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
    for ((i = ${#mounts[@]} - 1; i >= 0; i--)); do
        umount "${mounts[i]}" 2>/dev/null || umount -l "${mounts[i]}" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $case_name: $*"
    # XK_E2E_SHOTS=DIR keeps a screenshot of the screen at the failure.
    [ -n "${XK_E2E_SHOTS:-}" ] && import -window root "$XK_E2E_SHOTS/$case_name.png" 2>/dev/null
    echo "--- program output"; cat "$work/app.out" 2>/dev/null
    echo "--- reports"; tail -20 "$work/reports.log" 2>/dev/null
    exit 1
}

# A copy of the program's folder with its delivered data, and the person's own folder in a
# configuration home of the case's own, laid out as the program's first start lays it out.
mkdir "$app"
for f in xk-r40 config.ini constMacro.dat Macro_EN.dat Macro_CN.dat skins; do
    cp -r "$bin/$f" "$app/" 2>/dev/null
done
cp "$bin"/defMacro*.dat "$app/" 2>/dev/null
export XDG_CONFIG_HOME=$work/config
conf=$XDG_CONFIG_HOME/xk-r40
mkdir -p -m 700 "$conf"
for f in config.ini Macro_EN.dat Macro_CN.dat; do
    cp "$bin/$f" "$conf/"
done
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

# The virtual mouse as hidraw nodes hidraw1.. in /dev (hidraw0 is another maker's device),
# $1 "--one-node" for both vendor collections on one node; the program on the real backend.
start_hidraw_mouse() {
    "$vmouse" --socket "$socket" serve ${1:+"$1"} --hidraw /dev --log "$work/reports.log" >>"$work/vmouse.out" 2>&1 &
    vmouse_pid=$!
    pids+=("$vmouse_pid")
    xk_wait_vmouse "$vmouse" "$socket" || fail "the virtual mouse did not start: $(cat "$work/vmouse.out")"
}
start_hidraw_app() {
    "$app/xk-r40" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
}
# How often each node was opened: "hidrawN COUNT" lines.
node_opens() { "$vmouse" --socket "$socket" opens; }

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

# Waits for the start's reports: what a killed program could have left held released (3), then
# the upload (15).
wait_start_upload() { wait_reports_above 17; }

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

# The key lines of section $2 of INI file $1.
section_of() { awk -v s="[$2]" '{ sub(/\r$/, "") } $0 == s {on = 1; next} /^\[/ {on = 0} on && /=/' "$1"; }

# The last fire-time report's value bytes.
last_fire_time() { reports_of 12 | tail -1 | awk '{print $5 $6}'; }

# Waits until at least $2 visible windows are named $1.
wait_windows_named() {
    local i
    for i in $(seq 1 50); do
        [ "$(xdotool search --onlyvisible --name "$1" 2>/dev/null | wc -l)" -ge "${2:-1}" ] && return 0
        sleep 0.1
    done
    return 1
}

# Types a path into the file dialog's name field that has the focus and accepts it.
choose_file() {
    xdotool type --delay 20 "$1"
    sleep 0.3
    xdotool key Return
    sleep 0.6
}

# A screenshot of the whole screen, also kept in $XK_E2E_SHOTS when that names a folder.
shot() {
    import -window root "$work/$1.png"
    if [ -n "${XK_E2E_SHOTS:-}" ]; then
        mkdir -p "$XK_E2E_SHOTS" && cp "$work/$1.png" "$XK_E2E_SHOTS/"
    fi
}

# Whether two screenshots have the same pixels.
same_pixels() { [ "$(compare -metric AE "$work/$1.png" "$work/$2.png" null: 2>&1)" = "0" ]; }

# Checksums of every file under a folder, names included; the lock of a running program aside.
# A user of its own for the case, removed at the end: $other; where none can be made, skipped.
make_throwaway_user() {
    other=xke2e$$
    useradd --no-create-home --shell /usr/sbin/nologin "$other" 2>"$work/useradd.err" || {
        echo "SKIP: $case_name: useradd failed: $(cat "$work/useradd.err")"
        exit 77
    }
    throwaway_user=$other
}

# The program's own lock and the desktop's pointer setting it keeps while it runs are left out.
checksums() {
    (cd "$1" && find . -type f ! -name xk-r40.lock ! -name desktop-pointer-setting -print0 |
        sort -z | xargs -0 sha256sum)
}

# Waits for the program's message box; a screenshot of it is kept as $1.png.
expect_message() {
    wait_windows_named '^xk-r40$' || fail "no message $1"
    sleep 0.3
    shot "$1"
}

# Closes the message box with Enter; the program must still run.
close_message() {
    local box i
    box=$(xdotool search --onlyvisible --name '^xk-r40$' 2>/dev/null | head -1)
    [ -n "$box" ] && xdotool windowactivate --sync "$box" 2>/dev/null
    xdotool key Return
    for i in $(seq 1 30); do
        xdotool search --onlyvisible --name '^xk-r40$' >/dev/null 2>&1 || break
        sleep 0.1
    done
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended after the message $1"
}

# No message box within $1 seconds.
no_message() {
    local i
    for i in $(seq 1 $(($1 * 10))); do
        xdotool search --onlyvisible --name '^xk-r40$' >/dev/null 2>&1 && return 1
        sleep 0.1
    done
    return 0
}

# The program's exit status once it has ended (it is a child of this shell).
exit_status() { wait "$app_pid"; }

# A macro of 8 s: A and the left button held (as in exit_while_playing), as the only user macro,
# and button 3 (the mouse's button 5) playing it.
hold_macro() {
    local values=(72 0 111 0 108 0 100 0) # "Hold", UTF-16LE, in a 40-byte name
    while [ ${#values[@]} -lt 40 ]; do values+=(0); done
    values+=(0 1 0 4 240 1 15 0 65 1 64 31 65 2 15 0 240 2 15 0) # 8000 ms = 64 + 31 * 256
    while [ ${#values[@]} -lt 1064 ]; do values+=(0); done
    printf '[Macros]\r\nmacroNum=1\r\n0=%s\r\n' "$(printf '%03d' "${values[@]}")" >"$conf/Macro_EN.dat"
    sed -i '/^\[Config1\]/,/^\[/ s/^K3=[^\r]*/K3=41/' "$conf/config.ini"
}

# Presses and releases the mouse's button $1, then waits until the macro holds A.
play_and_wait_held() {
    local held i
    held=$(reports_of 15 | grep -c ' 15 04 ')
    "$vmouse" --socket "$socket" press "$1" >/dev/null && "$vmouse" --socket "$socket" release "$1" >/dev/null
    for i in $(seq 1 50); do
        [ "$(reports_of 15 | grep -c ' 15 04 ')" -gt "$held" ] && return 0
        sleep 0.1
    done
    return 1
}

# The function popup's place, width and row height (px, py, pw, ph), if it shows.
popup_geometry() {
    local p
    p=$(xdotool search --onlyvisible --name '^MainMenuDlg$' 2>/dev/null | head -1)
    [ -n "$p" ] || return 1
    eval "$(xdotool getwindowgeometry --shell "$p")"
    px=$X; py=$Y; pw=$WIDTH; ph=$(((HEIGHT - 1) / 10))
}

# BUTTONPOS row $1 of the main layout: "x y width height".
element_box() {
    awk -F, -v key="$1" '
        /^\[/ { in_section = ($0 ~ /^\[BUTTONPOS\]/) }
        in_section { split($1, kv, "="); if (kv[1] == key) { print $2, $3, $4, $5; exit } }' "$layout"
}

# The screen point "x y" of main element $1's centre.
element_point() {
    local x y w h
    read -r x y w h <<<"$(element_box "$1")"
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    echo "$((X + x + w / 2)) $((Y + y + h / 2))"
}

# The warning opens where the popup of button slot $1 would: sets origin_x and origin_y.
warning_origin() {
    local sx sy sh
    read -r sx sy _ sh <<<"$(element_box "$1")"
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    origin_x=$((X + sx)); origin_y=$((Y + sy + sh))
}

# Moves to warning element $1 (0 confirm, 1 cancel) and clicks.
warning_layout=$app/skins/INI_EN/LBWarning_en.ini
warning_click() {
    local pos
    pos=$(xk_element_centre "$warning_layout" "$1")
    set -- $pos
    xdotool mousemove $((origin_x + $1)) $((origin_y + $2)) sleep 0.3 click 1 sleep 0.5
}

# Whether the warning shows within two seconds ($1 = 0) or is gone within two ($1 = 1).
warning_shown() {
    local i
    for i in $(seq 1 20); do
        if xdotool search --onlyvisible --name '^xk-r40$' >/dev/null 2>&1; then
            [ "${1:-0}" = 0 ] && return 0
        else
            [ "${1:-0}" = 1 ] && return 1
        fi
        sleep 0.1
    done
    [ "${1:-0}" = 1 ]
}

# The Unix socket that process $1 listens on for xk-r40-ctl.
control_socket_of() {
    local inodes
    inodes=" $(ls -l "/proc/$1/fd" 2>/dev/null | sed -n 's/.*socket:\[\([0-9]*\)\]$/\1/p' | tr '\n' ' ') "
    awk -v inodes="$inodes" 'NR > 1 && $6 == "01" && index(inodes, " " $7 " ") && $8 ~ /\/xk-r40-[0-9a-f]+\.sock$/ {print $8}' /proc/net/unix
}

# The mouse after the program ended ($1 names the way, in messages): the exit report was its
# last report, and no key or button is left held.
expect_clean_end() {
    local last state
    last=$(grep ' feature ' "$work/reports.log" | tail -1 | awk '{print $4}')
    [ "$last" = "20" ] || fail "$1: the last report is command '$last', not the exit report 20"
    state=$("$vmouse" --socket "$socket" state)
    echo "$state" | has -qx 'keys 00 00 00 00 00 00' || fail "$1: keys left held: $(echo "$state" | grep keys)"
    echo "$state" | has -qx 'mouse_buttons ff' || fail "$1: a button left held"
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
    sed -i '/^\[Config3\]/,/^\[/ s/^FIRE_TIME=.*/FIRE_TIME=240/' "$conf/config.ini"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    click 6 # configuration 3
    click 3 # apply
    sleep 0.8
    last=$(reports_of 12 | tail -1 | awk '{print $5 $6}')
    [ "$last" = "001e" ] || fail "fire time after configuration 3 is '$last', not 001e"
    grep -q '^CurConfig=3' "$conf/config.ini" || fail "CurConfig was not saved as 3"
    ;;
dotfile_link)
    # config.ini is a dotfile manager's link, and killed saves left temporaries: the program
    # removes its leftovers at start, and Apply writes through the link into its target.
    mkdir "$work/dotfiles"
    mv "$conf/config.ini" "$work/dotfiles/config.ini"
    ln -s "$work/dotfiles/config.ini" "$conf/config.ini"
    for f in "$work/dotfiles/config.ini.tmp4242-0" "$conf/Macro_EN.dat.tmp7-3" "$conf/Macro_CN.dat.tmp7-4"; do
        echo partial >"$f"
    done
    echo mine >"$conf/config.ini.tmp-notes"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    leftovers=$(ls "$work/dotfiles" "$conf" | grep '\.tmp[0-9]')
    [ -z "$leftovers" ] || fail "leftovers of killed saves stayed: $leftovers"
    [ -f "$conf/config.ini.tmp-notes" ] || fail "a file of the person's that looks alike was removed"
    click 6 # configuration 3
    click 3 # apply
    sleep 0.8
    [ -L "$conf/config.ini" ] || fail "the link was replaced by a plain file"
    grep -q '^CurConfig=3' "$work/dotfiles/config.ini" || fail "the link's target did not get CurConfig=3"
    ;;
root_keeps_users_files)
    # Run as root over a person's folder (sudo xk-r40): Apply is refused with a message, and
    # config.ini stays the person's, unchanged.
    if [ "$(id -u)" -ne 0 ]; then
        echo "SKIP: $case_name: needs root"
        exit 77
    fi
    chmod 755 "$work"
    chown -R 65534:65534 "$work/config"
    checksums "$conf" >"$work/before"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    click 42 # wheel on
    click 3  # apply
    expect_message apply-as-root
    close_message "of apply"
    checksums "$conf" >"$work/after"
    cmp -s "$work/before" "$work/after" || fail "root changed the person's files: $(diff "$work/before" "$work/after")"
    mine=$(find "$work/config" ! -user 65534 ! -name xk-r40.lock)
    [ -z "$mine" ] || fail "files now belong to another: $mine"
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
    grep -Eq '088001[0-9]{6}088002[0-9]{6}089001[0-9]{6}089002' "$conf/Macro_EN.dat" ||
        fail "the recorded keys are not in Macro_EN.dat"
    ;;
function_popup)
    # Buttons get functions from the popup and the media sub-popup, the warning guards the only
    # left button, and apply sends the choices to the mouse.
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    # Row $1 of the popup, then a click.
    choose_row() {
        xdotool mousemove $((px + pw / 2)) $((py + ($1 - 1) * ph + ph / 2)) sleep 0.3 click 1 sleep 0.3
    }
    click 26 # button 1
    popup_geometry || fail "no popup for button 1"
    choose_row 3 # Middle Click
    sleep 0.3
    popup_geometry && fail "the popup stays open after a choice"
    click 29 # button 4
    popup_geometry || fail "no popup for button 4"
    # Row 8 opens the media keys, whose tenth row lines up with it; the fourth is Volume Up.
    xdotool mousemove $((px + pw / 2)) $((py + 7 * ph + ph / 2)) sleep 0.3
    xdotool mousemove $((px + pw + 40)) $((py + 7 * ph + ph / 2)) sleep 0.3
    xdotool mousemove $((px + pw + 40)) $((py + 1 * ph + ph / 2)) sleep 0.3 click 1 sleep 0.5
    popup_geometry && fail "the popup stays open after a choice in the sub-popup"
    click 3 # apply
    sleep 0.8
    reports_of 10 | has -q ' 10 02 03 ' || fail "button 1 did not get Middle Click (device code 3)"
    reports_of 10 | has -q ' 10 04 00 ' || fail "button 4 is not left to the computer"
    "$vmouse" --socket "$socket" press 4 >/dev/null && "$vmouse" --socket "$socket" release 4 >/dev/null
    sleep 0.5
    reports_of 17 | has -q ' 17 00 e9 ' || fail "button 4 did not send Volume Up"

    # Button 0 holds the only left button: the warning asks first.
    warning_origin 25
    click 25
    warning_shown || fail "no warning before the only left button is reassigned"
    warning_click 1 # cancel
    warning_shown 1 && fail "cancel left the warning open"
    popup_geometry && fail "cancel opened the popup"
    click 25
    warning_shown || fail "no warning the second time"
    xdotool key Escape
    sleep 0.5
    warning_shown 1 && fail "Escape left the warning open"
    popup_geometry && fail "Escape opened the popup"
    click 25
    warning_click 0 # confirm
    popup_geometry || fail "confirm did not open the popup"
    [ "$px,$py" = "$origin_x,$origin_y" ] || fail "the popup opened at $px,$py, not under the slot"
    choose_row 2 # Right Click: button 1 becomes the left button
    click 3
    sleep 0.8
    reports_of 10 | has -q ' 10 01 02 ' || fail "button 0 did not get Right Click"
    reports_of 10 | tail -8 | has -q ' 10 02 01 ' || fail "button 1 did not become the left button"
    ;;
popup_drag)
    # Slot 31's popup lies over Hide and Apply. A press on the slot dragged onto the popup's last
    # row and released there over either button: the row opens its group as a click on it does,
    # and the button under the popup does not act. A press on that row dragged into the group
    # and released there chooses the group's row.
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    before=$(report_count)
    read -r sx sy <<<"$(element_point 31)"
    for under in 2 3; do # Hide, Apply
        xdotool mousemove "$sx" "$sy" sleep 0.3 mousedown 1 sleep 0.5
        popup_geometry || fail "no popup for button 6"
        read -r ux uy <<<"$(element_point "$under")"
        read -r _ _ _ eh <<<"$(element_box "$under")"
        last_row=$((py + 9 * ph + ph / 2))
        if [ "$ux" -lt "$px" ] || [ $((last_row - uy)) -ge $((eh / 2)) ] || [ $((uy - last_row)) -ge $((eh / 2)) ]; then
            fail "the popup's last row does not lie over element $under"
        fi
        xdotool mousemove "$ux" "$last_row" sleep 0.3 mouseup 1 sleep 0.8
        xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null || fail "Hide acted under the popup"
        popup_geometry || fail "the popup closed on a release over its group row (element $under)"
        sub=$(for w in $(xdotool search --onlyvisible --class xk-r40 2>/dev/null); do
            eval "$(xdotool getwindowgeometry --shell "$w")"
            [ "$X" -eq $((px + pw)) ] && echo "$X $Y $HEIGHT"
        done | head -1)
        [ -n "$sub" ] || fail "the last row's group did not open (element $under)"
    done
    [ "$(report_count)" -eq "$before" ] || fail "a release over the popup uploaded"
    # The built-in macros: eight rows, the last level with the popup's last row; the second
    # gives code 32.
    read -r qx qy qheight <<<"$sub"
    qh=$(((qheight - 1) / 8))
    xdotool mousemove $((px + pw / 2)) "$last_row" sleep 0.3 mousedown 1 sleep 0.3 \
        mousemove $((qx + 40)) "$last_row" sleep 0.3 \
        mousemove $((qx + 40)) $((qy + qh + qh / 2)) sleep 0.3 mouseup 1 sleep 0.5
    popup_geometry && fail "the popup stays open after a drag into its group"
    click 3 # apply
    sleep 0.8
    [ "$(report_count)" -gt "$before" ] || fail "apply sent nothing"
    section_of "$conf/config.ini" Config1 | has -q '^K6=32' || fail "button 6 did not get code 32"
    ;;
warning_at_rest)
    # The warning opens under the slot while the pointer still rests on the slot, after a
    # showing that answered Confirm: no button is highlighted until the pointer comes over one.
    # Pressed on the slot and released over Cancel, a click there without a move answers Cancel.
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    warning_origin 25
    read -r sx sy <<<"$(element_point 25)"
    warning_crop() { convert "$work/$1.png" -crop "360x180+$origin_x+$origin_y" "$work/$1.png"; }
    click 25
    warning_shown || fail "no warning before the only left button is reassigned"
    warning_click 0 # confirm
    popup_geometry || fail "confirm did not open the popup"
    click 25 # closes the popup and asks again; the pointer rests on the slot
    warning_shown || fail "no warning the second time"
    sleep 0.5
    shot at-rest
    read -r mx my <<<"$(xk_element_centre "$warning_layout" 2)"
    xdotool mousemove $((origin_x + mx)) $((origin_y + my)) sleep 0.5 # the message: no button
    shot on-message
    warning_crop at-rest; warning_crop on-message
    same_pixels at-rest on-message || fail "a button is highlighted with the pointer resting on the slot"
    xdotool key Escape
    warning_shown 1 && fail "Escape left the warning open"
    read -r cx cy <<<"$(xk_element_centre "$warning_layout" 1)"
    xdotool mousemove "$sx" "$sy" sleep 0.3 mousedown 1 sleep 0.5
    warning_shown || fail "no warning the third time"
    xdotool mousemove $((origin_x + cx)) $((origin_y + cy)) sleep 0.3 mouseup 1 sleep 0.3 click 1 sleep 0.5
    warning_shown 1 && fail "a click on Cancel left the warning open"
    popup_geometry && fail "a click on Cancel opened the popup"
    ;;
recording_as_typed)
    # Keys as a person types them: one held down with auto-repeat on, keys the window would
    # act on, keys of the key table without a keycode of their own, the keypad both ways, a key
    # without a row, keys known by their keycode alone. Then Stop and Save must still be
    # clickable. F13 and Select lie on spare keycodes of the keymap (as a layout may put them)
    # from the start: a keysym that xdotool maps onto a keycode only while it types it may be
    # read by the program after the mapping has gone, and then it names no key.
    xmodmap -e 'keycode 93 = F13' -e 'keycode 97 = Select' || fail "xmodmap"
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
    xdotool key 129 132 140 142 sleep 0.3 # KP comma, Yen, a USB keyboard's Select and Execute
    xte 'key Shift_R'
    sleep 0.3
    kill -0 "$app_pid" 2>/dev/null || fail "a key ended the program"
    macro_click 4 # stop
    macro_click 5 # save
    sleep 0.5
    # X once; left Alt and Space; APPS; left Alt and F4; F10; F13; Select; the keypad's 7 as
    # Home with Num Lock off, then Num Lock, then NUMPAD7; comma, backslash, Select, Execute;
    # right Shift. Nothing for 94 (0xE2).
    expected="88/1 88/2 164/1 32/1 164/2 32/2 93/1 93/2 164/1 115/1 164/2 115/2 121/1 121/2 "
    expected+="124/1 124/2 41/1 41/2 36/1 36/2 144/1 144/2 103/1 103/2 "
    expected+="188/1 188/2 220/1 220/2 41/1 41/2 43/1 43/2 161/1 161/2 "
    got=$(macro_events "$conf/Macro_EN.dat" 0)
    [ "$got" = "$expected" ] || fail "recorded '$got', expected '$expected'"
    ;;
event_menu_and_play)
    # Edit a recorded macro from its menu with the pointer and the keys, save it, give button 5
    # (index 3) the macro and play it on the mouse.
    sed -i '/^\[Config1\]/,/^\[/ s/^K3=.*/K3=41/' "$conf/config.ini"
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
    got=$(macro_events "$conf/Macro_EN.dat" 0)
    [ "$got" = "65/1 65/2 242/2 " ] || fail "the edited macro is '$got'"
    tr -d '\r' <"$conf/Macro_EN.dat" | has -q '^0=.\{132\}065001250000065002030000242002030000' ||
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
    # Dark like the skin, not Qt's light grey.
    sleep 0.3
    import -window "$box" "$work/box.png" 2>/dev/null || fail "the message box could not be captured"
    mean=$(convert "$work/box.png" -colorspace Gray -format '%[fx:mean]' info:)
    awk -v m="$mean" 'BEGIN { exit !(m < 0.3) }' || fail "the message box is not dark (mean $mean)"
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
    wait_gone "$app_pid" 10 || fail "the program goes on after the message"
    [ -z "$(xdotool search --onlyvisible --name 'xk-r40|XK-R40' 2>/dev/null)" ] || fail "a window is left"
    ;;
factory_reset)
    # Configuration 1 and 5 and the user macros differ from the factory state; configuration 1
    # has the repeat-until-stopped macro mode, which the reset keeps.
    sed -i -e '/^\[Config1\]/,/^\[/ { s/^FIRE_TIME=.*/FIRE_TIME=240/; s/^MACRO_MODE2=.*/MACRO_MODE2=1/ }' \
        -e '/^\[Config5\]/,/^\[/ { s/^K5=.*/K5=40/; s/^FIRE_TIME=.*/FIRE_TIME=16/ }' "$conf/config.ini"
    printf '[Macros]\nmacroNum=0\n' >"$conf/Macro_EN.dat"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    [ "$(last_fire_time)" = "001e" ] || fail "the start-up fire time is '$(last_fire_time)', not 001e"
    click 10 # the macro page, so the list is refilled on the spot
    before=$(report_count)
    click 16 # factory reset
    wait_reports_above "$before" || fail "the reset uploaded nothing"
    sleep 0.5
    shot reset-macro-en
    [ "$(last_fire_time)" = "0006" ] || fail "fire time after the reset is '$(last_fire_time)', not 0006 (50 ms)"
    section_of "$conf/config.ini" Config1 | has -qx 'MACRO_MODE2=1' || fail "configuration 1 lost its macro mode"
    section_of "$conf/config.ini" Config1 | has -qx 'FIRE_TIME=50' || fail "configuration 1 is not the built-in default"
    [ "$(section_of "$conf/config.ini" Config5)" = "$(section_of "$conf/config.ini" CfgReset_EN5)" ] ||
        fail "configuration 5 is not CfgReset_EN5 in English"
    # The saved file keeps its own line ends.
    cmp -s <(tr -d "\r" <"$conf/Macro_EN.dat") <(tr -d "\r" <"$app/skins/INI_EN/defMacro.dat") ||
        fail "Macro_EN.dat is not the factory macros"
    grep -q '^CurConfig=1' "$conf/config.ini" || fail "CurConfig changed"
    ;;
language_switch)
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    cp "$conf/config.ini" "$work/config-before.ini"
    before=$(report_count)
    click 17 # Chinese; the pointer stays over it
    sleep 0.8
    shot main-cn
    grep -q '^VER_SEL=0' "$conf/config.ini" || fail "VER_SEL is not 0"
    diff <(grep -v '^VER_SEL=' "$work/config-before.ini") <(grep -v '^VER_SEL=' "$conf/config.ini") >/dev/null ||
        fail "the switch changed config.ini beyond VER_SEL"
    [ "$(report_count)" -eq "$before" ] || fail "the switch sent reports to the mouse"
    [ "$(xdotool getwindowname "$wid")" = "XK-R40 GAMING MOUSE" ] || fail "the title changed"
    cn=$app/skins/INI_CN/skin_main.ini
    xk_click_element "$wid" "$cn" 10
    sleep 0.5
    shot macro-cn
    xk_click_element "$wid" "$cn" 11
    sleep 0.5
    shot light-cn
    xk_click_element "$wid" "$cn" 10
    xk_click_element "$wid" "$cn" 18 # English again, on the macro page
    sleep 0.5
    shot macro-en
    grep -q '^VER_SEL=1' "$conf/config.ini" || fail "VER_SEL is not 1"
    xk_click_element "$wid" "$layout" 9
    xk_click_element "$wid" "$layout" 17
    sleep 0.5
    # The window after the switch looks exactly as one started in Chinese (which the next
    # start is): nothing of the old language stays on screen.
    shot switched
    kill "$app_pid"
    wait_gone "$app_pid" 10 || fail "the program did not end"
    start_app
    wid=$(xk_wait_window 20) || fail "no window after the restart"
    sleep 0.8
    # shellcheck disable=SC2046
    xdotool mousemove --window "$wid" $(xk_element_centre "$cn" 17)
    sleep 0.8
    shot started-cn
    same_pixels switched started-cn || fail "the switched window differs from one started in Chinese"
    ;;
profile_files)
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    # Export into a new file: a name without an extension gets .ini.
    click 15
    wait_windows_named "Save As" || fail "no save dialog"
    shot export-dialog
    choose_file mine
    [ -f "$conf/mine.ini" ] || fail "no mine.ini in the person's folder"
    [ "$(stat -c %a "$conf/mine.ini")" = 600 ] || fail "a new profile is readable by others"
    [ "$(section_of "$conf/mine.ini" Config7)" = "$(section_of "$conf/config.ini" Config1)" ] ||
        fail "the exported profile is not configuration 1"
    # Export into an existing file, after the overwrite question: the rest of it stays.
    printf '; kept\n[Other]\nname=mine\n' >"$work/shared.ini"
    click 15
    wait_windows_named "Save As" || fail "no save dialog"
    choose_file "$work/shared.ini"
    wait_windows_named "Save As" 2 || fail "no overwrite question"
    xdotool key y
    sleep 0.5
    grep -q '^; kept' "$work/shared.ini" || fail "the export lost the comment of the file"
    grep -q '^name=mine' "$work/shared.ini" || fail "the export lost the other section"
    [ "$(stat -c %a "$work/shared.ini")" = 644 ] || fail "the export changed the file's mode"
    [ -n "$(section_of "$work/shared.ini" Config7)" ] || fail "no Config7 in the existing file"
    # A profile written on Windows imports; its fire time of 120 ms reaches the mouse on apply.
    cp "$here/../fixtures/profiles/windows_crlf.ini" "$work/windows.ini"
    click 14
    wait_windows_named "Open" || fail "no open dialog"
    choose_file "$work/windows.ini"
    click 3
    sleep 0.8
    [ "$(last_fire_time)" = "000f" ] || fail "fire time after the import is '$(last_fire_time)', not 000f"
    # A file without Config7 is refused with a message and changes nothing.
    printf '[Config1]\nK0=0\nFIRE_TIME=8\n' >"$work/bad.ini"
    click 14
    wait_windows_named "Open" || fail "no open dialog"
    choose_file "$work/bad.ini"
    wait_windows_named '^xk-r40$' || fail "no message for a file that is no profile"
    shot bad-profile
    xdotool key Return
    sleep 0.3
    before=$(report_count)
    click 3
    wait_reports_above "$before" || fail "apply sent nothing"
    sleep 0.5
    [ "$(last_fire_time)" = "000f" ] || fail "the refused file changed the fire time"
    reports_of 10 | tail -8 | has -q ' 10 01 01 ' || fail "the refused file took the left button"
    ;;
exit_while_playing)
    # Button 3 (the mouse's button 5) plays a macro that holds the left button and A for 8 s.
    # Every way out ends it first: the mouse's log ends with the exit report, nothing held.
    values=(72 0 111 0 108 0 100 0) # "Hold", UTF-16LE, in a 40-byte name
    while [ ${#values[@]} -lt 40 ]; do values+=(0); done
    values+=(0 1 0 4 240 1 15 0 65 1 64 31 65 2 15 0 240 2 15 0) # 8000 ms = 64 + 31 * 256
    while [ ${#values[@]} -lt 1064 ]; do values+=(0); done
    printf '[Macros]\r\nmacroNum=1\r\n0=%s\r\n' "$(printf '%03d' "${values[@]}")" >"$conf/Macro_EN.dat"
    sed -i '/^\[Config1\]/,/^\[/ s/^K3=[^\r]*/K3=41/' "$conf/config.ini"
    trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 24 >/dev/null 2>&1 &
    pids+=("$!")
    sleep 1
    start_vmouse
    for how in "Exit Driver" TERM INT HUP; do
        # INT as a terminal delivers it: not ignored as in a script's background job.
        env --default-signal=INT "$app/xk-r40" --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
        app_pid=$!
        pids+=("$app_pid")
        xk_wait_window 20 >/dev/null || fail "$how: no window"
        sleep 1
        held=$(reports_of 15 | grep -c ' 15 04 ')
        "$vmouse" --socket "$socket" press 5 >/dev/null && "$vmouse" --socket "$socket" release 5 >/dev/null
        for i in $(seq 1 50); do
            [ "$(reports_of 15 | grep -c ' 15 04 ')" -gt "$held" ] && break
            sleep 0.1
        done
        [ "$(reports_of 15 | grep -c ' 15 04 ')" -gt "$held" ] || fail "$how: the macro did not start"
        if [ "$how" = "Exit Driver" ]; then
            tray=$(xdotool search --onlyvisible --class trayer | head -1)
            [ -n "$tray" ] || fail "no tray host"
            eval "$(xdotool getwindowgeometry --shell "$tray")"
            xdotool mousemove $((X + WIDTH - 12)) $((Y + HEIGHT / 2)) sleep 0.3 click 3 sleep 0.8
            xdotool key Down sleep 0.1 key Down sleep 0.1 key Return
        else
            kill -s "$how" "$app_pid"
        fi
        wait_gone "$app_pid" 10 || fail "$how did not end the program"
        expect_clean_end "$how"
    done
    ;;
killed_while_holding)
    # kill -9 while a macro holds A and the left button leaves them held in the mouse; the next
    # start lets go of them before its upload.
    hold_macro
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload"
    play_and_wait_held 5 || fail "the macro did not start"
    kill -KILL "$app_pid"
    wait_gone "$app_pid" 5 || fail "kill -9 did not end the program"
    "$vmouse" --socket "$socket" state | has -qx 'keys 04 00 00 00 00 00' ||
        fail "the mouse did not hold A after the kill, so this case proves nothing"
    sleep 1 # the virtual mouse takes the next connection once it has seen the end of this one
    start_app
    xk_wait_window 20 >/dev/null || fail "no window after the restart"
    wait_start_upload || fail "no upload after the restart"
    state=$("$vmouse" --socket "$socket" state)
    echo "$state" | has -qx 'keys 00 00 00 00 00 00' || fail "keys left held: $(echo "$state" | grep keys)"
    echo "$state" | has -qx 'mouse_buttons ff' || fail "a button left held: $(echo "$state" | grep mouse_buttons)"
    echo "$state" | has -qx 'consumer 0000' || fail "a consumer key left held"
    ;;
display_lost)
    # The X server dies while a macro holds A and the left button: the program still ends by
    # the exit procedure, so the mouse holds nothing and the exit report is its last.
    hold_macro
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload"
    play_and_wait_held 5 || fail "the macro did not start"
    kill "$XVFB_PID"
    wait_gone "$app_pid" 10 || fail "the program outlived its X server"
    expect_clean_end "X server gone"
    ;;
signal_in_modal_loops)
    # TERM ends the program at once by the exit procedure, also while a message box or a file
    # dialog runs its own loop: without a mouse, at its message; then in the export's dialog.
    "$app/xk-r40" --virtual-mouse "$work/no-mouse.sock" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    expect_message no-mouse
    kill -TERM "$app_pid"
    wait_gone "$app_pid" 3 || fail "TERM waited for the message box"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    click 15 # export profile
    wait_windows_named "Save As" || fail "no save dialog"
    kill -TERM "$app_pid"
    wait_gone "$app_pid" 3 || fail "TERM waited for the file dialog"
    last=$(grep ' feature ' "$work/reports.log" | tail -1 | awk '{print $4}')
    [ "$last" = "20" ] || fail "the last report is command '$last', not the exit report 20"
    ;;
one_node)
    # Both vendor collections on one node: the upload and a button press go through it, every
    # report at the collection's longest feature length (32 bytes), none refused.
    sed -i '/^\[Config1\]/,/^\[/ s/^K3=[^\r]*/K3=24/' "$conf/config.ini" # volume up
    "$vmouse" --socket "$socket" serve --one-node --log "$work/reports.log" >/dev/null 2>&1 &
    pids+=("$!")
    xk_wait_vmouse "$vmouse" "$socket" || fail "the virtual mouse did not start"
    start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload"
    [ "$(reports_of 10 | wc -l)" -eq 8 ] || fail "not every button function was uploaded"
    "$vmouse" --socket "$socket" press 5 >/dev/null && "$vmouse" --socket "$socket" release 5 >/dev/null
    sleep 0.5
    reports_of 17 | has -q ' 17 00 e9 ' || fail "button 5 did not send Volume Up"
    lengths=$(grep ' feature ' "$work/reports.log" | awk '{print NF - 2}' | sort -u)
    [ "$lengths" = "32" ] || fail "feature reports of lengths $(echo $lengths) bytes, not 32"
    "$vmouse" --socket "$socket" state | has -qx 'refused_reports 0' || fail "reports were refused"
    # The listener, the executor and the thread that sends their reports run five nice steps
    # above the rest, where that is allowed.
    base=$(sed 's/.*) //' "/proc/$app_pid/stat" | awk '{print $17}')
    if [ "$(nice -n -5 nice 2>/dev/null)" = "$((base - 5))" ]; then
        raised=$(for t in /proc/"$app_pid"/task/*/stat; do sed 's/.*) //' "$t" | awk '{print $17}'; done | grep -cx -- "$((base - 5))")
        [ "$raised" -eq 3 ] || fail "$raised threads raised, not the listener, the executor and the sender"
    fi
    ;;
no_config)
    # Without config.ini, and no delivered one to start it from, every field is 0: buttons left
    # to the computer, configuration 0; the upload creates the file with Config6 and Config0,
    # in CR LF as Windows writes it.
    rm "$conf/config.ini" "$app/config.ini"
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload"
    sleep 0.5
    [ "$(reports_of 10 | awk '{print $6}' | sort -u)" = "00" ] || fail "a button got a device function"
    [ -f "$conf/config.ini" ] || fail "no config.ini was made"
    grep -q '^CurConfig=0' "$conf/config.ini" || fail "CurConfig is not 0"
    grep -q '^\[Config6\]' "$conf/config.ini" || fail "no Config6"
    grep -q '^\[Config0\]' "$conf/config.ini" || fail "no Config0"
    [ "$(grep -c $'\r$' "$conf/config.ini")" -eq "$(wc -l <"$conf/config.ini")" ] ||
        fail "config.ini has line ends other than CR LF"
    ;;
ctl_config_alone)
    # Without the program, xk-r40-ctl uploads configuration 3 itself and keeps it current.
    cp "$bin/xk-r40-ctl" "$app/"
    sed -i '/^\[Config3\]/,/^\[/ s/^FIRE_TIME=.*/FIRE_TIME=240/' "$conf/config.ini"
    start_vmouse
    out=$("$app/xk-r40-ctl" --virtual-mouse "$socket" config 3 2>&1) || fail "config 3 failed: $out"
    wait_reports_above 14 || fail "no upload: $out"
    sleep 0.3
    [ "$(report_count)" -eq 15 ] || fail "$(report_count) reports, not the 15 of one upload"
    [ "$(last_fire_time)" = "001e" ] || fail "fire time is '$(last_fire_time)', not 001e of configuration 3"
    grep -q '^CurConfig=3' "$conf/config.ini" || fail "CurConfig was not saved as 3"
    [ "$(section_of "$conf/config.ini" Config6)" = "$(section_of "$conf/config.ini" Config3)" ] ||
        fail "Config6 does not hold the uploaded configuration 3"
    "$app/xk-r40-ctl" --virtual-mouse "$socket" status >"$work/status" 2>&1 || fail "status failed: $(cat "$work/status")"
    grep -qx 'configuration: 3' "$work/status" || fail "status does not show configuration 3"
    grep -qx 'FIRE_TIME=240' "$work/status" || fail "status does not show its fire time"
    grep -q '^owner: xk-r40-ctl' "$work/status" || fail "status does not say that xk-r40-ctl did it"
    ;;
ctl_config_to_program)
    # With the program running, xk-r40-ctl asks it: the window shows configuration 3 as if a
    # person had chosen and applied it, and the mouse gets one upload.
    cp "$bin/xk-r40-ctl" "$app/"
    sed -i '/^\[Config3\]/,/^\[/ s/^FIRE_TIME=.*/FIRE_TIME=240/' "$conf/config.ini"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    # The pointer rests on a bare place of the window, so no element is lit.
    rest() { xdotool mousemove --window "$wid" 300 590 sleep 0.8; }
    rest
    shot ctl-before
    before=$(report_count)
    out=$("$app/xk-r40-ctl" config 3 2>&1) || fail "config 3 failed: $out"
    sleep 0.8
    shot ctl-config3
    [ "$(report_count)" -eq $((before + 15)) ] || fail "$(($(report_count) - before)) reports, not the 15 of one upload"
    [ "$(last_fire_time)" = "001e" ] || fail "fire time is '$(last_fire_time)', not 001e of configuration 3"
    grep -q '^CurConfig=3' "$conf/config.ini" || fail "CurConfig was not saved as 3"
    same_pixels ctl-before ctl-config3 && fail "the window did not change"
    "$app/xk-r40-ctl" status >"$work/status" 2>&1 || fail "status failed: $(cat "$work/status")"
    grep -q '^owner: xk-r40 (running)' "$work/status" || fail "status was not answered by the program"
    grep -qx 'configuration: 3' "$work/status" || fail "the program's status does not show configuration 3"
    # The same window as configuration 3 chosen and applied by hand.
    "$app/xk-r40-ctl" config 1 >/dev/null 2>&1 || fail "config 1 failed"
    click 6
    click 3
    rest
    shot hand-config3
    same_pixels ctl-config3 hand-config3 || fail "the window after xk-r40-ctl config 3 differs from configuration 3 chosen by hand"
    # A button function by its name, with another field, in one upload.
    before=$(report_count)
    out=$("$app/xk-r40-ctl" set k1 "volume up" WHEEL_STATUS 1 2>&1) || fail "set failed: $out"
    sleep 0.8
    [ "$(report_count)" -eq $((before + 15)) ] || fail "set did not send one upload"
    reports_of 10 | tail -8 | has -q ' 10 02 00 ' || fail "button 1 is not left to the computer for Volume Up"
    [ "$(reports_of 11 | tail -1 | awk '{print $5}')" = "01" ] || fail "the wheel status was not applied"
    section_of "$conf/config.ini" Config3 | has -qx 'K1=24' || fail "K1=24 was not saved in configuration 3"
    ;;
ctl_set_refused)
    # A value out of range changes nothing and exits non-zero, with or without the program.
    cp "$bin/xk-r40-ctl" "$app/"
    out=$("$app/xk-r40-ctl" --virtual-mouse "$socket" apply 2>&1)
    [ $? -eq 3 ] || fail "no mouse did not exit with 3: $out"
    echo "$out" | has -q "xk-r40-vmouse --socket $socket serve" || fail "no mouse without the reason: $out"
    start_vmouse
    cp "$conf/config.ini" "$work/config-before.ini"
    out=$("$app/xk-r40-ctl" --virtual-mouse "$socket" set DPI_SET1 99 2>&1)
    [ $? -eq 2 ] || fail "set DPI_SET1 99 did not exit with 2: $out"
    echo "$out" | has -q '0\.\.11' || fail "the allowed range is not printed: $out"
    sleep 0.3
    [ "$(report_count)" -eq 0 ] || fail "set DPI_SET1 99 sent reports"
    cmp -s "$conf/config.ini" "$work/config-before.ini" || fail "set DPI_SET1 99 changed config.ini"
    start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    sleep 0.8
    before=$(report_count)
    cp "$conf/config.ini" "$work/config-running.ini"
    out=$("$app/xk-r40-ctl" set DPI_SET1 99 2>&1)
    [ $? -eq 2 ] || fail "set DPI_SET1 99 through the program did not exit with 2: $out"
    echo "$out" | has -q '0\.\.11' || fail "the program's answer lacks the range: $out"
    sleep 0.5
    [ "$(report_count)" -eq "$before" ] || fail "the program sent reports for a refused set"
    cmp -s "$conf/config.ini" "$work/config-running.ini" || fail "a refused set changed config.ini"
    "$app/xk-r40-ctl" status | has -q '^DPI_SET1=6 ' || fail "the program's record changed"
    ;;
refused_files)
    # Profiles and macro files the window could not have made are refused by xk-r40-ctl (alone
    # and through the program) and by the window's Import, naming the file: the person's files
    # and the chosen file stay byte for byte, the record and the macros stay, nothing is sent.
    cp "$bin/xk-r40-ctl" "$app/"
    ctl() { "$app/xk-r40-ctl" --virtual-mouse "$socket" "$@"; }
    profile() { # the Config1 keys as a profile, with line $1 (KEY=...) put in, or KEY dropped for "KEY"
        { echo '[Config7]'; section_of "$conf/config.ini" Config1 | grep -v "^${1%%=*}="; [ "${1#*=}" = "$1" ] || echo "$1"; } >"$2"
    }
    mkdir "$work/bad"
    profile 'K1' "$work/bad/p-missing-key.ini"
    profile 'DPI_SET1=12' "$work/bad/p-range.ini"
    profile 'FIRE_TIME=fast' "$work/bad/p-number.ini"
    printf '[Config7]\nK0=3\nFIRE_TIME=50\n' >"$work/bad/p-only-two.ini"
    section_of "$conf/config.ini" Config1 | sed 's/^K0=1$/K0=2/' | { echo '[Config7]'; cat; } >"$work/bad/p-no-left.ini"
    section_of "$conf/config.ini" Config1 | sed 's/^\(DPI_SET_EN[0-3]\)=.*/\1=0/' | { echo '[Config7]'; cat; } >"$work/bad/p-no-dpi.ini"
    { profile 'FIRE_TIME=100' /dev/stdout; head -c 1100000 /dev/zero | tr '\0' ';'; } >"$work/bad/p-large.ini"
    slot=$(printf '%03d' 66 0 $(seq 1 1062 | sed 's/.*/0/'))
    printf '[Macros]\r\n0=%s\r\n' "$slot" >"$work/bad/m-no-count.dat"
    printf '[Macros]\r\nmacroNum=99\r\n0=%s\r\n' "$slot" >"$work/bad/m-count-99.dat"
    printf '[Macros]\r\nmacroNum=2\r\n0=%s\r\n' "$slot" >"$work/bad/m-slot-missing.dat"
    printf '[Macros]\r\nmacroNum=1\r\n0=%sx\r\n' "$slot" >"$work/bad/m-slot-garbage.dat"
    { printf '[Macros]\r\nmacroNum=1\r\n0=%s\r\n' "$slot"; head -c 1100000 /dev/zero | tr '\0' ';'; } >"$work/bad/m-large.dat"
    sums() { checksums "$app" | grep -v xk-r40-ctl; checksums "$conf"; checksums "$work/bad"; }
    before_sums=$(sums)
    refuse_all() { # $1: who answers, for the failure text
        local f out status
        for f in "$work/bad"/*; do
            case "$f" in *.ini) out=$(ctl profile import "$f" 2>&1) ;; *) out=$(ctl macros import "$f" 2>&1) ;; esac
            status=$?
            [ "$status" -eq 2 ] || fail "$1: $(basename "$f") exited with $status, not 2: $out"
            echo "$out" | has -qF "$f" || fail "$1: $(basename "$f") is not named: $out"
        done
        [ "$(sums)" = "$before_sums" ] || fail "$1: a refused file changed a file"
    }
    start_vmouse
    refuse_all "xk-r40-ctl alone"
    [ "$(report_count)" -eq 0 ] || fail "xk-r40-ctl alone sent reports for refused files"
    start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    sleep 0.5
    before_sums=$(sums) # after the start's own upload and save
    status_before=$("$app/xk-r40-ctl" status; "$app/xk-r40-ctl" macros list)
    before=$(report_count)
    refuse_all "the program"
    # The window's Import: each file named in a message, which closes.
    import_in_window() { # $1 file, $2 the click that opens the dialog
        $2
        wait_windows_named "Open" || fail "no open dialog for $(basename "$1")"
        choose_file "$1"
        expect_message "refused-$(basename "$1")"
        close_message "for $(basename "$1")"
    }
    for f in "$work/bad"/p-*.ini; do import_in_window "$f" "click 14"; done
    click 10
    sleep 0.5
    for f in "$work/bad"/m-*.dat; do import_in_window "$f" "macro_click 0"; done
    [ "$(sums)" = "$before_sums" ] || fail "the window's Import of a refused file changed a file"
    [ "$(report_count)" -eq "$before" ] || fail "refused files sent reports"
    [ "$("$app/xk-r40-ctl" status; "$app/xk-r40-ctl" macros list)" = "$status_before" ] ||
        fail "refused files changed the program's record or macros"
    ;;
ctl_requests_to_program)
    # Requests are refused only while a popup is shown; a request whose file cannot be saved
    # exits 1 naming it, with no message box, nothing sent and nothing changed.
    cp "$bin/xk-r40-ctl" "$app/"
    # A macro whose name carries a terminal escape and a line break.
    values=(27 0 91 0 50 0 74 0 10 0 88 0) # ESC [ 2 J LF X
    while [ ${#values[@]} -lt 40 ]; do values+=(0); done
    while [ ${#values[@]} -lt 1064 ]; do values+=(0); done
    printf '[Macros]\r\nmacroNum=1\r\n0=%s\r\n' "$(printf '%03d' "${values[@]}")" >"$conf/Macro_EN.dat"
    for who in alone program; do
        [ "$who" = program ] && { start_vmouse; start_app; wid=$(xk_wait_window 20) || fail "no window"; sleep 0.8; }
        "$app/xk-r40-ctl" macros list >"$work/list" 2>&1 || fail "$who: macros list failed"
        grep -q $'\e' "$work/list" && fail "$who: macros list printed a raw escape"
        has -qxF '41  \x1b[2J\x0aX  (0 events, plays once)' <"$work/list" || fail "$who: macros list: $(cat "$work/list")"
    done
    # A popup that closed itself after a choice does not hold requests back.
    click 26
    sleep 0.5
    p=$(xdotool search --onlyvisible --name '^MainMenuDlg$' | head -1)
    [ -n "$p" ] || fail "no popup"
    out=$("$app/xk-r40-ctl" status 2>&1) && fail "a request was answered while the popup is shown"
    echo "$out" | has -q "popup open" || fail "no reason given while the popup is shown: $out"
    eval "$(xdotool getwindowgeometry --shell "$p")"
    xdotool mousemove $((X + WIDTH / 2)) $((Y + 2 * ((HEIGHT - 1) / 10) + 5)) sleep 0.3 click 1 sleep 0.5
    out=$("$app/xk-r40-ctl" status 2>&1) || fail "a request was refused after the popup closed: $out"
    "$app/xk-r40-ctl" apply >/dev/null 2>&1 || fail "apply after the popup closed failed"
    sleep 0.5
    # Files that cannot be replaced: folders in their place.
    status_before=$("$app/xk-r40-ctl" status; "$app/xk-r40-ctl" macros list)
    "$app/xk-r40-ctl" profile export "$work/p.ini" >/dev/null || fail "profile export failed"
    "$app/xk-r40-ctl" macros export "$work/m.dat" >/dev/null || fail "macros export failed"
    mv "$conf/config.ini" "$work/config.ini"; mkdir "$conf/config.ini"
    mv "$conf/Macro_EN.dat" "$work/Macro_EN.dat"; mkdir "$conf/Macro_EN.dat"
    before=$(report_count)
    while read -r file words; do
        # shellcheck disable=SC2086
        out=$("$app/xk-r40-ctl" $words 2>&1)
        status=$?
        [ "$status" -eq 1 ] || fail "$words exited with $status, not 1: $out"
        echo "$out" | has -qF "'$conf/$file'" || fail "$words does not name $file: $out"
        no_message 1 || fail "$words opened a message box"
    done <<EOF2
config.ini apply
config.ini config 2
config.ini set FIRE_TIME 100
config.ini profile import $work/p.ini
Macro_EN.dat macros import $work/m.dat
Macro_EN.dat reset --yes
EOF2
    sleep 0.5
    [ "$(report_count)" -eq "$before" ] || fail "requests that could not be saved sent reports"
    [ "$("$app/xk-r40-ctl" status; "$app/xk-r40-ctl" macros list)" = "$status_before" ] ||
        fail "requests that could not be saved changed the record or the macros"
    ;;
installed_program)
    # A per-user install into a prefix with a space: the launcher starts the installed program,
    # which uploads and saves into its own folder; the menu entry is valid and starts it too.
    prefix="$work/home dir/.local"
    folder=$prefix/share/xk-r40
    export XDG_CONFIG_HOME=$work/fresh-config XDG_DATA_HOME=$work/data
    conf=$XDG_CONFIG_HOME/xk-r40
    cmake --install "$bin/.." --prefix "$prefix" >"$work/install.log" 2>&1 ||
        fail "the install failed: $(tail -5 "$work/install.log")"
    for f in config.ini Macro_EN.dat Macro_CN.dat constMacro.dat skins/INI_EN/skin_main_en.ini \
        skins/main_mask.jpg 70-xk-r40.rules uninstall; do
        [ -e "$folder/$f" ] || fail "$f is not in the data folder"
    done
    for f in xk-r40 xk-r40-ctl; do
        [ -f "$prefix/bin/$f" ] && [ ! -L "$prefix/bin/$f" ] && [ -x "$prefix/bin/$f" ] || fail "bin/$f is not the program"
    done
    [ ! -e "$prefix/lib" ] || fail "the install made $prefix/lib"
    [ ! -e "$conf" ] || fail "the install made the person's folder"
    for size in 16 22 24 32 48 64 128 256; do
        [ -s "$prefix/share/icons/hicolor/${size}x$size/apps/xk-r40.png" ] || fail "no $size px icon"
    done
    entry=$prefix/share/applications/io.github.xk_r40.xk_r40.desktop
    desktop-file-validate "$entry" || fail "the menu entry is not valid"
    [ ! -e "$XDG_CONFIG_HOME/autostart/xk-r40.desktop" ] || fail "autostart was installed unasked"
    # The rule is written as root from its text, which the install and the README show.
    rule=$(grep '^KERNEL==' "$folder/70-xk-r40.rules")
    if ! cmp -s "$folder/70-xk-r40.rules" /etc/udev/rules.d/70-xk-r40.rules; then
        grep -qxF "  echo '$rule' | sudo tee /etc/udev/rules.d/70-xk-r40.rules >/dev/null && sudo udevadm control --reload-rules" \
            <(sed 's/^-- //' "$work/install.log") || fail "the install does not tell how to install the udev rule"
    fi
    grep -qF "echo '$rule' |" "$here/../../README.md" || fail "the README shows another udev rule"
    start_vmouse
    "$prefix/bin/xk-r40" --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    xk_wait_window 20 >/dev/null || fail "the installed program shows no window"
    wait_reports_above 0 || fail "the installed program uploaded nothing"
    sleep 0.5
    [ "$(reports_of 10 | wc -l)" -ge 8 ] || fail "not every button function was uploaded"
    [ "$conf/config.ini" -nt "$work/install.log" ] || fail "the upload did not save into the person's folder"
    [ "$(stat -c %a "$conf/config.ini" "$conf/Macro_EN.dat" "$conf/Macro_CN.dat" | sort -u)" = 600 ] ||
        fail "the person's files are not the person's alone"
    "$vmouse" --socket "$socket" unplug >/dev/null 2>&1
    wait_gone "$app_pid" 10 || fail "the installed program did not end when the mouse went"
    # From the menu, as the desktop starts it: no mouse here, so it says so and ends.
    gio launch "$entry" >>"$work/app.out" 2>&1 || fail "the menu entry does not start"
    wait_windows_named '^xk-r40$' || fail "the program started from the menu entry shows nothing"
    box=$(xdotool search --onlyvisible --name '^xk-r40$' | head -1)
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
    for i in $(seq 1 50); do
        xdotool search --onlyvisible --name 'xk-r40|XK-R40' >/dev/null 2>&1 || break
        sleep 0.1
    done
    xdotool search --onlyvisible --name 'xk-r40|XK-R40' >/dev/null 2>&1 && fail "a window is left"
    ;;
former_install_moves)
    # An upgrade from the former per-user install (everything in PREFIX/lib/xk-r40): the install
    # removes the old program and its links, and the first start moves the person's three files
    # into the person's folder once, byte for byte, and says so.
    rm -rf "$conf"
    prefix=$work/prefix
    old=$prefix/lib/xk-r40
    mkdir -p "$old/skins" "$prefix/bin"
    cp "$bin/xk-r40" "$bin/xk-r40-ctl" "$old/"
    echo old >"$old/skins/main_mask.jpg"
    echo old >"$old/uninstall"
    ln -s ../lib/xk-r40/xk-r40 "$prefix/bin/xk-r40"
    ln -s ../lib/xk-r40/xk-r40-ctl "$prefix/bin/xk-r40-ctl"
    printf '%s\n' bin/xk-r40 bin/xk-r40-ctl lib/xk-r40/skins/main_mask.jpg lib/xk-r40/uninstall \
        lib/xk-r40/xk-r40 lib/xk-r40/xk-r40-ctl >"$old/installed-files"
    sed 's/^CurConfig=.*/CurConfig=3/' "$bin/config.ini" >"$old/config.ini"
    { cat "$bin/Macro_EN.dat"; printf 'MINE=\xff\r\n'; } >"$old/Macro_EN.dat"
    { cat "$bin/Macro_CN.dat"; printf 'MINE=2\r\n'; } >"$old/Macro_CN.dat"
    chmod 600 "$old"/*.ini "$old"/*.dat
    (cd "$old" && sha256sum config.ini Macro_EN.dat Macro_CN.dat) >"$work/old-sums"
    cmake --install "$bin/.." --prefix "$prefix" >"$work/install.log" 2>&1 ||
        fail "the install failed: $(tail -5 "$work/install.log")"
    [ ! -L "$prefix/bin/xk-r40" ] && cmp -s "$prefix/bin/xk-r40" "$bin/xk-r40" || fail "bin/xk-r40 is not the new program"
    cmp -s "$bin/xk-r40" "$old/xk-r40" 2>/dev/null && fail "the install wrote through the old link"
    [ "$(cd "$old" && ls -A)" = "$(printf 'Macro_CN.dat\nMacro_EN.dat\nconfig.ini')" ] ||
        fail "the install left of the old program: $(cd "$old" && ls -A)"
    (cd "$old" && sha256sum -c --quiet "$work/old-sums") || fail "the install changed the person's files"
    # The first start, here without the mouse: it says so and ends, after the move.
    "$prefix/bin/xk-r40" --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    expect_message no-mouse-after-upgrade
    box=$(xdotool search --onlyvisible --name '^xk-r40$' | head -1)
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
    wait_gone "$app_pid" 10 || fail "the program did not end without the mouse"
    (cd "$conf" && sha256sum -c --quiet "$work/old-sums") || fail "the files did not move byte for byte"
    [ "$(stat -c %a "$conf/config.ini")" = 600 ] || fail "the moved config.ini changed its mode"
    [ ! -e "$old" ] || fail "the old folder stayed: $(ls -A "$old")"
    for f in config.ini Macro_EN.dat Macro_CN.dat; do
        grep -qF "moved $old/$f to $conf/$f" "$work/app.out" || fail "the move of $f was not said"
    done
    # Once: files laid down there again (an old install run again) stay where they are.
    mkdir "$old"
    echo stray >"$old/config.ini"
    cp "$bin/xk-r40-ctl" "$app/"
    start_vmouse
    out=$("$prefix/bin/xk-r40-ctl" --virtual-mouse "$socket" status 2>&1) || fail "status failed: $out"
    echo "$out" | has -qx 'configuration: 3' || fail "the moved configuration is not current: $out"
    echo "$out" | has -q moved && fail "a second move: $out"
    [ "$(cat "$old/config.ini")" = stray ] || fail "a second move took the file"
    (cd "$conf" && sha256sum -c --quiet "$work/old-sums") || fail "a second start changed the moved files"
    ;;
first_language)
    # The first config.ini follows the desktop's language, from the locale; later the file's
    # own VER_SEL rules. The person's folder and its parents are made as needed.
    rm -rf "$work/config"
    cp "$bin/xk-r40-ctl" "$app/"
    start_vmouse
    LC_ALL='' LC_MESSAGES='' LANG=zh_CN.UTF-8 start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload"
    tr -d '\r' <"$conf/config.ini" | has -qx 'VER_SEL=0' || fail "a Chinese desktop did not start in Chinese"
    [ "$(stat -c %a "$work/config" "$conf" | sort -u)" = 700 ] || fail "the new folders are open to others"
    [ "$(stat -c %a "$conf/config.ini" "$conf/Macro_EN.dat" "$conf/Macro_CN.dat" | sort -u)" = 600 ] ||
        fail "the new files are open to others"
    cmp -s "$conf/Macro_CN.dat" "$app/Macro_CN.dat" || fail "Macro_CN.dat is not the delivered one"
    "$vmouse" --socket "$socket" unplug >/dev/null 2>&1
    wait_gone "$app_pid" 10 || fail "the program did not end"
    # Made by xk-r40-ctl in an English locale; LC_ALL decides over LANG.
    rm -rf "$work/config"
    start_vmouse
    out=$(LC_ALL=en_GB.UTF-8 LANG=zh_CN.UTF-8 "$app/xk-r40-ctl" --virtual-mouse "$socket" status 2>&1) ||
        fail "status failed: $out"
    tr -d '\r' <"$conf/config.ini" | has -qx 'VER_SEL=1' || fail "an English desktop did not start in English"
    # After that VER_SEL rules, whatever the locale.
    sed -i 's/^VER_SEL=1/VER_SEL=0/' "$conf/config.ini"
    out=$(LANG=en_GB.UTF-8 "$app/xk-r40-ctl" --virtual-mouse "$socket" status 2>&1) || fail "status failed: $out"
    tr -d '\r' <"$conf/config.ini" | has -qx 'VER_SEL=0' || fail "the locale replaced the file's language"
    ;;
system_install)
    # Installed by root under a prefix that root owns (as /usr): a user saves settings and
    # macros into their own configuration folder, which defaults to ~/.config, and the person
    # here keeps theirs apart; nothing under the prefix changes.
    if [ "$(id -u)" -ne 0 ]; then
        echo "SKIP: $case_name: only root can install into a root-owned prefix and make a throwaway user"
        exit 77
    fi
    make_throwaway_user
    as_other() { setpriv --reuid="$other" --regid="$other" --clear-groups -- "$@"; }
    chmod 755 "$work"
    prefix=$work/usr
    cmake --install "$bin/.." --prefix "$prefix" >"$work/install.log" 2>&1 ||
        fail "the install failed: $(tail -5 "$work/install.log")"
    checksums "$prefix" >"$work/prefix-before"
    home=$work/home-other
    mkdir -m 700 "$home" "$work/run-other"
    chown "$other:$other" "$home" "$work/run-other"
    cp "$vmouse" "$work/vmouse-copy" && chmod 755 "$work/vmouse-copy"
    other_socket=$work/run-other/vmouse.sock
    as_other env -i HOME="$home" "$work/vmouse-copy" --socket "$other_socket" serve >/dev/null 2>&1 &
    pids+=("$!")
    xk_wait_vmouse "$vmouse" "$other_socket" || fail "the other user's virtual mouse did not start"
    out=$(as_other env -i HOME="$home" XDG_RUNTIME_DIR="$work/run-other" \
        "$prefix/bin/xk-r40-ctl" --virtual-mouse "$other_socket" set FIRE_TIME 100 2>&1) ||
        fail "set as another user failed: $out"
    theirs=$home/.config/xk-r40
    [ "$(stat -c %U "$theirs/config.ini" "$theirs/Macro_EN.dat" | sort -u)" = "$other" ] ||
        fail "the other user's files are not theirs: $(ls -l "$theirs")"
    section_of "$theirs/config.ini" Config1 | has -qx 'FIRE_TIME=100' || fail "the other user's change was not saved"
    start_vmouse
    out=$(XDG_CONFIG_HOME=$work/config "$prefix/bin/xk-r40-ctl" --virtual-mouse "$socket" set FIRE_TIME 200 2>&1) ||
        fail "set as the person failed: $out"
    section_of "$conf/config.ini" Config1 | has -qx 'FIRE_TIME=200' || fail "the person's change was not saved"
    section_of "$theirs/config.ini" Config1 | has -qx 'FIRE_TIME=100' || fail "the person's change reached the other user"
    checksums "$prefix" | diff "$work/prefix-before" - >/dev/null || fail "files under the prefix changed"
    ;;
reinstall_keeps_data)
    # Installing again (an upgrade) renews the program but keeps the person's settings and
    # macros; the uninstall keeps them too unless asked; autostart only when asked for.
    prefix=$work/prefix
    folder=$prefix/share/xk-r40
    export XDG_DATA_HOME=$work/data
    install() { cmake --install "$bin/.." --prefix "$prefix" "$@" >>"$work/install.log" 2>&1 || fail "install $* failed"; }
    install
    sed -i 's/^CurConfig=.*/CurConfig=3/' "$conf/config.ini"
    printf 'MACRO_MINE=1\r\n' >>"$conf/Macro_EN.dat"
    config_sum=$(md5sum <"$conf/config.ini")
    macro_sum=$(md5sum <"$conf/Macro_EN.dat")
    echo broken >"$folder/skins/main_mask.jpg"
    rm "$folder/constMacro.dat"
    install
    [ "$(md5sum <"$conf/config.ini")" = "$config_sum" ] || fail "the second install replaced config.ini"
    [ "$(md5sum <"$conf/Macro_EN.dat")" = "$macro_sum" ] || fail "the second install replaced Macro_EN.dat"
    cmp -s "$folder/skins/main_mask.jpg" "$bin/skins/main_mask.jpg" || fail "the second install did not renew the skin"
    [ -f "$folder/constMacro.dat" ] || fail "the second install did not lay down a missing program file"
    # The program starts from the kept files.
    start_vmouse
    "$prefix/bin/xk-r40" --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    xk_wait_window 20 >/dev/null || fail "no window after the second install"
    wait_reports_above 0 || fail "nothing uploaded after the second install"
    sleep 0.5
    grep -q '^CurConfig=3' "$conf/config.ini" || fail "the program did not start from the kept configuration"
    "$vmouse" --socket "$socket" unplug >/dev/null 2>&1
    wait_gone "$app_pid" 10 || fail "the program did not end"
    config_sum=$(md5sum <"$conf/config.ini") # as the program saved it
    # Autostart is the person's choice: its own component, hidden at login.
    install --component autostart
    autostart=$XDG_CONFIG_HOME/autostart/xk-r40.desktop
    desktop-file-validate "$autostart" || fail "the autostart entry is not valid"
    grep -qF "Exec=\"$prefix/bin/xk-r40\" --hidden" "$autostart" || fail "autostart does not start hidden"
    # The programs and their data alone.
    cmake --install "$bin/.." --prefix "$work/run" --component program >>"$work/install.log" 2>&1
    [ -x "$work/run/bin/xk-r40" ] && [ -f "$work/run/share/xk-r40/config.ini" ] || fail "no program alone"
    [ ! -e "$work/run/share/applications" ] && [ ! -e "$work/run/share/icons" ] || fail "the program alone brought the desktop files"
    # Uninstall: the person's files stay unless --purge.
    "$folder/uninstall" >>"$work/install.log" 2>&1 || fail "uninstall failed"
    [ -z "$(ls -A "$prefix")" ] || fail "uninstall left $(cd "$prefix" && find . | tr '\n' ' ')"
    [ "$(ls "$conf" | grep -vx xk-r40.lock)" = "$(printf 'Macro_CN.dat\nMacro_EN.dat\nconfig.ini')" ] ||
        fail "uninstall did not keep the person's files: $(ls "$conf")"
    [ ! -e "$autostart" ] || fail "uninstall left the autostart entry"
    [ "$(md5sum <"$conf/Macro_EN.dat")" = "$macro_sum" ] || fail "uninstall changed Macro_EN.dat"
    install
    [ "$(md5sum <"$conf/config.ini")" = "$config_sum" ] || fail "installing after an uninstall replaced config.ini"
    "$folder/uninstall" --purge >>"$work/install.log" 2>&1 || fail "uninstall --purge failed"
    [ -z "$(ls -A "$prefix")" ] || fail "uninstall --purge left $(cd "$prefix" && find . | tr '\n' ' ')"
    [ ! -e "$conf" ] || fail "uninstall --purge left $(ls -A "$conf")"
    ;;
start_hidden)
    # --hidden starts in the tray: no window, the settings uploaded, the computer-side buttons
    # at work; a second start shows the window.
    trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 24 >/dev/null 2>&1 &
    pids+=("$!")
    sleep 1
    sed -i '/^\[Config1\]/,/^\[/ s/^K4=.*/K4=24/' "$conf/config.ini" # button 4: Volume Up
    start_vmouse
    "$app/xk-r40" --hidden --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    wait_reports_above 0 || fail "the hidden start uploaded nothing"
    sleep 1
    xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null 2>&1 && fail "--hidden showed the window"
    kill -0 "$app_pid" 2>/dev/null || fail "the hidden start ended"
    "$vmouse" --socket "$socket" press 4 >/dev/null && "$vmouse" --socket "$socket" release 4 >/dev/null
    sleep 0.5
    reports_of 17 | has -q ' 17 00 e9 ' || fail "button 4 did not send Volume Up while hidden"
    "$app/xk-r40" --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    second=$!
    wait_gone "$second" 10 || fail "the second start did not end"
    xk_wait_window 10 >/dev/null || fail "the second start did not show the window"
    [ "$(xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" | wc -l)" -eq 1 ] || fail "more than one window"
    ;;
instance_any_environment)
    # The running program is found from every environment of its user: xk-r40-ctl and a second
    # start without XDG_RUNTIME_DIR, or with another one, reach it.
    trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 24 >/dev/null 2>&1 &
    pids+=("$!")
    sleep 1
    cp "$bin/xk-r40-ctl" "$app/"
    start_vmouse
    "$app/xk-r40" --hidden --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    wait_start_upload || fail "no upload"
    mkdir -m 700 "$work/elsewhere"
    for runtime in unset "$work/elsewhere"; do
        if [ "$runtime" = unset ]; then
            environment=(env -u XDG_RUNTIME_DIR)
        else
            environment=(env XDG_RUNTIME_DIR="$runtime")
        fi
        "${environment[@]}" "$app/xk-r40-ctl" status >"$work/status" 2>&1 ||
            fail "status with XDG_RUNTIME_DIR $runtime failed: $(cat "$work/status")"
        grep -q '^owner: xk-r40 (running)' "$work/status" ||
            fail "with XDG_RUNTIME_DIR $runtime, xk-r40-ctl did not ask the program: $(cat "$work/status")"
    done
    # A change without XDG_RUNTIME_DIR is made by the program: its record and one upload.
    before=$(report_count)
    out=$(env -u XDG_RUNTIME_DIR "$app/xk-r40-ctl" config 3 2>&1) || fail "config 3 failed: $out"
    sleep 0.8
    [ "$(report_count)" -eq $((before + 15)) ] || fail "$(($(report_count) - before)) reports, not the 15 of one upload"
    "$app/xk-r40-ctl" status | has -qx 'configuration: 3' || fail "the program's record did not follow"
    # A second start without XDG_RUNTIME_DIR shows the window of the first and ends.
    env -u XDG_RUNTIME_DIR "$app/xk-r40" --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    second=$!
    wait_gone "$second" 10 || fail "the second start did not end"
    wait "$second" || fail "the second start ended with status $?"
    xk_wait_window 10 >/dev/null || fail "the second start did not show the window"
    [ "$(xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" | wc -l)" -eq 1 ] || fail "more than one window"
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
    ;;
instance_other_user)
    # Another local user can neither answer for the person's program nor reach it, also where
    # it planted the folders the program once fell back to.
    if [ "$(id -u)" -ne 0 ]; then
        echo "SKIP: $case_name: only root can make a throwaway user"
        exit 77
    fi
    make_throwaway_user
    [ -x /usr/bin/python3 ] || { echo "SKIP: $case_name: no /usr/bin/python3 for the other user's server"; exit 77; }
    # The command itself as the other user (no process in between), so that its pid ends it.
    as_other() { setpriv --reuid="$other" --regid="$other" --clear-groups -- "$@"; }
    me=$(id -un)
    chmod 755 "$work"
    # The other user's program: it claims to have done whatever it is asked.
    cat >"$work/fake.py" <<'PY'
import os, socket, sys
server = socket.socket(socket.AF_UNIX)
server.bind(sys.argv[1])
os.chmod(sys.argv[1], 0o777)
server.listen(8)
print("listening", flush=True)
while True:
    peer, _ = server.accept()
    peer.recv(4096)
    peer.sendall(b"out owner: someone else\nexit 0\n")
    peer.close()
PY
    chmod 644 "$work/fake.py"
    cp "$bin/xk-r40-ctl" "$app/"
    cp "$vmouse" "$work/vmouse-copy" && chmod 755 "$work/vmouse-copy"
    fake() {
        [ -e "$1" ] && return 1
        planted+=("$1")
        as_other /usr/bin/python3 "$work/fake.py" "$1" >"$work/fake.out" 2>&1 &
        pids+=("$!")
        local i
        for i in $(seq 1 50); do
            grep -q listening "$work/fake.out" && return 0
            sleep 0.1
        done
        fail "the other user's server did not start: $(cat "$work/fake.out")"
    }
    if [ ! -e "/tmp/runtime-$me" ]; then
        planted+=("/tmp/runtime-$me")
        as_other mkdir -m 700 "/tmp/runtime-$me"
    fi
    # With its own lock, where a program without a runtime folder once met xk-r40-ctl.
    if fake /tmp/CNUV_DEvoraApp && [ ! -e /tmp/CNUV_DEvoraApp.lock ]; then
        fake_pid=${pids[-1]}
        planted+=(/tmp/CNUV_DEvoraApp.lock)
        printf '%s\n%s\n%s\n' "$fake_pid" "$(basename "$(readlink "/proc/$fake_pid/exe")")" "$(hostname)" |
            as_other tee /tmp/CNUV_DEvoraApp.lock >/dev/null
    fi
    start_vmouse
    out=$(env -u XDG_RUNTIME_DIR "$app/xk-r40-ctl" --virtual-mouse "$socket" status 2>&1) || fail "status alone failed: $out"
    echo "$out" | has -q '^owner: xk-r40-ctl' || fail "status without the program was not xk-r40-ctl's own: $out"
    start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload"
    out=$(env -u XDG_RUNTIME_DIR "$app/xk-r40-ctl" status 2>&1) || fail "status failed: $out"
    echo "$out" | has -q '^owner: xk-r40 (running)' || fail "status was not answered by the program: $out"
    # The program's socket: in a folder of its user alone, out of the other user's reach.
    control=$(control_socket_of "$app_pid")
    [ -n "$control" ] || fail "the program listens on no socket"
    [ "$(stat -c '%u %a' "$(dirname "$control")")" = "$(id -u) 700" ] ||
        fail "the socket's folder is $(stat -c '%U %a' "$(dirname "$control")")"
    as_other "$work/vmouse-copy" --socket "$control" state >"$work/other.out" 2>&1 &&
        fail "the other user connected to $control"
    has -q "no virtual mouse serves" <"$work/other.out" || fail "the other user's connection: $(cat "$work/other.out")"
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
    "$app/xk-r40-ctl" status | has -q '^owner: xk-r40 (running)' || fail "the program no longer answers"
    ;;
window_menu_exit)
    # No tray: the window's own menu (a right click on the main page) ends the program with the
    # exit report and the default pointer speed.
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 1
    xset m 7/1 1
    xdotool mousemove --window "$wid" 300 200 sleep 0.3 click 3 sleep 0.8
    menu=$(xdotool search --onlyvisible --class xk-r40 | grep -vx "$wid" | head -1)
    [ -n "$menu" ] || fail "no menu on a right click"
    eval "$(xdotool getwindowgeometry --shell "$menu")"
    shot window-menu
    # Its last item, "Exit Driver".
    xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 11)) sleep 0.4 click 1
    wait_gone "$app_pid" 10 || fail "Exit Driver in the window's menu did not end the program"
    last=$(grep ' feature ' "$work/reports.log" | tail -1 | awk '{print $4}')
    [ "$last" = "20" ] || fail "the last report is command '$last', not the exit report 20"
    accel=$(xset q | awk '/acceleration:/ {print $2, $4}')
    echo "$accel" | awk '{split($1, f, "/"); exit !(f[2] > 0 && f[1] == 2 * f[2] && $2 == 4)}' ||
        fail "pointer speed is not back at 10 (acceleration 2/1, threshold 4): $accel"
    ;;
unplug_mid_macro)
    # The mouse goes away while a macro holds its keys: the program ends cleanly, its files are
    # as they were, and it starts again with the mouse back.
    hold_macro
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload"
    sleep 0.5
    checksums "$conf" >"$work/before"
    play_and_wait_held 5 || fail "the macro did not start"
    "$vmouse" --socket "$socket" unplug >/dev/null 2>&1
    wait_gone "$app_pid" 10 || fail "the program goes on after the mouse was unplugged"
    exit_status || fail "the program ended with status $?"
    grep -Eiq 'sanitizer|segmentation|terminate|abort' "$work/app.out" && fail "the program did not end cleanly"
    checksums "$conf" | diff "$work/before" - >/dev/null || fail "files changed: $(checksums "$conf" | diff "$work/before" -)"
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window after the mouse came back"
    wait_start_upload || fail "no upload after the mouse came back"
    ;;
read_only_folder)
    # Apply, the main page's save, save macros, both exports and the reset into a person's
    # folder that takes no writes: each says so, the program goes on, and the folder is as it
    # was.
    if [ "$XK_E2E_OWN_MOUNTS" = 1 ]; then
        mount --bind "$conf" "$conf" && mounts+=("$conf") && mount -o remount,ro,bind "$conf" ||
            fail "cannot mount the person's folder read-only"
    elif [ "$(id -u)" -ne 0 ]; then
        chmod -R a-w "$conf" # permissions hold for this user
    else
        echo "SKIP: $case_name: root without mount namespaces: nothing keeps the folder read-only"
        exit 77
    fi
    touch "$conf/probe" 2>/dev/null && fail "the person's folder takes writes"
    checksums "$conf" >"$work/before"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    no_message 1 || fail "a message at start-up, which saves by itself"
    click 42 # wheel on
    before=$(report_count)
    click 3 # apply
    expect_message apply-read-only
    close_message "of apply"
    [ "$(report_count)" -gt "$before" ] || fail "apply did not upload"
    [ "$(reports_of 11 | tail -1 | awk '{print $5}')" = "01" ] || fail "apply did not send the wheel"
    click 0 # save
    expect_message save-read-only
    close_message "of save"
    click 15 # export profile, into the person's folder
    wait_windows_named "Save As" || fail "no save dialog"
    choose_file mine
    expect_message export-profile-read-only
    close_message "of the profile export"
    click 10 # the macro page
    sleep 0.5
    macro_click 5 # save macros
    expect_message save-macros-read-only
    close_message "of save macros"
    macro_click 1 # export macros
    wait_windows_named "Save As" || fail "no save dialog for the macros"
    choose_file mine
    expect_message export-macros-read-only
    close_message "of the macro export"
    click 16 # factory reset: config.ini and Macro_EN.dat
    expect_message reset-read-only
    close_message "of the reset"
    checksums "$conf" | diff "$work/before" - >/dev/null || fail "files changed: $(checksums "$conf" | diff "$work/before" -)"
    ;;
disk_full)
    # The person's folder on a small disk that fills: a save that does not fit says so and
    # leaves the old file whole, and once there is room the same work is saved.
    [ "$XK_E2E_OWN_MOUNTS" = 1 ] || { echo "SKIP: $case_name: no mount namespace for a small disk"; exit 77; }
    export XDG_CONFIG_HOME=$work/disk-config
    disk=$XDG_CONFIG_HOME/xk-r40
    mkdir -p "$disk"
    mount -t tmpfs -o size=$(($(du -sk "$conf" | cut -f1) + 2048))k tmpfs "$disk" && mounts+=("$disk") ||
        fail "cannot mount a small disk"
    cp -a "$conf/." "$disk/"
    conf=$disk
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    sleep 0.5
    # Record X and Y into macro 0; the macro file does not fit in the 8 KB left.
    click 10
    sleep 0.5
    # shellcheck disable=SC2046
    xdotool mousemove --window "$wid" $(list_line 0 1) sleep 0.2 click 1 sleep 0.3
    macro_click 4
    xdotool key x sleep 0.2 key y sleep 0.3
    macro_click 4
    cp "$conf/Macro_EN.dat" "$work/macros-before"
    dd if=/dev/zero of="$conf/filler" bs=4k 2>/dev/null
    truncate -s -8K "$conf/filler"
    macro_click 5 # save
    expect_message save-disk-full
    close_message "of the full disk"
    cmp -s "$conf/Macro_EN.dat" "$work/macros-before" || fail "the failed save changed Macro_EN.dat"
    [ -z "$(find "$conf" -maxdepth 1 -name '*.tmp*')" ] || fail "a temporary file was left: $(ls "$conf")"
    # Full to the last byte: apply cannot save config.ini either.
    cp "$conf/config.ini" "$work/config-before"
    dd if=/dev/zero of="$conf/filler2" bs=1k 2>/dev/null
    click 9 # the main page
    sleep 0.3
    click 3 # apply
    expect_message apply-disk-full
    close_message "of apply on the full disk"
    cmp -s "$conf/config.ini" "$work/config-before" || fail "the failed apply changed config.ini"
    # Room again: the recording is still there and is saved.
    rm "$conf/filler" "$conf/filler2"
    click 10
    sleep 0.5
    macro_click 5
    no_message 2 || fail "a message although the disk has room"
    grep -Eq '088001[0-9]{6}088002[0-9]{6}089001[0-9]{6}089002' "$conf/Macro_EN.dat" ||
        fail "the recording was not saved once there was room"
    ;;
broken_skin_pictures)
    # Pictures that are missing, cut short or not pictures at all, the window's mask among them:
    # no message, every page shows, and the program works.
    head -c 20000 /dev/urandom >"$app/skins/main_normal.jpg"
    head -c 3000 /dev/urandom >"$app/skins/main_mask.jpg"
    rm "$app/skins/advanced_over.jpg" "$app/skins/menu_normal.jpg"
    size=$(stat -c %s "$app/skins/color_normal_pink.jpg")
    truncate -s $((size / 2)) "$app/skins/color_normal_pink.jpg"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    no_message 1 || fail "a message for the pictures"
    shot broken-main
    click 26 # the function popup, without its picture
    sleep 0.5
    shot broken-popup
    xdotool key Escape
    click 10
    sleep 0.5
    shot broken-macro
    click 11
    sleep 0.8
    shot broken-light
    click 9
    sleep 0.3
    before=$(report_count)
    click 3
    wait_reports_above "$before" || fail "apply sent nothing"
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
    ;;
truncated_config)
    # config.ini cut off in the middle of configuration 1: what is there is used, the rest reads
    # as 0, and apply keeps every line that was there.
    head -c "$(grep -bo $'K4=4\r' "$conf/config.ini" | head -1 | cut -d: -f1)" "$conf/config.ini" >"$work/cut"
    printf 'K4' >>"$work/cut"
    cp "$work/cut" "$conf/config.ini"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    sleep 0.5
    got=$(reports_of 10 | head -8 | awk '{print $5 ":" $6}' | tr '\n' ' ')
    [ "$got" = "01:01 02:02 03:03 05:05 04:00 06:00 08:00 09:00 " ] || fail "button functions '$got'"
    click 3
    sleep 0.8
    size=$(stat -c %s "$work/cut")
    cmp -s -n "$size" "$work/cut" "$conf/config.ini" || fail "apply changed what was there"
    section_of "$conf/config.ini" Config1 | has -qx 'K4=0' || fail "apply did not complete configuration 1"
    kill "$app_pid"
    wait_gone "$app_pid" 10 || fail "the program did not end"
    start_app
    xk_wait_window 20 >/dev/null || fail "no window after a restart with the saved file"
    ;;
garbage_macro_file)
    # A user macro file of twelve macros of random digits and other bytes: the macro page shows
    # them, each can be selected, and the file stays as it was.
    {
        printf '[Macros]\r\nmacroNum=12\r\n'
        for i in $(seq 0 11); do
            printf '%d=' "$i"
            head -c 100000 /dev/urandom | tr -dc '0-9' | head -c 3192
            [ $((i % 3)) -eq 0 ] && head -c 40 /dev/urandom | tr -d '\r\n'
            printf '\r\n'
        done
        head -c 2000 /dev/urandom
    } >"$conf/Macro_EN.dat"
    checksum=$(sha256sum <"$conf/Macro_EN.dat")
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    click 10
    sleep 0.5
    for line in 0 3 6 9; do
        # shellcheck disable=SC2046
        xdotool mousemove --window "$wid" $(list_line "$line" 1) sleep 0.2 click 1 sleep 0.4
    done
    shot garbage-macros
    event_menu_at 1
    xdotool key Escape
    click 9
    sleep 0.3
    before=$(report_count)
    click 3
    wait_reports_above "$before" || fail "apply sent nothing"
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
    [ "$(sha256sum <"$conf/Macro_EN.dat")" = "$checksum" ] || fail "Macro_EN.dat changed without a save"
    ;;
stalled_mouse)
    # The mouse stops answering: apply gives up on it within a moment and says so, the window
    # paints itself meanwhile, and once the mouse answers again a later apply reaches it; the
    # program ends when asked while the mouse does not answer.
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    sleep 0.5
    click 10 # the macro page as it looks with the pointer on its tab
    sleep 0.5
    shot macro-page
    click 9
    apply_at=$(xk_element_centre "$layout" 3)
    # shellcheck disable=SC2086
    xdotool mousemove --window "$wid" $apply_at sleep 0.5 # the window as apply leaves it
    shot before-apply
    kill -STOP "$vmouse_pid"
    started=$(date +%s%N)
    # shellcheck disable=SC2086
    xdotool mousemove --window "$wid" $apply_at click 1
    # While apply waits for the mouse, the window is hidden and shown again: it has to paint
    # itself, before the message that ends the wait.
    xdotool windowunmap --sync "$wid" windowmap --sync "$wid"
    painted=""
    for i in $(seq 1 20); do
        shot stalled-apply
        if same_pixels before-apply stalled-apply; then
            painted=yes
            break
        fi
        xdotool search --onlyvisible --name '^xk-r40$' >/dev/null 2>&1 && break
        sleep 0.05
    done
    [ -n "$painted" ] || fail "the window did not paint itself while apply waited for the mouse"
    wait_windows_named '^xk-r40$' || fail "apply did not say that the mouse does not answer"
    waited=$((($(date +%s%N) - started) / 1000000))
    [ "$waited" -lt 4000 ] || fail "apply waited ${waited} ms for the mouse"
    shot no-answer-message
    close_message "that the mouse does not answer"
    click 10
    shown=""
    for i in $(seq 1 25); do
        shot stalled-macro-page
        if same_pixels macro-page stalled-macro-page; then
            shown=yes
            break
        fi
        sleep 0.2
    done
    [ -n "$shown" ] || fail "the window did not show the macro page while the mouse stalled"
    kill -CONT "$vmouse_pid"
    click 9
    sleep 0.3
    before=$(report_count)
    click 3
    wait_reports_above $((before + 14)) || fail "a later apply did not arrive: $(($(report_count) - before))"
    no_message 1 || fail "a message after an apply that the mouse answered"
    kill -STOP "$vmouse_pid"
    kill "$app_pid"
    wait_gone "$app_pid" 10 || fail "the program did not end while the mouse stalled"
    exit_status || fail "the program ended with status $? while the mouse stalled"
    kill -CONT "$vmouse_pid"
    ;;
tray_sni)
    # A StatusNotifierItem tray (KDE Plasma, GNOME's AppIndicator, every Wayland tray): a
    # stand-in watcher on a private session bus; the tray calls Activate once per click.
    /usr/bin/python3 -c 'import dbus, gi' 2>/dev/null ||
        { echo "SKIP: $case_name: no python3-dbus and python3-gi for the stand-in watcher"; exit 77; }
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus" >/dev/null 2>&1 &
    pids+=("$!")
    for i in $(seq 1 50); do [ -s "$work/bus" ] && break; sleep 0.1; done
    DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
    export DBUS_SESSION_BUS_ADDRESS
    /usr/bin/python3 "$here/sni_watcher.py" "$work/items" >"$work/watcher.out" 2>&1 &
    pids+=("$!")
    for i in $(seq 1 50); do
        gdbus introspect --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher >/dev/null 2>&1 && break
        sleep 0.1
    done
    start_vmouse
    "$app/xk-r40" --virtual-mouse "$socket" --hidden >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    wait_start_upload || fail "no upload"
    for i in $(seq 1 50); do [ -s "$work/items" ] && break; sleep 0.1; done
    [ -s "$work/items" ] || fail "the tray icon did not register with the watcher: $(cat "$work/watcher.out")"
    read -r service path <"$work/items"
    xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null 2>&1 && fail "the window shows at a hidden start"
    for round in 1 2; do
        xdotool mousemove 1270 890 # the pointer goes to the tray
        gdbus call --session --dest "$service" --object-path "$path" \
            --method org.kde.StatusNotifierItem.Activate 0 0 >/dev/null || fail "Activate was refused"
        wid=$(xk_wait_window 10) || fail "Activate $round did not show the window"
        sleep 0.5
        # The pointer comes back over the window, as a person's does, then closes it.
        xdotool mousemove --window "$wid" 300 300 sleep 0.2 mousemove --window "$wid" 310 310 sleep 0.2
        click 13 # close: hides to the tray
        sleep 0.8
        xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null 2>&1 && fail "closing left the window shown (round $round)"
    done
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended"
    ;;
pointer_speed_kept)
    # The person's own pointer acceleration survives the program: its exit puts back what the
    # desktop had at start, also after a run that was killed before it could.
    accel() { xset q | awk '/acceleration:/ {print $2, $4}'; }
    xset m 3/2 6
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload"
    [ "$(accel)" != "3/2 6" ] || fail "the start-up upload did not set the pointer speed"
    [ -s "$conf/desktop-pointer-setting" ] || fail "the setting of the start is not kept"
    kill -9 "$app_pid"
    wait_gone "$app_pid" 10 || fail "kill -9 did not end the program"
    before=$(report_count)
    start_app
    xk_wait_window 20 >/dev/null || fail "no window after the crash"
    wait_reports_above $((before + 17)) || fail "no upload after the crash"
    kill "$app_pid"
    wait_gone "$app_pid" 10 || fail "SIGTERM did not end the program"
    [ "$(accel)" = "3/2 6" ] || fail "the exit did not put back 3/2 6: $(accel)"
    [ ! -e "$conf/desktop-pointer-setting" ] || fail "the kept setting outlived a clean exit"
    ;;
popups_on_screen)
    # The popup, its media sub-popup and the warning stay whole on the screen that holds the
    # slot that opened them: at each edge of one screen, and on each of two monitors.
    screen_area="0 0 1280 900"
    # Whether window $1 lies wholly on the area "x y w h" of $2.
    on_area() {
        local ax ay aw ah
        read -r ax ay aw ah <<<"$2"
        eval "$(xdotool getwindowgeometry --shell "$1")"
        [ "$X" -ge "$ax" ] && [ "$Y" -ge "$ay" ] && [ $((X + WIDTH)) -le $((ax + aw)) ] &&
            [ $((Y + HEIGHT)) -le $((ay + ah)) ]
    }
    # Opens the popup of slot $1 and its media keys; both on area $2; then closes them.
    check_slot() {
        local p s
        click "$1"
        popup_geometry || fail "no popup for slot $1 ($where)"
        p=$(xdotool search --onlyvisible --name '^MainMenuDlg$' | head -1)
        on_area "$p" "$2" || fail "the popup of slot $1 leaves its screen ($where): $X,$Y ${WIDTH}x$HEIGHT"
        popup_geometry
        xdotool mousemove $((px + pw / 2)) $((py + 7 * ph + ph / 2)) sleep 0.2 \
            mousemove $((px + pw / 2 + 1)) $((py + 7 * ph + ph / 2)) sleep 0.4
        s=$(xdotool search --onlyvisible --name '^SubMenuDlg$' | head -1)
        [ -n "$s" ] || fail "no media keys for slot $1 ($where)"
        on_area "$s" "$2" || fail "the media keys of slot $1 leave the screen ($where): $X,$Y ${WIDTH}x$HEIGHT"
        shot "popups-$1-${where// /_}"
        xdotool key Escape sleep 0.3
        popup_geometry && { click 1; sleep 0.3; }
        popup_geometry && fail "the popup did not close ($where)"
        return 0
    }
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    for where in "380 0" "0 280" "-200 -60" "380 280"; do
        xdotool windowmove --sync "$wid" $where
        sleep 0.5
        check_slot 26 "$screen_area" # right column
        check_slot 29 "$screen_area" # left column, lower down
    done
    # The warning before the only left button changes, at the bottom right corner.
    warning_origin 25
    click 25
    warning_shown || fail "no warning"
    w=$(xdotool search --onlyvisible --name '^xk-r40$' | head -1)
    on_area "$w" "$screen_area" || fail "the warning leaves the screen: $X,$Y ${WIDTH}x$HEIGHT"
    xdotool key Escape sleep 0.5
    kill "$app_pid"
    wait_gone "$app_pid" 10 || fail "the program did not end"

    # Two monitors of 640x900 side by side; the window on each in turn.
    xrandr --setmonitor XK-LEFT 640/169x900/238+0+0 none >/dev/null 2>&1 &&
        xrandr --setmonitor XK-RIGHT 640/169x900/238+640+0 none >/dev/null 2>&1 ||
        { echo "SKIP: $case_name: the X server takes no monitors (xrandr --setmonitor)"; exit 77; }
    start_app
    wid=$(xk_wait_window 20) || fail "no window with two monitors"
    sleep 0.5
    # The right column's slot ends at the left monitor's edge: the popup stays on that monitor.
    where="left monitor"
    xdotool windowmove --sync "$wid" 0 100
    sleep 0.5
    check_slot 26 "0 0 640 900"
    where="right monitor"
    xdotool windowmove --sync "$wid" 500 100
    sleep 0.5
    check_slot 26 "640 0 640 900"
    check_slot 29 "640 0 640 900"
    ;;
hidpi_sharp)
    # At a scale factor of 2 the frame is composed at twice the pixels: the title's text is not
    # the 1x picture blown up.
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    xdotool windowmove --sync "$wid" 0 0
    sleep 0.8
    import -window root -crop 240x40+330+6 +repage "$work/title-1x.png"
    kill "$app_pid"
    wait_gone "$app_pid" 10 || fail "the program did not end"
    QT_SCALE_FACTOR=2 "$app/xk-r40" --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    wid=$(xk_wait_window 20) || fail "no window at scale 2"
    xdotool windowmove --sync "$wid" 0 0
    sleep 1.5
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    [ "$WIDTH" -ge 1700 ] || fail "the window is not twice as large: ${WIDTH}x$HEIGHT"
    import -window root -crop 480x80+660+12 +repage "$work/title-2x.png"
    shot hidpi-2x
    # Detail that a 1x picture cannot hold: taken down to 1x and up again, a frame composed at
    # 2x loses its fine edges, a 1x frame blown up (by any filter) keeps nearly all of it.
    rmse() { compare -metric RMSE "$1" "$2" null: 2>&1 | sed 's/.*(\(.*\))/\1/'; }
    convert "$work/title-2x.png" -filter Triangle -resize 50% -resize 200% "$work/title-2x-round.png"
    lost=$(rmse "$work/title-2x.png" "$work/title-2x-round.png")
    convert "$work/title-1x.png" -scale 200% "$work/title-up.png"
    convert "$work/title-up.png" -filter Triangle -resize 50% -resize 200% "$work/title-up-round.png"
    lost_up=$(rmse "$work/title-up.png" "$work/title-up-round.png")
    echo "lost $lost blown-up $lost_up"
    awk -v a="$lost" -v b="$lost_up" 'BEGIN { exit !(a > b) }' ||
        fail "the 2x title holds no more detail than the 1x one blown up ($lost, $lost_up)"
    ;;
hidraw_journey)
    # Nodes of their own: the program finds the mouse from sysfs and opens only its two vendor
    # nodes, uploads at the start, follows the button reports read from the node (a macro, a
    # media key) and not another report on it, lets other nodes' removals pass, and runs the
    # exit procedure when udev removes the node it stored.
    hold_macro
    sed -i '/^\[Config1\]/,/^\[/ s/^K5=[^\r]*/K5=24/' "$conf/config.ini" # button 6: volume up
    cp "$bin/xk-r40-ctl" "$app/"
    start_hidraw_mouse; start_hidraw_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload through hidraw"
    sleep 0.5
    [ "$(reports_of 10 | wc -l)" -eq 8 ] || fail "not every button function was uploaded"
    "$vmouse" --socket "$socket" state | has -qx 'refused_reports 0' || fail "reports were refused"
    opens=$(node_opens)
    for node in hidraw0 hidraw1 hidraw2; do
        has -qx "$node 0" <<<"$opens" || fail "a node that is not the mouse's vendor node was opened: $opens"
    done
    has -qx "hidraw3 0" <<<"$opens" && fail "the read node was not opened: $opens"
    has -qx "hidraw4 0" <<<"$opens" && fail "the write node was not opened: $opens"
    # Report 5 on the read node, shaped like button 6's press, is not the mouse's report 6.
    "$vmouse" --socket "$socket" raw 3 05 f6 01 00 00 00 00 00 >/dev/null || fail "raw report"
    "$vmouse" --socket "$socket" press 6 >/dev/null && "$vmouse" --socket "$socket" release 6 >/dev/null
    sleep 0.5
    [ "$(reports_of 17 | grep -c ' 17 00 e9 ')" -eq 1 ] || fail "button 6 sent $(reports_of 17 | grep -c ' 17 00 e9 ') Volume Up reports, not 1"
    # The DPI button's report: the program follows the mouse's level.
    "$vmouse" --socket "$socket" dpi 2 >/dev/null || fail "no button holds a DPI function"
    sleep 0.5
    "$app/xk-r40-ctl" status >"$work/status" 2>&1 || fail "status failed: $(cat "$work/status")"
    has -q '^DPI_LEVEL=2' <"$work/status" || fail "the DPI level did not follow the mouse: $(grep DPI_LEVEL "$work/status")"
    play_and_wait_held 5 || fail "button 5 did not play its macro"
    "$vmouse" --socket "$socket" remove 0 >/dev/null || fail "remove 0"
    "$vmouse" --socket "$socket" remove 1 >/dev/null || fail "remove 1"
    sleep 1
    kill -0 "$app_pid" 2>/dev/null || fail "the removal of another node ended the program"
    "$vmouse" --socket "$socket" remove 4 >/dev/null || fail "remove 4"
    wait_gone "$app_pid" 10 || fail "the removal of the stored node did not end the program"
    exit_status || fail "the program ended with status $?"
    last=$(grep ' feature ' "$work/reports.log" | tail -1 | awk '{print $4}')
    [ "$last" = "20" ] || fail "the last report is command '$last', not the exit report 20"
    ;;
hidraw_no_access)
    # Nodes the user may not open (no udev rule): the mouse counts as missing, as before its
    # nodes were found from sysfs: the program says so and ends.
    start_hidraw_mouse
    for node in 1 2 3 4; do "$vmouse" --socket "$socket" deny "$node" >/dev/null || fail "deny $node"; done
    start_hidraw_app
    expect_message no-access
    xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null 2>&1 && fail "the main window shows"
    box=$(xdotool search --onlyvisible --name '^xk-r40$' | head -1)
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
    wait_gone "$app_pid" 10 || fail "the program goes on without access to the mouse"
    ;;
hidraw_one_node)
    # Both vendor collections on one node, which also declares a longer feature report: every
    # report goes out at that collection's length, none refused, and a button works.
    sed -i '/^\[Config1\]/,/^\[/ s/^K3=[^\r]*/K3=24/' "$conf/config.ini" # volume up
    start_hidraw_mouse --one-node; start_hidraw_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload through hidraw"
    "$vmouse" --socket "$socket" press 5 >/dev/null && "$vmouse" --socket "$socket" release 5 >/dev/null
    sleep 0.5
    reports_of 17 | has -q ' 17 00 e9 ' || fail "button 5 did not send Volume Up"
    lengths=$(grep ' feature ' "$work/reports.log" | awk '{print NF - 2}' | sort -u)
    [ "$lengths" = "32" ] || fail "feature reports of lengths $(echo $lengths) bytes, not 32"
    "$vmouse" --socket "$socket" state | has -qx 'refused_reports 0' || fail "reports were refused"
    ;;
hidraw_unplug)
    # The kernel's unplug: open files hang up, then udev removes every node.
    start_hidraw_mouse; start_hidraw_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload through hidraw"
    "$vmouse" --socket "$socket" unplug >/dev/null || fail "unplug"
    wait_gone "$app_pid" 10 || fail "the program goes on after the mouse was unplugged"
    exit_status || fail "the program ended with status $?"
    ;;
hidraw_read_node_lost)
    # Only the read interface goes (its driver unbound): udev removes a node that is not the
    # stored one, the read handle hangs up, and the program ends as for an unplug.
    start_hidraw_mouse; start_hidraw_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload through hidraw"
    "$vmouse" --socket "$socket" unplug 3 >/dev/null || fail "unplug 3"
    wait_gone "$app_pid" 10 || fail "the program goes on without the read interface"
    exit_status || fail "the program ended with status $?"
    last=$(grep ' feature ' "$work/reports.log" | tail -1 | awk '{print $4}')
    [ "$last" = "20" ] || fail "the last report is command '$last', not the exit report 20"
    ;;
hidraw_stall)
    # A firmware that STALLs every send: apply gives up on each report and says the mouse
    # refused the settings, the window goes on answering and the program ends when asked.
    start_hidraw_mouse; start_hidraw_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload through hidraw"
    sleep 0.5
    click 10
    sleep 0.5
    shot macro-page
    click 9
    sleep 0.3
    "$vmouse" --socket "$socket" stall on >/dev/null || fail "stall on"
    before=$("$vmouse" --socket "$socket" state | awk '$1 == "feature_reports" {print $2}')
    click 3 # apply
    expect_message "refused"
    close_message "of the refused settings"
    click 10
    responded=""
    for i in $(seq 1 50); do
        shot stalled-macro-page
        if same_pixels macro-page stalled-macro-page; then
            responded=yes
            break
        fi
        sleep 0.2
    done
    [ -n "$responded" ] || fail "the window did not show the macro page while the mouse stalled"
    after=$("$vmouse" --socket "$socket" state | awk '$1 == "feature_reports" {print $2}')
    [ "$after" = "$before" ] || fail "a stalled report was taken"
    kill "$app_pid"
    wait_gone "$app_pid" 5 || fail "TERM did not end the program"
    ;;
hidraw_ctl)
    # xk-r40-ctl on the real backend: alone it uploads itself, beside the program it asks it.
    cp "$bin/xk-r40-ctl" "$app/"
    start_hidraw_mouse
    out=$("$app/xk-r40-ctl" set DPI_SET1 3 2>&1) || fail "set alone failed: $out"
    wait_reports_above 0 || fail "set alone sent nothing: $out"
    "$app/xk-r40-ctl" status >"$work/status" 2>&1 || fail "status alone failed: $(cat "$work/status")"
    has -q '^DPI_SET1=3 ' <"$work/status" || fail "status alone does not show DPI_SET1=3: $(cat "$work/status")"
    start_hidraw_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload through hidraw"
    sleep 0.5
    out=$("$app/xk-r40-ctl" set DPI_SET1 4 2>&1) || fail "set beside the program failed: $out"
    "$app/xk-r40-ctl" status >"$work/status" 2>&1 || fail "status failed: $(cat "$work/status")"
    has -q '^owner: xk-r40 (running)' <"$work/status" || fail "status was not answered by the program"
    has -q '^DPI_SET1=4 ' <"$work/status" || fail "the program's status does not show DPI_SET1=4"
    "$vmouse" --socket "$socket" state | has -qx 'refused_reports 0' || fail "reports were refused"
    ;;
install_integration)
    # What an install adds for the desktop and the shell: the menu entry and the metainfo named
    # by the desktop id (an earlier xk-r40.desktop goes), the scalable icon, the manual pages,
    # the completion, and the user unit that the udev rule starts, which runs the installed
    # program hidden; uninstall takes them all away again.
    prefix="$work/home dir/.local"
    id=$(sed -n 's/^set(XK_DESKTOP_ID \([^ )]*\)).*/\1/p' "$here/../../CMakeLists.txt")
    export XDG_CONFIG_HOME=$work/config
    mkdir -p "$prefix/share/applications"
    printf '[Desktop Entry]\nType=Application\nName=old\nExec=xk-r40\n' >"$prefix/share/applications/xk-r40.desktop"
    cmake --install "$bin/.." --prefix "$prefix" >"$work/install.log" 2>&1 ||
        fail "the install failed: $(tail -5 "$work/install.log")"
    [ ! -e "$prefix/share/applications/xk-r40.desktop" ] || fail "the earlier menu entry is left"
    desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "the menu entry is not valid"
    appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 ||
        fail "the metainfo: $(cat "$work/as.log")"
    has -qE '^(W|E):' <"$work/as.log" && fail "the metainfo: $(cat "$work/as.log")"
    for f in share/icons/hicolor/scalable/apps/xk-r40.svg share/man/man1/xk-r40.1.gz \
        share/man/man1/xk-r40-ctl.1.gz share/bash-completion/completions/xk-r40-ctl; do
        [ -s "$prefix/$f" ] || fail "$f is not installed"
    done
    unit=$prefix/share/systemd/user/xk-r40.service
    has -qxF "ExecStart=\"$prefix/bin/xk-r40\" --hidden" <"$unit" || fail "the user unit: $(cat "$unit")"
    has -qx 'PartOf=graphical-session.target' <"$unit" || fail "the user unit is no part of the session"
    # The unit's command line, as systemd splits it, starts the installed program.
    exec_line=$(sed -n 's/^ExecStart=//p' "$unit")
    eval "words=($exec_line)"
    out=$(env -u DISPLAY "${words[0]}" --version 2>&1) || fail "the unit's program does not run: $out"
    [ "${words[1]}" = --hidden ] || fail "the unit does not start it hidden"
    "$prefix/share/xk-r40/uninstall" >>"$work/install.log" 2>&1 || fail "uninstall failed"
    left=$(cd "$prefix" && find . -type f | sort | tr '\n' ' ')
    [ -z "$left" ] || fail "uninstall left $left"
    ;;
help_without_display)
    # --help and --version are answered without a display, from the project's one version;
    # a refused option prints the usage on stderr; a start without a display ends with a line.
    version=$(sed -n 's/^project(xk-r40 VERSION \([0-9.]*\).*/\1/p' "$here/../../CMakeLists.txt")
    [ -n "$version" ] || fail "no version in CMakeLists.txt"
    bare=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
    out=$("${bare[@]}" "$bin/xk-r40" --help 2>"$work/err"); status=$?
    [ "$status" -eq 0 ] || fail "xk-r40 --help ended with $status: $(cat "$work/err")"
    has -q '^usage: xk-r40 \[--hidden\]' <<<"$out" || fail "xk-r40 --help: $out"
    has -q -- '--version' <<<"$out" || fail "xk-r40 --help does not name --version"
    for program in xk-r40 xk-r40-ctl; do
        out=$("${bare[@]}" "$bin/$program" --version 2>&1) || fail "$program --version failed: $out"
        [ "$out" = "$program $version" ] || fail "$program --version says '$out', not '$program $version'"
    done
    "${bare[@]}" "$bin/xk-r40" --bogus >"$work/out" 2>"$work/err"; status=$?
    [ "$status" -eq 2 ] || fail "an unknown option ended with $status, not 2"
    [ ! -s "$work/out" ] || fail "an unknown option wrote on stdout: $(cat "$work/out")"
    has -q -- '--bogus' <"$work/err" && has -q '^usage: xk-r40' <"$work/err" ||
        fail "an unknown option does not say so with the usage: $(cat "$work/err")"
    "${bare[@]}" "$app/xk-r40" --hidden >"$work/out" 2>"$work/err"; status=$?
    [ "$status" -eq 1 ] || fail "a start without a display ended with $status: $(cat "$work/err")"
    [ "$(wc -l <"$work/err")" -eq 1 ] && has -q 'no display' <"$work/err" ||
        fail "a start without a display says: $(cat "$work/err")"
    ;;
second_hidden_start)
    # A hidden start while the program runs (the login's autostart besides the mouse's arrival)
    # ends at once and leaves the window hidden; the first goes on.
    trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 24 >/dev/null 2>&1 &
    pids+=("$!")
    sleep 1
    start_vmouse
    "$app/xk-r40" --hidden --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    wait_start_upload || fail "the hidden start uploaded nothing"
    sleep 0.5
    xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null 2>&1 && fail "--hidden showed the window"
    "$app/xk-r40" --hidden --virtual-mouse "$socket" >>"$work/app.out" 2>&1 &
    second=$!
    pids+=("$second")
    wait_gone "$second" 10 || fail "the second hidden start did not end"
    sleep 1
    xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" >/dev/null 2>&1 && fail "a second hidden start showed the window"
    kill -0 "$app_pid" 2>/dev/null || fail "the first program ended"
    ;;
hidden_without_mouse)
    # Hidden (at login, or started by the mouse's arrival) without the mouse: no message box,
    # one line on stderr that says why, and the program ends. Without --hidden the message
    # stays, and stderr says why too.
    "$app/xk-r40" --hidden --virtual-mouse "$work/no-mouse.sock" >"$work/out" 2>"$work/err" &
    app_pid=$!
    pids+=("$app_pid")
    seen=""
    for i in $(seq 1 50); do
        xdotool search --onlyvisible --name 'xk-r40|XK-R40' >/dev/null 2>&1 && seen=yes
        kill -0 "$app_pid" 2>/dev/null || break
        sleep 0.1
    done
    wait_gone "$app_pid" 5 || fail "the hidden start without the mouse goes on"
    [ -z "$seen" ] || fail "the hidden start without the mouse showed a window"
    [ "$(wc -l <"$work/err")" -eq 1 ] && has -q "no virtual mouse answers at $work/no-mouse.sock" <"$work/err" ||
        fail "stderr of the hidden start: $(cat "$work/err")"
    "$app/xk-r40" --virtual-mouse "$work/no-mouse.sock" >"$work/out" 2>"$work/err" &
    app_pid=$!
    pids+=("$app_pid")
    expect_message no-mouse
    has -q "no virtual mouse answers at $work/no-mouse.sock" <"$work/err" ||
        fail "the message's start does not say why on stderr: $(cat "$work/err")"
    box=$(xdotool search --onlyvisible --name '^xk-r40$' | head -1)
    xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
    wait_gone "$app_pid" 10 || fail "the program goes on after the message"
    ;;
ctl_completion)
    # The bash completion of xk-r40-ctl offers its commands, every key that set takes, the
    # function names of the current language from xk-r40-ctl itself, and file names.
    cp "$bin/xk-r40-ctl" "$app/"
    complete_line() { # words of the line; the last is the one completed
        XK_CTL=$app/xk-r40-ctl bash -c '
            . "$0"
            COMP_WORDS=("$XK_CTL" "$@"); COMP_CWORD=$#
            _xk_r40_ctl
            printf "%s\n" "${COMPREPLY[@]}"' "$here/../../data/completion/xk-r40-ctl" "$@"
    }
    [ "$(complete_line "" | sort | tr '\n' ' ')" = "apply config functions help macros profile reset set status " ] ||
        fail "commands offered: $(complete_line "")"
    [ "$(complete_line --virtual-mouse "$socket" ma)" = macros ] || fail "no command after the socket"
    keys=$(complete_line set "")
    for key in $keys; do
        out=$("$app/xk-r40-ctl" --virtual-mouse "$socket" set "$key" 999 2>&1)
        [ $? -eq 2 ] && ! has -qi "unknown key\|no key" <<<"$out" || fail "set does not take the offered key $key: $out"
    done
    for key in K0 K7 DPI_SET3 DPI_SET_EN0 FIRE_TIME WHEEL_SPEED LED_STATUS; do
        has -qx "$key" <<<"$keys" || fail "set's key $key is not offered"
    done
    [ "$(complete_line set dpi_set_)" = "$(printf 'DPI_SET_EN0\nDPI_SET_EN1\nDPI_SET_EN2\nDPI_SET_EN3')" ] ||
        fail "keys for dpi_set_: $(complete_line set dpi_set_)"
    [ "$(complete_line set K5 "Volume U")" = 'Volume\ Up' ] || fail "function names: $(complete_line set K5 "Volume U")"
    # Every name offered is one that set takes.
    names=$(complete_line set K5 "")
    [ "$(wc -l <<<"$names")" -gt 20 ] || fail "function names offered: $names"
    [ "$(complete_line set K5 1 DPI_LEVEL "")" = "$(printf '0\n1\n2\n3')" ] || fail "values after a pair"
    touch "$work/profile one.ini"
    [ "$(complete_line profile import "$work/profile")" = "$work/profile one.ini" ] ||
        fail "file names: $(complete_line profile import "$work/profile")"
    [ "$(complete_line macros "")" = "$(printf 'list\nexport\nimport')" ] || fail "macros' words"
    [ -z "$(complete_line macros list "")" ] || fail "macros list takes nothing"
    ;;
wayland_session)
    # In a Wayland session the program runs through XWayland (here the test's X server stands
    # for it): Qt is not asked for its Wayland platform, the window maps with its shape.
    start_vmouse
    XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=wayland-xk-none "$app/xk-r40" --virtual-mouse "$socket" \
        >>"$work/app.out" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    wid=$(xk_wait_window 20) || fail "no window in a Wayland session"
    wait_start_upload || fail "no upload"
    has -q 'platform plugin "wayland"' <"$work/app.out" && fail "Qt was asked for its Wayland platform"
    # The mask cuts the window's bounding shape inside its 900x620.
    xwininfo -id "$wid" -shape | has -q 'Window shape extents: *892x614' || fail "the window has no shape"
    ;;
*)
    fail "unknown case"
    ;;
esac
echo "PASS: $case_name"
