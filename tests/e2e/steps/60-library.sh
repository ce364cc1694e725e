# The library's configuration flows through the bottom bar and the file dialogs: "SAVE" writes
# the configuration to a file; after a change has been applied, "LOAD1" reads the file back and
# the mouse gets what it held again. Design geometry of the two buttons.
SAVE_BUTTON=(751 591 26 25)
LOAD_BUTTON=(675 591 26 25)
DPI_TAB=(69 158 149 25)
conf="$DATA/tmp/e2e-library.conf"

# Types path $2 into the file dialog titled $1 and accepts it.
choose_file() {
    local dlg
    dlg=$(wait_window "^$1\$") || fail "the dialog \"$1\" did not open"
    sleep 0.5
    shot "library-$(echo "$1" | tr 'A-Z ' 'a-z-')"
    xdotool type --window "$dlg" --delay 20 "$2"
    xdotool key Return
    wait_window_count 1 || fail "the dialog \"$1\" stayed open"
}

rm -f "$conf"
click_box "$win" "${SAVE_BUTTON[@]}"
choose_file "Save Config File" "$conf"
for i in $(seq 1 30); do [ -s "$conf" ] && break; sleep 0.1; done
[ -s "$conf" ] || fail "\"SAVE\" wrote no configuration file"
grep -q "^Name=$product\$" "$conf" || fail "the configuration file carries no mark of \"$product\""

# 125 Hz applied, then the file (1000 Hz) loaded: the mouse is written the file's rate.
click_box "$win" "${DPI_TAB[@]}"
sleep 0.3
choose_rate "$win" 1
confirmed=$(grep -c 'confirmed: ' "$OUT/mousecfg.log" || true)
: >"$TRACE"
click_box "$win" "${APPLY[@]}"
wait_write_end || fail "Apply after 125 Hz wrote nothing"
[ "$(general_byte 11)" = "08" ] || fail "the report rate 125 Hz was not sent ($(general_byte 11))"
# The window takes the write as done when its worker says so, a moment after the last report on
# the wire; LOAD before that would rightly find the new rate not yet applied and ask.
for _ in $(seq 100); do
    [ "$(grep -c 'confirmed: ' "$OUT/mousecfg.log" || true)" -gt "$confirmed" ] && break
    sleep 0.1
done

: >"$TRACE"
click_box "$win" "${LOAD_BUTTON[@]}"
choose_file "Load Config File" "$conf"
wait_write_end || fail "loading the configuration wrote nothing to the mouse"
[ "$(general_byte 11)" = "01" ] || fail "the loaded configuration's 1000 Hz was not sent ($(general_byte 11))"
sleep 0.3
shot library-loaded
log "library: configuration saved, and loaded back onto the mouse"
