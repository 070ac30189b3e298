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
checksums() { (cd "$1" && find . -type f ! -name xk-r40.lock -print0 | sort -z | xargs -0 sha256sum); }

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
    printf '[Macros]\r\nmacroNum=1\r\n0=%s\r\n' "$(printf '%03d' "${values[@]}")" >"$app/Macro_EN.dat"
    sed -i '/^\[Config1\]/,/^\[/ s/^K3=[^\r]*/K3=41/' "$app/config.ini"
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
dotfile_link)
    # config.ini is a dotfile manager's link, and killed saves left temporaries: the program
    # removes its leftovers at start, and Apply writes through the link into its target.
    mkdir "$work/dotfiles"
    mv "$app/config.ini" "$work/dotfiles/config.ini"
    ln -s "$work/dotfiles/config.ini" "$app/config.ini"
    for f in "$work/dotfiles/config.ini.tmp4242-0" "$app/Macro_EN.dat.tmp7-3" "$app/Macro_CN.dat.tmp7-4"; do
        echo partial >"$f"
    done
    echo mine >"$app/config.ini.tmp-notes"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    leftovers=$(ls "$work/dotfiles" "$app" | grep '\.tmp[0-9]')
    [ -z "$leftovers" ] || fail "leftovers of killed saves stayed: $leftovers"
    [ -f "$app/config.ini.tmp-notes" ] || fail "a file of the person's that looks alike was removed"
    click 6 # configuration 3
    click 3 # apply
    sleep 0.8
    [ -L "$app/config.ini" ] || fail "the link was replaced by a plain file"
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
    chown -R 65534:65534 "$app"
    checksums "$app" >"$work/before"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    click 42 # wheel on
    click 3  # apply
    expect_message apply-as-root
    close_message "of apply"
    checksums "$app" >"$work/after"
    cmp -s "$work/before" "$work/after" || fail "root changed the person's files: $(diff "$work/before" "$work/after")"
    mine=$(find "$app" ! -user 65534 ! -name xk-r40.lock)
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
    grep -Eq '088001[0-9]{6}088002[0-9]{6}089001[0-9]{6}089002' "$app/Macro_EN.dat" ||
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
    section_of "$app/config.ini" Config1 | has -q '^K6=32' || fail "button 6 did not get code 32"
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
    tr -d '\r' <"$app/Macro_EN.dat" | has -q '^0=.\{132\}065001250000065002030000242002030000' ||
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
factory_reset)
    # Configuration 1 and 5 and the user macros differ from the factory state; configuration 1
    # has the repeat-until-stopped macro mode, which the reset keeps.
    sed -i -e '/^\[Config1\]/,/^\[/ { s/^FIRE_TIME=.*/FIRE_TIME=240/; s/^MACRO_MODE2=.*/MACRO_MODE2=1/ }' \
        -e '/^\[Config5\]/,/^\[/ { s/^K5=.*/K5=40/; s/^FIRE_TIME=.*/FIRE_TIME=16/ }' "$app/config.ini"
    printf '[Macros]\nmacroNum=0\n' >"$app/Macro_EN.dat"
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
    section_of "$app/config.ini" Config1 | has -qx 'MACRO_MODE2=1' || fail "configuration 1 lost its macro mode"
    section_of "$app/config.ini" Config1 | has -qx 'FIRE_TIME=50' || fail "configuration 1 is not the built-in default"
    [ "$(section_of "$app/config.ini" Config5)" = "$(section_of "$app/config.ini" CfgReset_EN5)" ] ||
        fail "configuration 5 is not CfgReset_EN5 in English"
    # The saved file keeps its own line ends.
    cmp -s <(tr -d "\r" <"$app/Macro_EN.dat") <(tr -d "\r" <"$app/skins/INI_EN/defMacro.dat") ||
        fail "Macro_EN.dat is not the factory macros"
    grep -q '^CurConfig=1' "$app/config.ini" || fail "CurConfig changed"
    ;;
