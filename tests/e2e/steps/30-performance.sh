# The DPI tab: drag the first stage's slider, choose 125 Hz from the report-rate menu, Apply;
# the mouse gets the DPI block and the new rate. Then everything back and the first tab again.
DPI_TAB=(69 158 149 25)
RATE_BUTTON=(872 98 96 24)
# Stage 0's slider in design pixels: DPI panel (285, 90), row (15, 43), sliders (180, 0, 160, 48).
STAGE0_Y=157
STAGE0_HANDLE_X=488 # where the handle of the sample's first stage (raw 7 of 0..519) sits
STAGE0_TARGET_X=600

drag_design() {
    local win=$1 x1=$2 y=$3 x2=$4
    eval "$(xdotool getwindowgeometry --shell "$win")"
    xdotool mousemove "$((X + x1 * E2E_DPI / 96))" "$((Y + y * E2E_DPI / 96))" mousedown 1
    sleep 0.2
    xdotool mousemove "$((X + (x1 + x2) / 2 * E2E_DPI / 96))" "$((Y + y * E2E_DPI / 96))"
    sleep 0.1
    xdotool mousemove "$((X + x2 * E2E_DPI / 96))" "$((Y + y * E2E_DPI / 96))"
    sleep 0.2
    xdotool mouseup 1
}

# Opens the rate menu and picks entry $2 (1: 125 HZ ... 4: 1000 HZ) with the keyboard.
choose_rate() {
    click_box "$1" "${RATE_BUTTON[@]}"
    sleep 0.5
    local i
    for i in $(seq 1 "$2"); do xdotool key Down; done
    xdotool key Return
    sleep 0.3
}

apply_and_wait() {
    : >"$TRACE"
    click_box "$win" "${APPLY[@]}"
    wait_trace '^> 05 [0-9a-f]{2} fa 40 ' || fail "$1: Apply wrote no commit"
    sleep 1
}

# Byte $1 of the general block's data as the trace shows it.
general_byte() {
    written 01 | awk -v n="$1" '$7 == "13" { print $(9 + n); exit }'
}

click_box "$win" "${DPI_TAB[@]}"
sleep 0.5
shot performance
drag_design "$win" "$STAGE0_HANDLE_X" "$STAGE0_Y" "$STAGE0_TARGET_X"
choose_rate "$win" 1
shot performance-edited
apply_and_wait "performance"
stage0=$(written 02 | awk '$5 == "01" && $6 == "00" && $7 == "05" { print $9, $10, $11, $12 }')
[ -n "$stage0" ] || fail "Apply did not send the first DPI stage after its slider moved"
[ "$stage0" != "07 00 07 00" ] || fail "the first DPI stage was sent unchanged ($stage0)"
[ "$(general_byte 11)" = "08" ] || fail "the report rate 125 Hz was not sent ($(general_byte 11))"
log "performance: stage 0 registers $stage0, rate byte $(general_byte 11)"

drag_design "$win" "$STAGE0_TARGET_X" "$STAGE0_Y" "$STAGE0_HANDLE_X"
choose_rate "$win" 4
apply_and_wait "performance restored"
[ "$(general_byte 11)" = "01" ] || fail "the report rate 1000 Hz was not restored"
click_box "$win" 69 90 149 25
sleep 0.3
