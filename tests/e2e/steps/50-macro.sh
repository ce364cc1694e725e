# Macro editor: a macro recorded from real keys (through the keyboard hook) is saved, assigned to
# a button through the macro selection dialog, and reaches the mouse's macro area on "Apply".
# Design geometry: the editor at (285, 90); in it the add button at (10, 376, 24, 24), the
# delete button at (38, 376, 24, 24), START/STOP at (336, 262, 104, 24).
MACRO_TAB=(69 192 149 25)
MACRO_ADD=(295 466 24 24)
MACRO_DELETE=(323 466 24 24)
MACRO_START=(621 352 104 24)
# The macro selection dialog (460 x 300): the macro button and "Yes".
SELECT_MACRO=(110 55 240 30)
SELECT_YES=(86 250 100 30)

macro_dir="$DATA/Configs/MacroDB"
# The macro files there, newest first (none before the first macro is made).
macro_files() { ls -t "$macro_dir"/*.MSMACRO 2>/dev/null || true; }
click_box "$win" "${MACRO_TAB[@]}"
sleep 0.5
shot macro
before=$(macro_files | wc -l)
click_box "$win" "${MACRO_ADD[@]}"
sleep 0.5
file=$(macro_files | head -n 1)
[ -n "$file" ] && [ "$(macro_files | wc -l)" -gt "$before" ] || fail "ADD created no macro file"
name=$(basename "$file" .MSMACRO)

click_box "$win" "${MACRO_START[@]}"
sleep 0.5
xdotool key a b
sleep 0.5
shot macro-recording
click_box "$win" "${MACRO_START[@]}" # STOP sits where START was
sleep 0.5
grep -q '^Count=4' "$file" || fail "the recording saved $(grep '^Count' "$file") rather than four keys"
for i in 0 1 2 3; do
    want_map=$((i % 2 ? 4 : 132))
    want_key=$((i < 2 ? 4 : 5))
    grep -q "^Map_$i=$want_map" "$file" && grep -q "^DataL_$i=$want_key" "$file" ||
        fail "action $i of the recording is not $want_map/$want_key"
done
shot macro-recorded
log "macro: keys a and b recorded into \"$name\""

# Row 3 of the button panel (the middle button) runs the macro: the menu's twelfth item.
click_box "$win" "${CUSTOMIZE_TAB[@]}"
sleep 0.5
# shellcheck disable=SC2046
click_box "$win" $(button_row 2)
sleep 0.5
xdotool key Down Down Down Down Down Down Down Down Down Down Down Down Return
dlg=$(wait_window "^MACRO SELECT\$") || fail "the macro selection dialog did not open"
sleep 0.3
click_box "$dlg" "${SELECT_MACRO[@]}"
sleep 0.5
xdotool key Down Return
sleep 0.3
shot macro-select
click_box "$dlg" "${SELECT_YES[@]}"
wait_window_count 1 || fail "the macro selection dialog stayed open"
apply_and_wait
slot=$(sed -n 's/^BUTTON_INFO_2_Matrix=//p' "$DATA/DefaultProfile.bin" | head -n 1)
code=$(button_code_at $((4 * slot + 2)))
[ "$code" = "91 00 01 00" ] || fail "the middle button carries \"$code\", not macro slot 0"
# The first packet of macro slot 0: a down, a up, b down, b up, then the delays the packing adds.
packet=$(written 05 | awk '$6 == "00" && $7 == "00" && $9 == "d1"' | head -n 1 | cut -d' ' -f10-29)
want="84 04 00 04 04 00 84 05 00 04 05 00 06 01 00 06 01 00 00 00"
[ "$packet" = "$want" ] || fail "the macro area starts with \"$packet\", not the recording"
log "macro: \"$name\" reached macro slot 0 of the mouse"

# The middle button gets its click back and the macro goes, so the window is as it was.
# shellcheck disable=SC2046
click_box "$win" $(button_row 2)
sleep 0.5
xdotool key Down Down Down Return
sleep 0.5
apply_and_wait
code=$(button_code_at $((4 * slot + 2)))
[ "$code" = "83 00 00 00" ] || fail "the middle button was not given back its click: \"$code\""
click_box "$win" "${MACRO_TAB[@]}"
sleep 0.5
click_box "$win" "${MACRO_DELETE[@]}"
sleep 0.5
[ ! -e "$file" ] || fail "DELETE left the macro file"
click_box "$win" "${CUSTOMIZE_TAB[@]}"
sleep 0.3