language_switch)
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    sleep 0.5
    cp "$app/config.ini" "$work/config-before.ini"
    before=$(report_count)
    click 17 # Chinese; the pointer stays over it
    sleep 0.8
    shot main-cn
    grep -q '^VER_SEL=0' "$app/config.ini" || fail "VER_SEL is not 0"
    diff <(grep -v '^VER_SEL=' "$work/config-before.ini") <(grep -v '^VER_SEL=' "$app/config.ini") >/dev/null ||
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
    grep -q '^VER_SEL=1' "$app/config.ini" || fail "VER_SEL is not 1"
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
    [ -f "$app/mine.ini" ] || fail "no mine.ini in the program folder"
    [ "$(stat -c %a "$app/mine.ini")" = 600 ] || fail "a new profile is readable by others"
    [ "$(section_of "$app/mine.ini" Config7)" = "$(section_of "$app/config.ini" Config1)" ] ||
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
    printf '[Macros]\r\nmacroNum=1\r\n0=%s\r\n' "$(printf '%03d' "${values[@]}")" >"$app/Macro_EN.dat"
    sed -i '/^\[Config1\]/,/^\[/ s/^K3=[^\r]*/K3=41/' "$app/config.ini"
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
    "$app/xk-r40" --hidden --virtual-mouse "$work/no-mouse.sock" >>"$work/app.out" 2>&1 &
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
    # report at report 7's own length (8 bytes), none refused.
    sed -i '/^\[Config1\]/,/^\[/ s/^K3=[^\r]*/K3=24/' "$app/config.ini" # volume up
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
    [ "$lengths" = "8" ] || fail "feature reports of lengths $(echo $lengths) bytes, not 8"
    "$vmouse" --socket "$socket" state | has -qx 'refused_reports 0' || fail "reports were refused"
    # The listener and the executor run five nice steps above the rest, where that is allowed.
    base=$(sed 's/.*) //' "/proc/$app_pid/stat" | awk '{print $17}')
    if [ "$(nice -n -5 nice 2>/dev/null)" = "$((base - 5))" ]; then
        raised=$(for t in /proc/"$app_pid"/task/*/stat; do sed 's/.*) //' "$t" | awk '{print $17}'; done | grep -cx -- "$((base - 5))")
        [ "$raised" -eq 2 ] || fail "$raised threads raised, not the listener and the executor"
    fi
    ;;
no_config)
    # Without config.ini every field is 0: buttons left to the computer, configuration 0; the
    # upload creates the file with Config6 and Config0, in CR LF as Windows writes it.
    rm "$app/config.ini"
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    wait_start_upload || fail "no upload"
    sleep 0.5
    [ "$(reports_of 10 | awk '{print $6}' | sort -u)" = "00" ] || fail "a button got a device function"
    [ -f "$app/config.ini" ] || fail "no config.ini was made"
    grep -q '^CurConfig=0' "$app/config.ini" || fail "CurConfig is not 0"
    grep -q '^\[Config6\]' "$app/config.ini" || fail "no Config6"
    grep -q '^\[Config0\]' "$app/config.ini" || fail "no Config0"
    [ "$(grep -c $'\r$' "$app/config.ini")" -eq "$(wc -l <"$app/config.ini")" ] ||
        fail "config.ini has line ends other than CR LF"
    ;;
ctl_config_alone)
    # Without the program, xk-r40-ctl uploads configuration 3 itself and keeps it current.
    cp "$bin/xk-r40-ctl" "$app/"
    sed -i '/^\[Config3\]/,/^\[/ s/^FIRE_TIME=.*/FIRE_TIME=240/' "$app/config.ini"
    start_vmouse
    out=$("$app/xk-r40-ctl" --virtual-mouse "$socket" config 3 2>&1) || fail "config 3 failed: $out"
    wait_reports_above 14 || fail "no upload: $out"
    sleep 0.3
    [ "$(report_count)" -eq 15 ] || fail "$(report_count) reports, not the 15 of one upload"
    [ "$(last_fire_time)" = "001e" ] || fail "fire time is '$(last_fire_time)', not 001e of configuration 3"
    grep -q '^CurConfig=3' "$app/config.ini" || fail "CurConfig was not saved as 3"
    [ "$(section_of "$app/config.ini" Config6)" = "$(section_of "$app/config.ini" Config3)" ] ||
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
    sed -i '/^\[Config3\]/,/^\[/ s/^FIRE_TIME=.*/FIRE_TIME=240/' "$app/config.ini"
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
    grep -q '^CurConfig=3' "$app/config.ini" || fail "CurConfig was not saved as 3"
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
    section_of "$app/config.ini" Config3 | has -qx 'K1=24' || fail "K1=24 was not saved in configuration 3"
    ;;
ctl_set_refused)
    # A value out of range changes nothing and exits non-zero, with or without the program.
    cp "$bin/xk-r40-ctl" "$app/"
    out=$("$app/xk-r40-ctl" --virtual-mouse "$socket" apply 2>&1)
    [ $? -eq 3 ] || fail "no mouse did not exit with 3: $out"
    echo "$out" | has -q "xk-r40-vmouse --socket $socket serve" || fail "no mouse without the reason: $out"
    start_vmouse
    cp "$app/config.ini" "$work/config-before.ini"
    out=$("$app/xk-r40-ctl" --virtual-mouse "$socket" set DPI_SET1 99 2>&1)
    [ $? -eq 2 ] || fail "set DPI_SET1 99 did not exit with 2: $out"
    echo "$out" | has -q '0\.\.11' || fail "the allowed range is not printed: $out"
    sleep 0.3
    [ "$(report_count)" -eq 0 ] || fail "set DPI_SET1 99 sent reports"
    cmp -s "$app/config.ini" "$work/config-before.ini" || fail "set DPI_SET1 99 changed config.ini"
    start_app
    xk_wait_window 20 >/dev/null || fail "no window"
    sleep 0.8
    before=$(report_count)
    cp "$app/config.ini" "$work/config-running.ini"
    out=$("$app/xk-r40-ctl" set DPI_SET1 99 2>&1)
    [ $? -eq 2 ] || fail "set DPI_SET1 99 through the program did not exit with 2: $out"
    echo "$out" | has -q '0\.\.11' || fail "the program's answer lacks the range: $out"
    sleep 0.5
    [ "$(report_count)" -eq "$before" ] || fail "the program sent reports for a refused set"
    cmp -s "$app/config.ini" "$work/config-running.ini" || fail "a refused set changed config.ini"
    "$app/xk-r40-ctl" status | has -q '^DPI_SET1=6 ' || fail "the program's record changed"
    ;;
