# The LIGHTING tab: an effect chosen from the effect menu and a colour typed into the colour
# dialog's hexadecimal field reach the mouse's lighting and general blocks on Apply.
# Design geometry: the tab, and the panel's controls at the panel's place (285, 90).
LIGHTING_TAB=(69 90 149 25)
EFFECT_BTN=(315 126 200 30)
LED_SWATCH=(315 305 64 64)
# The colour dialog's hexadecimal field and "OK", within the dialog.
HEX_FIELD=(340 186 160 24)
HEX_OK=(340 288 76 28)

click_box "$win" "${LIGHTING_TAB[@]}"
sleep 0.3
# The "MOVE TO LIGHT OFF" box is drawn from the skin: ticked, its box is in the theme colour;
# a click empties it, and another ticks it again (so Apply below writes it as it was).
MOVE_OFF_BOX=(315 450 18 25)
wait_colour_width "$win" "${MOVE_OFF_BOX[@]}" "#BC0779" 12 18 ||
    fail "the ticked box shows $LAST_WIDTH pixels of the theme colour"
click_box "$win" "${MOVE_OFF_BOX[@]}"
# (An image with none of the colour trims to a single pixel.)
wait_colour_width "$win" "${MOVE_OFF_BOX[@]}" "#BC0779" 0 1 ||
    fail "the box still shows $LAST_WIDTH pixels of the theme colour after a click"
shot lighting-move-off
click_box "$win" "${MOVE_OFF_BOX[@]}"
wait_colour_width "$win" "${MOVE_OFF_BOX[@]}" "#BC0779" 12 18 ||
    fail "the box shows $LAST_WIDTH pixels of the theme colour after a second click"
# The menu lists "FULL LIGHTED" first and "BREATHING" second.
click_box "$win" "${EFFECT_BTN[@]}"
wait_window_count 2 || fail "the effect menu did not open"
sleep 0.2
xdotool key Down Down Return
wait_window_count 1 || fail "the effect menu did not close"
shot lighting-effect

click_box "$win" "${LED_SWATCH[@]}"
wait_window_count 2 || fail "the colour dialog did not open"
dlg=$(xdotool search --onlyvisible --pid "$APP_PID" 2>/dev/null | grep -v "^$win\$" | head -n 1)
[ -n "$dlg" ] || fail "the colour dialog has no window"
click_box "$dlg" "${HEX_FIELD[@]}"
xdotool key ctrl+a
xdotool type --delay 50 "12ab34"
sleep 0.3
shot lighting-colour
click_box "$dlg" "${HEX_OK[@]}"
wait_window_count 1 || fail "the colour dialog stayed open after OK"

: >"$TRACE"
click_box "$win" "${APPLY[@]}"
wait_trace '^> 05 [0-9a-f]{2} fa 40 ' || fail "Apply after the lighting change wrote no commit"
sleep 1
# The first lighting packet carries effect slot 2 (breathing) at data bytes 16..23: on, then
# red, green and blue. The general block's byte 18 is the effect number, 3 for breathing.
led=$(written 04 | awk '$6 == "00" && $7 == "00" { print $26, $27, $28, $29; exit }')
[ "$led" = "80 12 ab 34" ] || fail "the lighting block holds \"$led\", not the chosen colour"
effect=$(written 01 | awk '{ print $28; exit }')
[ "$effect" = "03" ] || fail "the general block names effect \"$effect\", not breathing"
shot lighting-applied
log "lighting: breathing in 12ab34 reached the mouse"
