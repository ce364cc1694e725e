# A receiver in use: the pointer's reports come at 1000 Hz on the node the commands use, and keys
# are pressed whose first key byte reads like a change report (Insert, 0x49) or a status answer
# (Pause, 0x48). Apply still writes, with no message.
send_control "motion 1000" "key 0x49" "key 0x48"
sleep 1
shot moving
click_box "$win" "${DPI_TAB[@]}"
sleep 0.5
choose_rate "$win" 2
apply_and_wait "Apply while the pointer moves"
wait_write_end || fail "the write while the pointer moved did not close its bracket"
[ "$(general_byte 11)" = "04" ] || fail "the report rate 250 Hz was not sent ($(general_byte 11))"
[ "$(window_count)" -eq 1 ] || fail "a message box after the write while the pointer moved"
log "moving: $(grep -c '^>' "$TRACE") reports written, rate byte $(general_byte 11)"
choose_rate "$win" 4
apply_and_wait "rate restored while the pointer moves"
[ "$(general_byte 11)" = "01" ] || fail "the report rate 1000 Hz was not restored"
send_control "motion 0"
click_box "$win" 69 90 149 25
sleep 0.3