refused_files)
    # Profiles and macro files the window could not have made are refused by xk-r40-ctl (alone
    # and through the program) and by the window's Import, naming the file: the person's files
    # and the chosen file stay byte for byte, the record and the macros stay, nothing is sent.
    cp "$bin/xk-r40-ctl" "$app/"
    ctl() { "$app/xk-r40-ctl" --virtual-mouse "$socket" "$@"; }
    profile() { # the Config1 keys as a profile, with line $1 (KEY=...) put in, or KEY dropped for "KEY"
        { echo '[Config7]'; section_of "$app/config.ini" Config1 | grep -v "^${1%%=*}="; [ "${1#*=}" = "$1" ] || echo "$1"; } >"$2"
    }
    mkdir "$work/bad"
    profile 'K1' "$work/bad/p-missing-key.ini"
    profile 'DPI_SET1=12' "$work/bad/p-range.ini"
    profile 'FIRE_TIME=fast' "$work/bad/p-number.ini"
    printf '[Config7]\nK0=3\nFIRE_TIME=50\n' >"$work/bad/p-only-two.ini"
    section_of "$app/config.ini" Config1 | sed 's/^K0=1$/K0=2/' | { echo '[Config7]'; cat; } >"$work/bad/p-no-left.ini"
    section_of "$app/config.ini" Config1 | sed 's/^\(DPI_SET_EN[0-3]\)=.*/\1=0/' | { echo '[Config7]'; cat; } >"$work/bad/p-no-dpi.ini"
    { profile 'FIRE_TIME=100' /dev/stdout; head -c 1100000 /dev/zero | tr '\0' ';'; } >"$work/bad/p-large.ini"
    slot=$(printf '%03d' 66 0 $(seq 1 1062 | sed 's/.*/0/'))
    printf '[Macros]\r\n0=%s\r\n' "$slot" >"$work/bad/m-no-count.dat"
    printf '[Macros]\r\nmacroNum=99\r\n0=%s\r\n' "$slot" >"$work/bad/m-count-99.dat"
    printf '[Macros]\r\nmacroNum=2\r\n0=%s\r\n' "$slot" >"$work/bad/m-slot-missing.dat"
    printf '[Macros]\r\nmacroNum=1\r\n0=%sx\r\n' "$slot" >"$work/bad/m-slot-garbage.dat"
    { printf '[Macros]\r\nmacroNum=1\r\n0=%s\r\n' "$slot"; head -c 1100000 /dev/zero | tr '\0' ';'; } >"$work/bad/m-large.dat"
    sums() { checksums "$app" | grep -v xk-r40-ctl; checksums "$work/bad"; }
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
    printf '[Macros]\r\nmacroNum=1\r\n0=%s\r\n' "$(printf '%03d' "${values[@]}")" >"$app/Macro_EN.dat"
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
    mv "$app/config.ini" "$work/config.ini"; mkdir "$app/config.ini"
    mv "$app/Macro_EN.dat" "$work/Macro_EN.dat"; mkdir "$app/Macro_EN.dat"
    before=$(report_count)
    while read -r file words; do
        # shellcheck disable=SC2086
        out=$("$app/xk-r40-ctl" $words 2>&1)
        status=$?
        [ "$status" -eq 1 ] || fail "$words exited with $status, not 1: $out"
        echo "$out" | has -qF "'$app/$file'" || fail "$words does not name $file: $out"
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
    folder=$prefix/lib/xk-r40
    export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
    cmake --install "$bin/.." --prefix "$prefix" >"$work/install.log" 2>&1 ||
        fail "the install failed: $(tail -5 "$work/install.log")"
    for f in xk-r40 config.ini Macro_EN.dat Macro_CN.dat constMacro.dat skins/INI_EN/skin_main_en.ini \
        skins/main_mask.jpg 70-xk-r40.rules uninstall; do
        [ -e "$folder/$f" ] || fail "$f is not in the program folder"
    done
    [ -w "$folder" ] && [ -w "$folder/config.ini" ] || fail "the program folder is not writable"
    for size in 16 22 24 32 48 64 128 256; do
        [ -s "$prefix/share/icons/hicolor/${size}x$size/apps/xk-r40.png" ] || fail "no $size px icon"
    done
    entry=$prefix/share/applications/xk-r40.desktop
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
    [ "$folder/config.ini" -nt "$work/install.log" ] || fail "the upload did not save into the program folder"
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
reinstall_keeps_data)
    # Installing again (an upgrade) renews the program but keeps the person's settings and
    # macros; the uninstall keeps them too unless asked; autostart only when asked for.
    prefix=$work/prefix
    folder=$prefix/lib/xk-r40
    export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
    install() { cmake --install "$bin/.." --prefix "$prefix" "$@" >>"$work/install.log" 2>&1 || fail "install $* failed"; }
    install
    sed -i 's/^CurConfig=.*/CurConfig=3/' "$folder/config.ini"
    printf 'MACRO_MINE=1\r\n' >>"$folder/Macro_EN.dat"
    config_sum=$(md5sum <"$folder/config.ini")
    macro_sum=$(md5sum <"$folder/Macro_EN.dat")
    echo broken >"$folder/skins/main_mask.jpg"
    rm "$folder/constMacro.dat"
    install
    [ "$(md5sum <"$folder/config.ini")" = "$config_sum" ] || fail "the second install replaced config.ini"
    [ "$(md5sum <"$folder/Macro_EN.dat")" = "$macro_sum" ] || fail "the second install replaced Macro_EN.dat"
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
    grep -q '^CurConfig=3' "$folder/config.ini" || fail "the program did not start from the kept configuration"
    "$vmouse" --socket "$socket" unplug >/dev/null 2>&1
    wait_gone "$app_pid" 10 || fail "the program did not end"
    config_sum=$(md5sum <"$folder/config.ini") # as the program saved it
    # Autostart is the person's choice: its own component, hidden at login.
    install --component autostart
    autostart=$XDG_CONFIG_HOME/autostart/xk-r40.desktop
    desktop-file-validate "$autostart" || fail "the autostart entry is not valid"
    grep -qF "Exec=\"$prefix/bin/xk-r40\" --hidden" "$autostart" || fail "autostart does not start hidden"
    # The program folder alone, as scripts/run keeps it.
    cmake --install "$bin/.." --prefix "$work/run" --component program >>"$work/install.log" 2>&1
    [ -x "$work/run/lib/xk-r40/xk-r40" ] && [ -f "$work/run/lib/xk-r40/config.ini" ] || fail "no program folder alone"
    [ ! -e "$work/run/bin" ] && [ ! -e "$work/run/share" ] || fail "the program folder alone brought the desktop files"
    # Uninstall: the person's files stay unless --purge.
    "$folder/uninstall" >>"$work/install.log" 2>&1 || fail "uninstall failed"
    left=$(cd "$prefix" && find . -type f -o -type l | sort | tr '\n' ' ')
    [ "$left" = "./lib/xk-r40/Macro_CN.dat ./lib/xk-r40/Macro_EN.dat ./lib/xk-r40/config.ini " ] ||
        fail "uninstall left '$left'"
    [ ! -e "$autostart" ] || fail "uninstall left the autostart entry"
    [ "$(md5sum <"$folder/Macro_EN.dat")" = "$macro_sum" ] || fail "uninstall changed Macro_EN.dat"
    install
    [ "$(md5sum <"$folder/config.ini")" = "$config_sum" ] || fail "installing after an uninstall replaced config.ini"
    "$folder/uninstall" --purge >>"$work/install.log" 2>&1 || fail "uninstall --purge failed"
    [ -z "$(ls -A "$prefix")" ] || fail "uninstall --purge left $(cd "$prefix" && find . | tr '\n' ' ')"
    ;;
