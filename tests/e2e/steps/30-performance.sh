# The DPI tab: drag the first stage's slider, choose 125 Hz from the report-rate menu, Apply;
# the mouse gets the DPI block and the new rate. Then everything back and the first tab again.
DPI_TAB=(69 158 149 25)
# Stage 0's sliders in design pixels: DPI panel (285, 90), row (15, 43), sliders (180, 0, 148,
# 48). At y 148 both the linked slider and the X slider of the pair lie, so the drag works
# whether the stage's axes are linked or not; it starts on the handle of the range's bottom.
STAGE0_Y=148
STAGE0_HANDLE_X=450
STAGE0_TARGET_X=520

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

middle_design() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove "$((X + $2 * E2E_DPI / 96))" "$((Y + $3 * E2E_DPI / 96))" click 2
    sleep 0.2
}

apply_and_wait() {
    : >"$TRACE"
    click_box "$win" "${APPLY[@]}"
    wait_trace '^> 05 [0-9a-f]{2} fa 40 ' || fail "$1: Apply wrote no commit"
    sleep 1
}

click_box "$win" "${DPI_TAB[@]}"
sleep 0.5
shot performance
# Wherever the stage's handle stands: a middle click on the groove puts it there at once, then
# the handle is dragged further.
middle_design "$win" "$STAGE0_TARGET_X" "$STAGE0_Y"
drag_design "$win" "$STAGE0_TARGET_X" "$STAGE0_Y" "$((STAGE0_TARGET_X + 40))"
choose_rate "$win" 1
shot performance-edited
apply_and_wait "performance"
# Register bytes of the first stage's packet.
stage0_registers() {
    written 02 | awk '$6 == "01" && $7 == "00" && $8 == "05" { print $11, $12, $13, $14 }'
}
stage0=$(stage0_registers)
[ -n "$stage0" ] || fail "Apply did not send the first DPI stage after its slider moved"
[ "$(general_byte 11)" = "08" ] || fail "the report rate 125 Hz was not sent ($(general_byte 11))"
log "performance: stage 0 registers $stage0, rate byte $(general_byte 11)"

choose_rate "$win" 4
apply_and_wait "performance restored"
[ "$(general_byte 11)" = "01" ] || fail "the report rate 1000 Hz was not restored"
# The stage need not go back to where it was: the steps after this one do not read it.
click_box "$win" 69 90 149 25
sleep 0.3
