# Helpers of the end-to-end scripts: a private Xvfb, the real mousecfg against the emulated
# mouse with its trace in a file, xdotool clicks in design coordinates, screenshots.
# Sourced by run.sh; expects $BIN (folder of mousecfg) and $OUT (where traces and shots go).

E2E_DPI=${E2E_DPI:-96}
# Design units to pixels: the window's scale step follows the screen's dots per inch (96 is 1.0,
# 144 is 1.5).

log() { printf 'e2e: %s\n' "$*"; }
fail() {
    log "FAILED: $*"
    shot "failure" || true
    exit 1
}

# Starts a private X server on a free display number. The server picks the number itself
# (-displayfd): scripts started side by side by CTest would otherwise race for the same one and
# end up talking to each other's server.
start_xvfb() {
    local file="$OUT/display" i
    : >"$file"
    # -noreset: without it the server resets when its last client leaves (xdpyinfo below), and
    # a program connecting during the reset finds no display.
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -dpi "$E2E_DPI" -nolisten tcp -noreset \
        3>"$file" >"$OUT/xvfb.log" 2>&1 &
    XVFB_PID=$!
    for i in $(seq 1 100); do
        if [ -s "$file" ]; then
            export DISPLAY=":$(tr -dc 0-9 <"$file")"
            if xdpyinfo >/dev/null 2>&1; then
                # Desktops announce their dots per inch as Xft.dpi; Qt 6 reads nothing else (Qt 5
                # also the screen's size), so without it the Qt 6 build would draw at 96.
                printf 'Xft.dpi: %s\n' "$E2E_DPI" | xrdb -merge || fail "xrdb failed"
                return 0
            fi
        fi
        kill -0 "$XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill "$XVFB_PID" 2>/dev/null || true
    fail "no X server could be started"
}

# A data folder of our own, copied from the application folder beside the executables.
make_data_dir() {
    DATA=$(mktemp -d)
    cp -r "$BIN/DefaultProfile.bin" "$BIN/Configs" "$DATA/"
    ln -s "$BIN/skin" "$DATA/skin"
    [ -d "$BIN/lang" ] && ln -s "$BIN/lang" "$DATA/lang"
    CONTROL="$OUT/control"
    TRACE="$OUT/trace.txt"
    : >"$CONTROL"
    : >"$TRACE"
}

# A temporary folder of its own: the instance lock and the local sockets live there, so a
# program the user runs at the same time is neither disturbed nor in the way.
start_mousecfg() {
    mkdir -p "$DATA/tmp"
    TMPDIR="$DATA/tmp" MOUSECFG_EMULATE=${1:-receiver} MOUSECFG_TRACE="$TRACE" MOUSECFG_EMULATOR_CONTROL="$CONTROL" \
        QT_QPA_PLATFORM=xcb "$BIN/mousecfg" --verbose --data-dir "$DATA" >"$OUT/mousecfg.log" 2>&1 &
    APP_PID=$!
}

stop_all() {
    local pid
    for pid in "${APP_PID:-}" "${XVFB_PID:-}"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    if [ -n "${DATA:-}" ]; then rm -rf "$DATA"; fi
}

# Waits until a visible window whose title matches $1 exists; prints its id.
wait_window() {
    local id i
    for i in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        kill -0 "$APP_PID" 2>/dev/null || fail "mousecfg ended (see $OUT/mousecfg.log)"
        sleep 0.1
    done
    return 1
}

# Visible top-level windows of the program (the window and its boxes).
window_count() { xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | wc -l; }

# Waits until the program shows exactly $1 visible windows.
wait_window_count() {
    local i
    for i in $(seq 1 100); do
        [ "$(window_count)" -eq "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# Clicks at design coordinates (x, y) of window $1.
click_at() {
    local win=$1 x=$2 y=$3
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove "$((X + x * E2E_DPI / 96))" "$((Y + y * E2E_DPI / 96))" click 1
}

# Clicks the middle of a control placed at design geometry (x, y, w, h).
click_box() { click_at "$1" "$(($2 + $4 / 2))" "$(($3 + $5 / 2))"; }

# Width in screen pixels of what window $1 shows in colour $6 (#rrggbb, give or take a little)
# inside its design box (x, y, w, h), from a fresh screenshot; 0 when nothing there has it.
colour_width() {
    local win=$1 s=$E2E_DPI
    eval "$(xdotool getwindowgeometry --shell "$win")"
    import -window root png:- 2>/dev/null |
        convert - -crop "$(($4 * s / 96))x$(($5 * s / 96))+$((X + $2 * s / 96))+$((Y + $3 * s / 96))" \
            +repage -fuzz 12% -fill white -opaque "$6" -fuzz 0 -fill black +opaque white \
            -trim -format '%w' info: 2>/dev/null || echo 0
}

# Waits until colour_width of window $1, box ($2..$5), colour $6 lies between $7 and $8 design
# units; the last width, in screen pixels, is left in LAST_WIDTH.
wait_colour_width() {
    local i
    for i in $(seq 1 50); do
        LAST_WIDTH=$(colour_width "$1" "$2" "$3" "$4" "$5" "$6")
        [ "$LAST_WIDTH" -ge $(($7 * E2E_DPI / 96)) ] && [ "$LAST_WIDTH" -le $(($8 * E2E_DPI / 96)) ] &&
            return 0
        sleep 0.2
    done
    return 1
}

send_control() { printf '%s\n' "$@" >"$CONTROL"; }

# Waits until the trace holds a line matching the extended regular expression $1.
wait_trace() {
    local i
    for i in $(seq 1 150); do
        grep -q -E "$1" "$TRACE" && return 0
        sleep 0.1
    done
    return 1
}

# Written reports of one command (two hex digits), from the trace.
written() { grep -E "^> 05 [0-9a-f]{2} fa $1 " "$TRACE" || true; }

STEP=0
shot() {
    STEP=$((STEP + 1))
    import -window root "$OUT/$(printf '%02d' "$STEP")-$1-${E2E_DPI}dpi.png" 2>/dev/null
}

# The report-rate menu of the DPI tab (its button at design geometry RATE_BUTTON; the tab must be
# shown): opens the menu of window $1 and picks entry $2 (1: 125 HZ ... 4: 1000 HZ).
RATE_BUTTON=(872 98 96 24)
choose_rate() {
    click_box "$1" "${RATE_BUTTON[@]}"
    # The menu is a window of its own: wait for it rather than for a fixed time (a slow build,
    # such as the sanitizers', takes longer to open it).
    wait_window_count 2 || fail "the report-rate menu did not open"
    sleep 0.2
    local i
    for i in $(seq 1 "$2"); do xdotool key Down; done
    xdotool key Return
    wait_window_count 1 || fail "the report-rate menu did not close"
}

# Byte $1 of the general block's data as the trace shows it.
general_byte() {
    written 01 | awk -v n="$1" '$8 == "13" { print $(10 + n); exit }'
}

# Fails unless the trace holds a whole write ($1 names it): the bracket, every block, a commit.
check_full_write() {
    local block
    [ -n "$(written 46)" ] || fail "$1 opened no write bracket"
    for block in 01 02 03 04; do
        [ -n "$(written "$block")" ] || fail "$1 did not write block $block"
    done
    [ -n "$(written 40)" ] || fail "$1 committed nothing"
}

# Waits until the trace shows a write closed: the bracket's closing report.
wait_write_end() { wait_trace '^> 05 [0-9a-f]{2} fa 46 01 '; }