start_hidden)
    # --hidden starts in the tray: no window, the settings uploaded, the computer-side buttons
    # at work; a second start shows the window.
    trayer --edge bottom --align right --widthtype pixel --width 60 --heighttype pixel --height 24 >/dev/null 2>&1 &
    pids+=("$!")
    sleep 1
    sed -i '/^\[Config1\]/,/^\[/ s/^K4=.*/K4=24/' "$app/config.ini" # button 4: Volume Up
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
    other=xke2e$$
    useradd --no-create-home --shell /usr/sbin/nologin "$other" 2>"$work/useradd.err" || {
        echo "SKIP: $case_name: useradd failed: $(cat "$work/useradd.err")"
        exit 77
    }
    throwaway_user=$other
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
    checksums "$app" >"$work/before"
    play_and_wait_held 5 || fail "the macro did not start"
    "$vmouse" --socket "$socket" unplug >/dev/null 2>&1
    wait_gone "$app_pid" 10 || fail "the program goes on after the mouse was unplugged"
    exit_status || fail "the program ended with status $?"
    grep -Eiq 'sanitizer|segmentation|terminate|abort' "$work/app.out" && fail "the program did not end cleanly"
    checksums "$app" | diff "$work/before" - >/dev/null || fail "files changed: $(checksums "$app" | diff "$work/before" -)"
    start_vmouse; start_app
    xk_wait_window 20 >/dev/null || fail "no window after the mouse came back"
    wait_start_upload || fail "no upload after the mouse came back"
    ;;
