# Button panel: a function chosen through the menu reaches the mouse's button block, and a real
# key reaches the single key dialog. Design geometry: the panel at (285, 99), rows 215 x 25 at
# x 56 of it; the sample product shows six rows, laid out in the 360 design pixels above the
# wheel strip: gap (360 - 6 x 30) / 7 = 25, so row c is at y 25 + 50 c of the panel.
CUSTOMIZE_TAB=(69 124 149 25)
button_row() { echo "341 $((99 + 25 + 50 * $1)) 215 25"; }

# The four device bytes the button block carries at offset $1, from the written 03 reports.
button_code_at() {
    local t=$1 found="" off len
    local -a f
    while read -r -a f; do
        off=$((16#${f[5]} + 256 * 16#${f[6]}))
        len=$((16#${f[7]}))
        if [ "${f[8]}" = d2 ] && [ "$t" -ge "$off" ] && [ $((t + 4)) -le $((off + len)) ]; then
            local i=$((9 + t - off))
            found="${f[i]} ${f[i + 1]} ${f[i + 2]} ${f[i + 3]}"
        fi
    done < <(written 03)
    echo "$found"
}

apply_and_wait() {
    : >"$TRACE"
    click_box "$win" "${APPLY[@]}"
    wait_trace '^> 05 [0-9a-f]{2} fa 40 ' || fail "Apply wrote no commit"
    sleep 1
}

click_box "$win" "${CUSTOMIZE_TAB[@]}"
sleep 0.5
shot buttons

# Row 2 (the right button, entry 1) gets "Cut" from the "Basic" submenu: the sixth item.
slot=$(sed -n 's/^BUTTON_INFO_1_Matrix=//p' "$DATA/DefaultProfile.bin" | head -n 1)
# shellcheck disable=SC2046
click_box "$win" $(button_row 1)
sleep 0.5
shot buttons-menu
xdotool key Down Down Down Down Down Down Right Return
sleep 0.5
apply_and_wait
code=$(button_code_at $((4 * slot + 2)))
[ "$code" = "8f 01 1b 00" ] || fail "the button block carries \"$code\" for the right button, not Cut"
shot buttons-cut
log "buttons: Cut reached button slot $slot"

# Back to "Right" (the second item), written again, so the mouse is as it was.
# shellcheck disable=SC2046
click_box "$win" $(button_row 1)
sleep 0.5
xdotool key Down Down Return
sleep 0.5
apply_and_wait
code=$(button_code_at $((4 * slot + 2)))
[ "$code" = "82 00 00 00" ] || fail "the right button was not given back its click: \"$code\""

# Row 3: "Advance" (the eighth item), then "SINGLE KEY"; a real key is shown by its name.
# shellcheck disable=SC2046
click_box "$win" $(button_row 2)
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Right Return
dlg=$(wait_window "^Single Key\$") || fail "the single key dialog did not open"
sleep 0.3
xdotool key x
for i in $(seq 1 30); do
    grep -q "single key captured: code 2d (X)" "$OUT/mousecfg.log" && break
    sleep 0.1
done
grep -q "single key captured: code 2d (X)" "$OUT/mousecfg.log" ||
    fail "the key X did not reach the single key dialog"
shot buttons-single-key
click_box "$dlg" 206 150 100 30 # Cancel: the button keeps its function
wait_window_count 1 || fail "the single key dialog stayed open"
log "buttons: a real key reached the single key dialog"

# Row 3: "Sniper" (the fourth item of "Advance"). The keyboard answers the dialog: from the
# slider, Tab reaches OK (the focus marked in the theme colour); Esc closes it.
# shellcheck disable=SC2046
click_box "$win" $(button_row 2)
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Right Down Down Down Return
wait_window "^Sniper Setting\$" >/dev/null || fail "the sniper dialog did not open"
sleep 0.3
xdotool key Tab
sleep 0.3
shot buttons-sniper-focus
xdotool key Escape
wait_window_count 1 || fail "Esc did not close the sniper dialog"
log "buttons: Esc cancelled the sniper dialog"
