# Reconnect: the mouse is unplugged, forgets what it held (as one that lost power does) and is
# plugged back; with no click the window gives it everything it shows: bracket, every block,
# commit.
: >"$TRACE"
send_control "unplug receiver"
wait_window_count 2 || fail "no \"Dongle Disconnect!\" box after the unplug"
send_control "reset" "plug receiver"
wait_window_count 1 || fail "the warning stayed open after the mouse came back"
wait_write_end || fail "the mouse that came back was not given the settings"
check_full_write "the write after the reconnect"
shot reconnected
log "reconnect: $(grep -c '^>' "$TRACE") reports written with no click"