read_only_folder)
    # Apply, the main page's save, save macros, both exports and the reset into a program
    # folder that takes no writes: each says so, the program goes on, and the folder is as it
    # was.
    if [ "$XK_E2E_OWN_MOUNTS" = 1 ]; then
        mount --bind "$app" "$app" && mounts+=("$app") && mount -o remount,ro,bind "$app" ||
            fail "cannot mount the program folder read-only"
    elif [ "$(id -u)" -ne 0 ]; then
        chmod -R a-w "$app" # permissions hold for this user
    else
        echo "SKIP: $case_name: root without mount namespaces: nothing keeps the folder read-only"
        exit 77
    fi
    touch "$app/probe" 2>/dev/null && fail "the program folder takes writes"
    checksums "$app" >"$work/before"
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
    click 15 # export profile, into the program folder
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
    checksums "$app" | diff "$work/before" - >/dev/null || fail "files changed: $(checksums "$app" | diff "$work/before" -)"
    ;;
disk_full)
    # The program folder on a small disk that fills: a save that does not fit says so and
    # leaves the old file whole, and once there is room the same work is saved.
    [ "$XK_E2E_OWN_MOUNTS" = 1 ] || { echo "SKIP: $case_name: no mount namespace for a small disk"; exit 77; }
    disk=$work/disk
    mkdir "$disk"
    mount -t tmpfs -o size=$(($(du -sk "$app" | cut -f1) + 2048))k tmpfs "$disk" && mounts+=("$disk") ||
        fail "cannot mount a small disk"
    cp -a "$app/." "$disk/"
    app=$disk
    layout=$app/skins/INI_EN/skin_main_en.ini
    macro_layout=$app/skins/INI_EN/skin_advance_en.ini
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
    cp "$app/Macro_EN.dat" "$work/macros-before"
    dd if=/dev/zero of="$app/filler" bs=4k 2>/dev/null
    truncate -s -8K "$app/filler"
    macro_click 5 # save
    expect_message save-disk-full
    close_message "of the full disk"
    cmp -s "$app/Macro_EN.dat" "$work/macros-before" || fail "the failed save changed Macro_EN.dat"
    [ -z "$(find "$app" -maxdepth 1 -name '*.tmp*')" ] || fail "a temporary file was left: $(ls "$app")"
    # Full to the last byte: apply cannot save config.ini either.
    cp "$app/config.ini" "$work/config-before"
    dd if=/dev/zero of="$app/filler2" bs=1k 2>/dev/null
    click 9 # the main page
    sleep 0.3
    click 3 # apply
    expect_message apply-disk-full
    close_message "of apply on the full disk"
    cmp -s "$app/config.ini" "$work/config-before" || fail "the failed apply changed config.ini"
    # Room again: the recording is still there and is saved.
    rm "$app/filler" "$app/filler2"
    click 10
    sleep 0.5
    macro_click 5
    no_message 2 || fail "a message although the disk has room"
    grep -Eq '088001[0-9]{6}088002[0-9]{6}089001[0-9]{6}089002' "$app/Macro_EN.dat" ||
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
    head -c "$(grep -bo $'K4=4\r' "$app/config.ini" | head -1 | cut -d: -f1)" "$app/config.ini" >"$work/cut"
    printf 'K4' >>"$work/cut"
    cp "$work/cut" "$app/config.ini"
    start_vmouse; start_app
    wid=$(xk_wait_window 20) || fail "no window"
    wait_start_upload || fail "no upload"
    sleep 0.5
    got=$(reports_of 10 | head -8 | awk '{print $5 ":" $6}' | tr '\n' ' ')
    [ "$got" = "01:01 02:02 03:03 05:05 04:00 06:00 08:00 09:00 " ] || fail "button functions '$got'"
    click 3
    sleep 0.8
    size=$(stat -c %s "$work/cut")
    cmp -s -n "$size" "$work/cut" "$app/config.ini" || fail "apply changed what was there"
    section_of "$app/config.ini" Config1 | has -qx 'K4=0' || fail "apply did not complete configuration 1"
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
    } >"$app/Macro_EN.dat"
    checksum=$(sha256sum <"$app/Macro_EN.dat")
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
    [ "$(sha256sum <"$app/Macro_EN.dat")" = "$checksum" ] || fail "Macro_EN.dat changed without a save"
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
*)
    fail "unknown case"
    ;;
esac
echo "PASS: $case_name"
