#!/usr/bin/env bash
# End to end: the real mousecfg under a private Xvfb against the emulated receiver, driven with
# xdotool, checked through the HID trace. Usage: run.sh BIN_DIR OUT_DIR
# Each step leaves a screenshot in OUT_DIR. Exits non-zero at the first step that fails.
set -euo pipefail
BIN=$(cd "$1" && pwd)
OUT=$2
mkdir -p "$OUT"
rm -f "$OUT"/*.png
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"
trap stop_all EXIT
# Stopped from outside, the private X server and the program go too.
trap "exit 1" INT TERM

# Design geometry of the controls the script presses (999 x 640 window at scale 1).
APPLY=(812 588 138 35)

start_xvfb
make_data_dir
product=$(sed -n 's/^CurrentProductName=//p' "$DATA/Configs/Config.ini" | head -n 1)
start_mousecfg receiver
win=$(wait_window "^$product\$") || fail "the window \"$product\" did not appear"
sleep 0.5
shot start

# The product picture fills its box at the scale in use: its lit strip, about 162 design units
# wide as the window shows the sample product, spans that many at any dots per inch (a picture
# read at the wrong size showed it at half).
strip=$(colour_width "$win" 637 99 300 400 "#BC0779")
[ "$strip" -ge $((150 * E2E_DPI / 96)) ] && [ "$strip" -le $((175 * E2E_DPI / 96)) ] ||
    fail "the product picture's lit strip is $strip pixels wide at $E2E_DPI dpi"

# A second start hands over to the running program and ends with 1.
rc=0
TMPDIR="$DATA/tmp" QT_QPA_PLATFORM=xcb timeout 20 "$BIN/mousecfg" --data-dir "$DATA" \
    >"$OUT/second-start.log" 2>&1 || rc=$?
[ "$rc" -eq 1 ] || fail "a second start ended with $rc, not 1"

# A new mouse means the first Apply writes everything: bracket, every block, commit.
: >"$TRACE"
click_box "$win" "${APPLY[@]}"
wait_trace '^> 05 [0-9a-f]{2} fa 40 ' || fail "Apply wrote no commit"
sleep 1
check_full_write "Apply"
shot applied
log "apply: $(grep -c '^>' "$TRACE") reports written"

# Unplugged, the window warns; plugged back, the warning closes and the mouse is read again.
wait_window_count 1 || fail "the program shows $(window_count) windows, not just its own"
send_control "unplug receiver"
wait_window_count 2 || fail "no \"Dongle Disconnect!\" box after the unplug"
shot unplugged
: >"$TRACE"
send_control "plug receiver"
wait_window_count 1 || fail "the warning stayed open after the mouse came back"
wait_trace '^> 05 [0-9a-f]{2} fa 48 ' || fail "no status query after the mouse came back"
# A mouse that connects is given the window's settings; the steps start when that is done.
wait_write_end || fail "the mouse that came back was not given the settings"
sleep 0.5
shot replugged

# The battery's frame tells the cable from the receiver, and a status answer repaints only that
# frame: with the cable in, the bar in the theme colour gives way to the cable's frame (its
# small flash), and with the cable out the bar is back.
BATTERY=(69 581 86 47)
wait_colour_width "$win" "${BATTERY[@]}" "#BC0779" 50 86 ||
    fail "the battery bar is $LAST_WIDTH pixels wide with the receiver"
: >"$TRACE"
send_control "plug cable"
wait_colour_width "$win" "${BATTERY[@]}" "#BC0779" 1 30 ||
    fail "the battery frame shows $LAST_WIDTH pixels of bar with the cable in"
# The cable is a connection too: the mouse is given the settings over it, and pulling the cable
# out in the middle of that would rightly end in a failure box.
wait_write_end || fail "the mouse was not given the settings over the cable"
wait_window_count 1 || fail "a box came up when the cable was plugged in"
shot cable
send_control "unplug cable"
wait_colour_width "$win" "${BATTERY[@]}" "#BC0779" 50 86 ||
    fail "the battery bar is $LAST_WIDTH pixels wide after the cable was pulled out"
wait_window_count 1 || fail "a box came up when the cable was pulled out"

# Each panel adds its own steps in steps/NN-name.sh, run in name order with the window up
# ($win, the helpers of lib.sh). A step file ends with the window as it found it: mouse plugged,
# no box open.
for steps in "$here"/steps/*.sh; do
    [ -e "$steps" ] || continue
    log "steps: $(basename "$steps")"
    # shellcheck source=/dev/null
    . "$steps"
done

log "all steps passed"
