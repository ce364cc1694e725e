#!/usr/bin/env bash
# End to end on Wayland: the real mousecfg as a native Wayland client of sway (headless backend,
# XWayland on), against the emulated mouse with its HID trace. A headless compositor has no
# input devices, so a small client of the virtual-pointer protocol gives its seat a pointer;
# grim takes the screenshots. Checks:
# - the window moves when dragged by its title area (the compositor moves a Wayland window);
# - an announcement appears near the bottom of the screen, takes no focus, selects no slot, and
#   a click on it reaches the window under it;
# - two native clients (foot, app_ids gamea and gameb) and an XWayland client (xmessage) raised
#   in turn select their rules' slots exactly once each; the program's own window selects none;
# - a second user (runuser/setpriv) starts an instance of their own while the first one runs;
# - a start at log-in (--hidden) without a tray shows no window at first, then the window.
# Skipped (status 77) with a message where sway and its companions are missing.
# Usage: wayland.sh BIN_DIR WLPOINTER OUT_DIR
set -euo pipefail
BIN=$(cd "$1" && pwd)
PTR_BIN=$2
OUT=$3
mkdir -p "$OUT"
rm -f "$OUT"/*.png
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=lib.sh
. "$here/lib.sh"

missing=
for tool in sway swaymsg grim foot jq xmessage convert; do
    command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
ls /usr/lib/*/qt5/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 ||
    missing="$missing qtwayland5"
if [ -n "$missing" ]; then
    log "skipped: not installed:$missing (scripts/setup.sh installs them)"
    exit 77
fi

APP_ID=org.mousecfg.Mousecfg
SCALE_PCT=$((E2E_DPI * 100 / 96))
WIN_W=$((999 * SCALE_PCT / 100))
WIN_H=$((640 * SCALE_PCT / 100))
SCREEN_W=1600
SCREEN_H=1000

EXTRA_PIDS=()
SWAY_PID=
SECOND_PID=
stop_wayland() {
    local pid
    for pid in "${APP_PID:-}" "${SECOND_PID:-}" "${EXTRA_PIDS[@]}" "${SWAY_PID:-}"; do
        if [ -n "$pid" ]; then
            kill "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    APP_PID=
    if [ -n "${DATA:-}" ]; then rm -rf "$DATA"; fi
    if [ -n "${DATA2:-}" ]; then rm -rf "$DATA2"; fi
    if [ -n "${SESSION_DIR:-}" ]; then rm -rf "$SESSION_DIR"; fi
    if [ -n "${USER_RUNTIME:-}" ]; then rm -rf "$USER_RUNTIME"; fi
    if [ -n "${SHARED_TMP:-}" ]; then rm -rf "$SHARED_TMP"; fi
}
trap stop_wayland EXIT
trap "exit 1" INT TERM

STEP=0
shot() {
    STEP=$((STEP + 1))
    grim "$OUT/$(printf '%02d' "$STEP")-$1-${E2E_DPI}dpi.png" 2>/dev/null
}

# sway refuses to run as root: a root caller runs it (and the second user's instance) as
# nobody; the first user is the caller.
SESSION_DIR=$(mktemp -d)
chmod 700 "$SESSION_DIR"
AS_OTHER=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$SESSION_DIR"
    AS_OTHER=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
cat >"$SESSION_DIR/sway.conf" <<EOF
output HEADLESS-1 resolution ${SCREEN_W}x${SCREEN_H} position 0 0
xwayland force
default_border pixel 2
# sway tiles every window that does not ask for a fixed size; an image-shaped window floats.
for_window [app_id="$APP_ID"] floating enable, border none
for_window [class="mousecfg"] floating enable, border none
exec echo "\$DISPLAY" >$SESSION_DIR/xdisplay
EOF
chmod 644 "$SESSION_DIR/sway.conf"
env -i PATH="$PATH" HOME="$SESSION_DIR" XDG_RUNTIME_DIR="$SESSION_DIR" WLR_BACKENDS=headless \
    WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    "${AS_OTHER[@]}" sway -c "$SESSION_DIR/sway.conf" >"$OUT/sway.log" 2>&1 &
SWAY_PID=$!
for i in $(seq 1 100); do
    sock=$(ls "$SESSION_DIR"/wayland-? 2>/dev/null | head -n 1 || true)
    ipc=$(ls "$SESSION_DIR"/sway-ipc.*.sock 2>/dev/null | head -n 1 || true)
    [ -n "$sock" ] && [ -n "$ipc" ] && [ -s "$SESSION_DIR/xdisplay" ] && break
    kill -0 "$SWAY_PID" 2>/dev/null || fail "sway did not start (see $OUT/sway.log)"
    sleep 0.1
