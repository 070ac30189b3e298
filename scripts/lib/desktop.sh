# Shell helpers shared by scripts/run and the end-to-end tests: a private X server, the
# virtual mouse, the program's window and the element positions of the delivered layouts.

# Starts Xvfb on a display it picks itself; sets DISPLAY and XVFB_PID.
xk_start_xvfb() {
    local fdfile i
    fdfile=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1280x900x24 -noreset -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
    XVFB_PID=$!
    for i in $(seq 1 100); do
        if [ -s "$fdfile" ]; then
            export DISPLAY=":$(head -1 "$fdfile")"
            rm -f "$fdfile"
            return 0
        fi
        sleep 0.1
    done
    rm -f "$fdfile"
    kill "$XVFB_PID" 2>/dev/null
    echo "Xvfb did not start" >&2
    return 1
}

# The centre "x y" of BUTTONPOS row ROW in a layout file.
xk_element_centre() {
    local file=$1 row=$2
    awk -F, -v key="$row" '
        /^\[/ { in_section = ($0 ~ /^\[BUTTONPOS\]/) }
        in_section {
            split($1, kv, "=")
            if (kv[1] == key) { printf "%d %d\n", $2 + $4 / 2, $3 + $5 / 2; exit }
        }' "$file"
}

# The main window's id once it is visible (waits up to $2 seconds, default 15).
xk_wait_window() {
    local i limit=${1:-15}
    for i in $(seq 1 $((limit * 10))); do
        local id
        id=$(xdotool search --onlyvisible --name "XK-R40 GAMING MOUSE" 2>/dev/null | head -1)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# Clicks BUTTONPOS row ROW of LAYOUT in window WID, then moves the pointer away.
xk_click_element() {
    local wid=$1 layout=$2 row=$3
    local pos
    pos=$(xk_element_centre "$layout" "$row")
    # shellcheck disable=SC2086
    xdotool mousemove --window "$wid" $pos sleep 0.2 click 1 sleep 0.3
}

# Waits until the virtual mouse at socket $1 answers.
xk_wait_vmouse() {
    local vmouse=$1 socket=$2 i
    for i in $(seq 1 50); do
        "$vmouse" --socket "$socket" state >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    return 1
}

# Whether an XK-R40 is plugged in (vendor 18F8, product 1286 among the hidraw devices).
xk_mouse_plugged_in() {
    grep -qis 'HID_ID=.*:000018F8:00001286' /sys/class/hidraw/*/device/uevent 2>/dev/null
}
