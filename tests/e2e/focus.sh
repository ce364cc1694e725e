#!/usr/bin/env bash
# End to end, the profile per application: the real mousecfg under a private Xvfb with a window
# manager that keeps _NET_ACTIVE_WINDOW (openbox), rules written into Config.ini before the
# start, two windows of different classes raised in turn with xdotool; the emulated mouse's
# active slot follows, read from the HID trace (SelectProfile, "fa 44 SLOT"). Then the same
# with the command-line tool's "watch --follow-focus". Usage: focus.sh BIN_DIR OUT_DIR
set -euo pipefail
BIN=$(cd "$1" && pwd)
OUT=$2
mkdir -p "$OUT"
rm -f "$OUT"/*.png
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
EXTRA_PIDS=()
stop_focus() {
    local pid
    for pid in "${EXTRA_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    stop_all
}
trap stop_focus EXIT
trap "exit 1" INT TERM

start_xvfb
openbox >"$OUT/openbox.log" 2>&1 &
EXTRA_PIDS+=($!)
for i in $(seq 1 50); do
    xprop -root _NET_SUPPORTED 2>/dev/null | grep -q _NET_ACTIVE_WINDOW && break
    sleep 0.1
done
xprop -root _NET_SUPPORTED | grep -q _NET_ACTIVE_WINDOW || fail "the window manager did not start"

make_data_dir
cat >>"$DATA/Configs/Config.ini" <<'INI'

[FocusRules]
Enabled=1
DefaultSlot=1
Count=2
App_0=gamea
Slot_0=3
App_1=GameB
Slot_1=5
INI

# Two windows of their own classes (WM_CLASS instance "gamea" and "gameb").
y=40
for name in gamea gameb; do
    xmessage -name "$name" -geometry "300x80+40+$y" "$name" &
    EXTRA_PIDS+=($!)
    y=200
done
window_of() {
    local id i
    for i in $(seq 1 50); do
        id=$(xdotool search --classname "^$1\$" 2>/dev/null | head -n 1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}
game_a=$(window_of gamea) || fail "no window of class gamea"
game_b=$(window_of gameb) || fail "no window of class gameb"

# Raises $1 and waits until the trace holds the SelectProfile of slot $2 (0-based, hex), and
# that one alone once things have settled (the announcement takes no focus, so no switch back).
raise_expect() {
    : >"$TRACE"
    xdotool windowactivate --sync "$1"
    wait_trace "^> 05 [0-9a-f]{2} fa 44 $2 " || fail "raising $3 did not select slot $2"
    sleep 0.8
    [ "$(written 44 | wc -l)" -eq 1 ] || fail "raising $3 selected more than once: $(written 44)"
}
# Raises $1 and checks that no SelectProfile follows within a second.
raise_expect_none() {
    : >"$TRACE"
    xdotool windowactivate --sync "$1"
    sleep 1
    [ -z "$(written 44)" ] || fail "raising $2 selected a slot: $(written 44)"
}

product=$(sed -n 's/^CurrentProductName=//p' "$DATA/Configs/Config.ini" | head -n 1)
start_mousecfg receiver
win=$(wait_window "^$product\$") || fail "the window \"$product\" did not appear"
sleep 1
raise_expect "$game_a" 02 "gamea"
shot focus-gamea
raise_expect "$game_b" 04 "gameb"
raise_expect "$game_a" 02 "gamea again"
# The program's own window leaves the game's slot in place.
raise_expect_none "$win" "the program's own window"
shot focus-own-window
raise_expect "$game_b" 04 "gameb again"
log "window: the active slot followed gamea, gameb, gamea, (own window), gameb"
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
APP_PID=

# The command-line tool, for those who keep the window closed.
"$BIN/mousecfg-cli" --data-dir "$DATA" --emulate --trace watch --follow-focus >"$TRACE" 2>"$OUT/cli.err" &
APP_PID=$!
wait_trace "^Watching the mouse" || fail "the command-line watch did not start ($(cat "$OUT/cli.err"))"
for step in "$game_a 02 gamea" "$game_b 04 gameb"; do
    set -- $step
    xdotool windowactivate --sync "$1"
    wait_trace "^> 05 [0-9a-f]{2} fa 44 $2 " || fail "watch --follow-focus: raising $3 did not select slot $2"
done
wait_trace "^Application in front: .*profile 5 selected" ||
    fail "watch --follow-focus did not report the switch"
log "command line: the active slot followed gamea, gameb"
log "all focus steps passed"