done
[ -n "${sock:-}" ] && [ -n "${ipc:-}" ] || fail "sway did not open its sockets"
# The caller's own runtime folder (the instance lock lives there), the compositor's socket by
# its full path.
USER_RUNTIME=$(mktemp -d)
chmod 700 "$USER_RUNTIME"
export XDG_RUNTIME_DIR="$USER_RUNTIME" WAYLAND_DISPLAY="$sock" SWAYSOCK="$ipc"
XWAYLAND_DISPLAY=$(cat "$SESSION_DIR/xdisplay")
unset DISPLAY

tree() { swaymsg -r -t get_tree; }
# The brightness (0..255, the mean of the channels) of pixel $2,$3 of the image $1.
brightness() {
    convert "$1" -crop "1x1+$2+$3" +repage -format '%[fx:int(255*(r+g+b)/3)]' info:
}
# The window's corners outside its rounded shape show what lies under them: the window (app_id
# or class $1, design width $2 at the scale in use) is put over the white xmessage tile, and the
# strip left of its shape, a corner of the shape and a point inside are read from a screenshot.
check_corners() {
    local x y w h s shot light
    swaymsg "[$1] move position 1100 120" >/dev/null
    sleep 0.5
    read -r x y w h <<<"$(rect_of "${1#*=}")"
    shot="$OUT/corners-${1%%=*}-${E2E_DPI}dpi.png" # kept to be looked at
    grim "$shot"
    s=$((w * 100 / 999)) # percent of the design size
    for p in "$((x + 20 * s / 100)) $((y + 300 * s / 100)) strip" \
        "$((x + 44 * s / 100 + 1)) $((y + 1)) corner"; do
        read -r px py what <<<"$p"
        light=$(brightness "$shot" "$px" "$py")
        [ "$light" -gt 200 ] || fail "$2: the $what left of the shape is opaque ($light at $px,$py)"
    done
    light=$(brightness "$shot" $((x + 300 * s / 100)) $((y + 300 * s / 100)))
    [ "$light" -lt 100 ] || fail "$2: the window is not drawn at all ($light inside)"
    log "$2: the corners outside the shape show what lies under them"
}
# x y width height of the first window of app_id $1.
rect_of() {
    tree | jq -r --arg id "$1" 'first(.. | objects | select(.app_id? == $id or
        (.window_properties?.class? // "") == $id) | "\(.rect.x) \(.rect.y) \(.rect.width) \(.rect.height)")'
}
wait_app() {
    local i
    for i in $(seq 1 100); do
        [ -n "$(rect_of "$1")" ] && return 0
        sleep 0.1
    done
    return 1
}
focused_is() { swaymsg "[$1 con_id=__focused__] nop" >/dev/null 2>&1; }
wait_focused() {
    local i
    for i in $(seq 1 "${2:-20}"); do
        focused_is "$1" && return 0
        sleep 0.1
    done
    return 1
}

# The pointer: one command a line, each acknowledged.
coproc PTR { "$PTR_BIN" "$SCREEN_W" "$SCREEN_H"; }
EXTRA_PIDS+=("$PTR_PID")
PTR_IN=${PTR[1]}
read -r -t 10 answer <&"${PTR[0]}" || fail "the virtual pointer did not start"
[ "$answer" = ready ] || fail "the virtual pointer: $answer"
pointer() {
    printf '%s\n' "$*" >&"$PTR_IN"
    read -r -t 5 answer <&"${PTR[0]}" || fail "the virtual pointer did not answer"
}
# The pointer rests a moment before the button: the compositor finds the surface under it when
# it arrives.
click() {
    pointer move "$1" "$2"
    sleep 0.2
    pointer press
    pointer release
}

# One after the other, so that the tiles lie in this order: gamea, gameb, the X11 client.
foot --app-id gamea --title gamea sleep 1000 >"$OUT/gamea.log" 2>&1 &
EXTRA_PIDS+=($!)
wait_app gamea || fail "the native client gamea did not appear"
# gameb records the mouse buttons it receives (xterm mouse reporting, written out as text):
# what a click on the announcement above it delivers.
CLICKS="$OUT/gameb-clicks.txt"
: >"$CLICKS"
foot --app-id gameb --title gameb sh -c \
    "printf '\\033[?1000h'; stty raw -echo; exec cat -v >'$CLICKS'" >"$OUT/gameb.log" 2>&1 &
EXTRA_PIDS+=($!)
wait_app gameb || fail "the native client gameb did not appear"
# XWayland lets in only the compositor's user.
DISPLAY=$XWAYLAND_DISPLAY "${AS_OTHER[@]}" xmessage -name gamex "gamex" >"$OUT/gamex.log" 2>&1 &
EXTRA_PIDS+=($!)
wait_app Xmessage || fail "the XWayland client did not appear"

make_data_dir
cat >>"$DATA/Configs/Config.ini" <<'INI'

[FocusRules]
Enabled=1
DefaultSlot=1
Count=3
App_0=gamea
Slot_0=3
App_1=GameB
Slot_1=5
App_2=Xmessage
Slot_2=2
INI
# A temporary folder shared by all users, as the system's is (and as the second user below
# gets it): only the per-user runtime folder keeps the instance locks and sockets apart. Not
# the system's own, so that nothing is left there.
SHARED_TMP=$(mktemp -d)
chmod 1777 "$SHARED_TMP"
TMPDIR="$SHARED_TMP" MOUSECFG_EMULATE=receiver MOUSECFG_TRACE="$TRACE" \
    MOUSECFG_EMULATOR_CONTROL="$CONTROL" QT_QPA_PLATFORM=wayland QT_WAYLAND_FORCE_DPI="$E2E_DPI" \
    "$BIN/mousecfg" --verbose --data-dir "$DATA" >"$OUT/mousecfg.log" 2>&1 &
APP_PID=$!
wait_app "$APP_ID" || fail "the window did not appear (see $OUT/mousecfg.log)"
sleep 1
read -r x y w h <<<"$(rect_of "$APP_ID")"
[ "$w" -eq "$WIN_W" ] && [ "$h" -eq "$WIN_H" ] ||
    fail "the window is ${w}x${h}, not ${WIN_W}x${WIN_H} at $E2E_DPI dpi"
check_corners "app_id=$APP_ID" "native window"
swaymsg "[app_id=$APP_ID] move position 20 20" >/dev/null
sleep 0.5
shot window

# Dragged by its title area (design point 720, 20, clear of the header text), 200 and 100 pixels in small steps.
read -r x y w h <<<"$(rect_of "$APP_ID")"
px=$((x + 720 * SCALE_PCT / 100))
py=$((y + 20 * SCALE_PCT / 100))
pointer move "$px" "$py"
pointer press
# Past the threshold, then a pause: the compositor takes over from where the pointer is when
# the program asks it to.
pointer move $((px + 10)) $((py + 5))
sleep 0.3
for i in $(seq 1 10); do pointer move $((px + 10 + i * 20)) $((py + 5 + i * 10)); done
pointer release
sleep 0.5
read -r x2 y2 _ _ <<<"$(rect_of "$APP_ID")"
[ $((x2 - x)) -ge 180 ] && [ $((y2 - y)) -ge 90 ] ||
    fail "dragging the title area moved the window from $x,$y to $x2,$y2"
shot dragged
log "drag: the window moved from $x,$y to $x2,$y2"
# The macro tab (design 69, 192, 149 x 25), for the screenshot: a native Wayland client gets
# no keys of other programs, and the editor says so under START.
click $((x2 + 143 * SCALE_PCT / 100)) $((y2 + 204 * SCALE_PCT / 100))
sleep 0.5
shot macro-tab

# The profile per application. Raises $1 (a criterion) and waits until the trace holds the
# SelectProfile of slot $2 (0-based, hex), and that one alone once things have settled.
raise_expect() {
    : >"$TRACE"
    swaymsg "[$1] focus" >/dev/null
    wait_trace "^> 05 [0-9a-f]{2} fa 44 $2 " || fail "raising $3 did not select slot $2"
    sleep 0.8
    [ "$(written 44 | wc -l)" -eq 1 ] || fail "raising $3 selected more than once: $(written 44)"
}
raise_expect_none() {
    : >"$TRACE"
    swaymsg "[$1] focus" >/dev/null
    sleep 1
    [ -z "$(written 44)" ] || fail "raising $2 selected a slot: $(written 44)"
}
raise_expect app_id=gamea 02 "gamea"
raise_expect app_id=gameb 04 "gameb"
raise_expect class=Xmessage 01 "the XWayland client"
raise_expect app_id=gamea 02 "gamea again"
raise_expect_none "app_id=$APP_ID" "the program's own window"
shot focus-own-window
raise_expect app_id=gameb 04 "gameb again"
log "focus: the active slot followed gamea, gameb, xmessage, gamea, (own window), gameb"

# The announcement: the window out of the way, gamea in front, the mouse reports another
# profile. The overlay shows near the bottom, centred; gamea keeps the focus; nothing is
# selected; a click on the overlay reaches the window under it (gameb, the middle tile, which
# then selects its slot).
swaymsg "[app_id=$APP_ID] move scratchpad" >/dev/null
swaymsg "[app_id=gamea] focus" >/dev/null
sleep 1
if [ "${E2E_LAYER_SHELL:-1}" = 1 ]; then
    grim "$OUT/before-osd.png"
    : >"$TRACE"
    send_control "report 1 0 1"
    sleep 0.5
    grim "$OUT/osd.png"
    shot osd
    box=$(convert "$OUT/before-osd.png" "$OUT/osd.png" -compose difference -composite \
        -threshold 10% -trim -format '%w %h %X %Y' info: 2>/dev/null || true)
    read -r bw bh bx by <<<"$box"
    bx=${bx#+}
    by=${by#+}
    [ -n "$bw" ] && [ "$bw" -gt 20 ] || fail "no announcement was seen"
    [ "$by" -gt $((SCREEN_H / 2)) ] || fail "the announcement is at y $by, not near the bottom"
    centre=$((bx + bw / 2))
    [ "$centre" -gt $((SCREEN_W / 2 - 40)) ] && [ "$centre" -lt $((SCREEN_W / 2 + 40)) ] ||
        fail "the announcement is not centred (x $bx, width $bw)"
    focused_is app_id=gamea || fail "the announcement took the focus"
    [ -z "$(tree | jq -r '.. | objects | select(.app_id? == "org.mousecfg.Mousecfg.Osd") | .id')" ] ||
        fail "the announcement is a window of the tiling layout"
    [ -z "$(written 44)" ] || fail "the announcement selected a slot: $(written 44)"
    # Over gameb (the middle tile): the button reaches gameb, and the announcement was still there.
    read -r gx _ gw _ <<<"$(rect_of gameb)"
    [ "$centre" -gt "$gx" ] && [ "$centre" -lt $((gx + gw)) ] || fail "gameb is not under the announcement"
    : >"$CLICKS"
    click "$centre" $((by + bh / 2))
    grim "$OUT/osd-after-click.png"
    still=$(convert "$OUT/before-osd.png" "$OUT/osd-after-click.png" -compose difference -composite \
        -crop "${bw}x${bh}+${bx}+${by}" -threshold 10% -format '%[fx:mean>0.01]' info: 2>/dev/null || true)
    for i in $(seq 1 20); do
        [ -s "$CLICKS" ] && break
        sleep 0.1
    done
    [ -s "$CLICKS" ] || fail "a click on the announcement did not reach the window under it"
    [ "$still" = 1 ] || fail "the announcement was gone before the click was checked"
    log "announcement: ${bw}x${bh} at $bx,$by, no focus taken, a click passed through"
    rm -f "$OUT/before-osd.png" "$OUT/osd.png" "$OUT/osd-after-click.png"
else
    # A build without layer-shell-qt (Debian 12 has it for Qt 5 only) has no overlay: with no
    # notification server either, a window of its own would take the focus when it appears, so
    # the announcement is not shown. The focus stays and nothing is selected, also once the
    # display program has had the time to start and show a window.
    : >"$TRACE"
    send_control "report 1 0 1"
    sleep 1.5
    shot osd
    focused_is app_id=gamea || fail "the announcement took the focus"
    [ -z "$(written 44)" ] || fail "the announcement selected a slot: $(written 44)"
    log "announcement: not shown without layer-shell-qt; no focus taken, nothing selected"
fi

# The same program as an X11 client of XWayland: the drag goes to the compositor there too (it
# would centre an X11 window that moved itself), the focus watcher still follows native and X11
# clients, and the program's own X11 window selects nothing.
kill "$APP_PID"
wait "$APP_PID" 2>/dev/null || true
swaymsg "[app_id=gameb] focus" >/dev/null
if [ "${#AS_OTHER[@]}" -gt 0 ]; then
    DISPLAY=$XWAYLAND_DISPLAY "${AS_OTHER[@]}" xhost "+si:localuser:$(id -un)" >/dev/null
fi
# The dots per inch as a desktop announces them to X11 clients: Qt 6 reads nothing else.
printf 'Xft.dpi: %s\n' "$E2E_DPI" | DISPLAY=$XWAYLAND_DISPLAY xrdb -merge ||
    fail "xrdb failed on XWayland"
: >"$TRACE"
TMPDIR="$SHARED_TMP" MOUSECFG_EMULATE=receiver MOUSECFG_TRACE="$TRACE" \
    MOUSECFG_EMULATOR_CONTROL="$CONTROL" QT_QPA_PLATFORM=xcb DISPLAY="$XWAYLAND_DISPLAY" \
    "$BIN/mousecfg" --verbose --data-dir "$DATA" >"$OUT/mousecfg-xwayland.log" 2>&1 &
APP_PID=$!
wait_app mousecfg || fail "the X11 window did not appear (see $OUT/mousecfg-xwayland.log)"
sleep 1
check_corners "class=mousecfg" "XWayland window"
swaymsg "[class=mousecfg] move position 20 20" >/dev/null
sleep 0.5
read -r x y w h <<<"$(rect_of mousecfg)"
px=$((x + 720 * w / 999))
py=$((y + 20 * w / 999))
pointer move "$px" "$py"
pointer press
pointer move $((px + 10)) $((py + 5))
sleep 0.3
for i in $(seq 1 10); do pointer move $((px + 10 + i * 20)) $((py + 5 + i * 10)); done
pointer release
sleep 0.5
read -r x2 y2 _ _ <<<"$(rect_of mousecfg)"
[ $((x2 - x)) -ge 180 ] && [ $((y2 - y)) -ge 90 ] ||
    fail "XWayland: dragging the title area moved the window from $x,$y to $x2,$y2"
shot xwayland-dragged
raise_expect app_id=gamea 02 "gamea (XWayland window)"
raise_expect_none "class=mousecfg" "the program's own X11 window"
raise_expect app_id=gameb 04 "gameb (XWayland window)"
log "XWayland: the window moved from $x,$y to $x2,$y2; the slot followed gamea, (own window), gameb"

# A second user starts their own instance while the first one runs.
if [ "${#AS_OTHER[@]}" -gt 0 ]; then
    DATA2=$(mktemp -d)
    cp -r "$BIN/DefaultProfile.bin" "$BIN/Configs" "$DATA2/"
    ln -s "$BIN/skin" "$DATA2/skin"
    chown -R nobody:nogroup "$DATA2"
    env TMPDIR="$SHARED_TMP" XDG_RUNTIME_DIR="$SESSION_DIR" WAYLAND_DISPLAY="$sock" HOME="$SESSION_DIR" \
        MOUSECFG_EMULATE=receiver QT_QPA_PLATFORM=wayland \
        "${AS_OTHER[@]}" "$BIN/mousecfg" --data-dir "$DATA2" >"$OUT/second-user.log" 2>&1 &
    SECOND_PID=$!
    sleep 3
    kill -0 "$SECOND_PID" 2>/dev/null ||
        fail "a second user's instance ended while the first one runs (see $OUT/second-user.log)"
    log "second user: an instance of their own runs beside the first"
else
    log "second user: not checked (needs root to start a program as another user)"
fi
# Started at log-in (--hidden) where there is no tray (no session bus, so no tray host): no
# window at first, then the window once the program gave up waiting for a tray, or the user
# could not reach it at all.
for pid in "$APP_PID" "$SECOND_PID"; do
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    fi
done
SECOND_PID=
for i in $(seq 1 50); do
    [ -z "$(rect_of "$APP_ID")" ] && break
    sleep 0.1
done
env -u DBUS_SESSION_BUS_ADDRESS TMPDIR="$SHARED_TMP" MOUSECFG_EMULATE=receiver \
    QT_QPA_PLATFORM=wayland QT_WAYLAND_FORCE_DPI="$E2E_DPI" \
    "$BIN/mousecfg" --verbose --hidden --data-dir "$DATA" >"$OUT/mousecfg-hidden.log" 2>&1 &
APP_PID=$!
sleep 2
kill -0 "$APP_PID" 2>/dev/null || fail "the --hidden start ended (see $OUT/mousecfg-hidden.log)"
[ -z "$(rect_of "$APP_ID")" ] || fail "the --hidden start showed the window at once"
for i in $(seq 1 100); do
    [ -n "$(rect_of "$APP_ID")" ] && break
    sleep 0.1
done
[ -n "$(rect_of "$APP_ID")" ] || fail "the --hidden start without a tray never showed the window"
log "start at log-in without a tray: the window showed after the wait for one"
log "all Wayland steps passed"
