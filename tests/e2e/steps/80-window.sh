# The window around the panels: slot 3 picked in the profile bar gets its own report rate and a
# confirmation; a switch on the mouse moves the bar; an edit survives a re-plug; Tab never
# reaches a control that cannot be seen; closing with an edit not yet applied asks first.
DPI_TAB=(69 158 149 25)
CLOSE=(924 33 19 19)
# Row i (0..4) of the profile bar: the bar at (61, 226), rows 25 apart from its y 20.
bar_row() { click_box "$win" 61 $((246 + 25 * $1)) 165 23; }
# Waits until the program's log holds a line matching $1.
wait_log() {
    local i
    for i in $(seq 1 100); do
        grep -q -E "$1" "$OUT/mousecfg.log" && return 0
        sleep 0.1
    done
    return 1
}

: >"$TRACE"
bar_row 2
wait_trace '^> 05 [0-9a-f]{2} fa 44 02 ' || fail "the bar's slot 3 did not select profile 3"
# The switch ends when the mouse has answered and the panels show slot 3 (the first tab again).
wait_log 'profile bar: slot 3 active' || fail "the bar did not show slot 3 as active"
sleep 0.5
click_box "$win" "${DPI_TAB[@]}"
sleep 0.5
choose_rate "$win" 1
shot bar-slot3-edited
: >"$TRACE"
click_box "$win" "${APPLY[@]}"
wait_trace '^> 05 [0-9a-f]{2} fa 40 ' || fail "Apply of slot 3 wrote no commit"
sleep 1
[ "$(general_byte 13)" = "08" ] || fail "slot 3's 125 Hz was not sent ($(general_byte 13))"
wait_log 'confirmed: ' || fail "no confirmation after Apply"
shot bar-applied

# The mouse's own button selects profile 2: the bar follows.
send_control "report 1 0 1"
wait_log 'profile bar: slot 2 active, slot 2 edited' || fail "the bar did not follow the mouse to slot 2"
sleep 0.3
shot bar-mouse-slot2

# An edit of slot 2, then the receiver out and in: the edit is kept and the returning mouse
# gets it (slot 2's rate byte).
choose_rate "$win" 2
send_control "unplug receiver"
wait_window_count 2 || fail "no \"Dongle Disconnect!\" box after the unplug"
: >"$TRACE"
send_control "plug receiver"
wait_window_count 1 || fail "the warning stayed open after the mouse came back"
wait_write_end || fail "the mouse that came back was not given the settings"
sleep 0.5
[ "$(general_byte 12)" = "04" ] || fail "slot 2's edit did not survive the re-plug ($(general_byte 12))"
# The mouse back, the window shows its first tab.
click_box "$win" "${DPI_TAB[@]}"
sleep 0.5

# Tab through the window: every control reached is shown and has a size.
click_box "$win" 69 20 200 50
lines_before=$(wc -l <"$OUT/mousecfg.log")
for i in $(seq 1 40); do xdotool key Tab; sleep 0.05; done
sleep 0.3
shot tab-walk
tail -n +"$((lines_before + 1))" "$OUT/mousecfg.log" | grep 'focus: ' >"$OUT/focus-steps.log" || true
[ -s "$OUT/focus-steps.log" ] || fail "Tab moved the focus nowhere"
bad=$(grep -E 'visible 0| 0x[0-9]+ | [0-9]+x0 ' "$OUT/focus-steps.log" || true)
[ -z "$bad" ] || fail "Tab reached controls that cannot be seen: $bad"
log "window: Tab visited $(wc -l <"$OUT/focus-steps.log") controls, all in view"

# An edit not yet applied, then close: without a tray the program would end, so it asks; Esc
# keeps the window and the edit.
choose_rate "$win" 3
click_box "$win" "${CLOSE[@]}"
wait_window_count 2 || fail "closing with an edit not yet applied did not ask"
shot close-asks
xdotool key Escape
wait_window_count 1 || fail "Esc did not close the question"
kill -0 "$APP_PID" 2>/dev/null || fail "the program ended although the question was cancelled"

# Back as found: 1000 Hz for slots 2 and 3, profile 1.
choose_rate "$win" 4
bar_row 2
sleep 0.3
choose_rate "$win" 4
: >"$TRACE"
click_box "$win" "${APPLY[@]}"
wait_trace '^> 05 [0-9a-f]{2} fa 40 ' || fail "restoring the rates wrote no commit"
sleep 1
bar_row 0
wait_trace '^> 05 [0-9a-f]{2} fa 44 00 ' || fail "the bar's slot 1 did not select profile 1"
click_box "$win" 69 90 149 25
sleep 0.3
