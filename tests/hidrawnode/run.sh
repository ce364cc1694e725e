#!/usr/bin/env bash
# The real hidapi hidraw library against a simulated receiver node: in a private mount namespace
# a crafted sysfs tree (the receiver's hidraw node, HID device with its report descriptor, USB
# interface and device) is mounted over /sys, and the preloaded node shim connects each open of
# /dev/hidraw3 to the emulated receiver served by mousecfg-hidraw-node. libudev finds the node,
# hidapi parses the descriptor into its usages, opens the node, writes commands and reads every
# report of the interface as it would on a machine with the receiver plugged in.
#
#   run.sh CLI NODE-SERVER SHIM BIN-DIR
#
# Exit 77 (skipped) where no mount namespace can be made.
set -euo pipefail
cli=$1 server=$2 shim=$3 bin=$4

if [ "${MOUSECFG_IN_NAMESPACE:-}" != 1 ]; then
    for how in "unshare -m --propagation private" "unshare -Urm --propagation private"; do
        if $how true 2>/dev/null; then
            exec env MOUSECFG_IN_NAMESPACE=1 $how bash "$0" "$@"
        fi
    done
    echo "SKIP: no private mount namespace can be made here (unshare -m / -Urm refused)"
    exit 77
fi

work=$(mktemp -d /tmp/mousecfg-node.XXXXXX)
server_pid=
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

data=$work/data
mkdir -p "$data"
cp -r "$bin/DefaultProfile.bin" "$bin/Configs" "$data/"
# A sanitizer build preloads its runtime's interceptors after ours.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:verify_asan_link_order=0"

# Starts the emulated receiver, writing its sysfs entries into $1 (environment: the mouse's
# motion), and waits until it serves.
start_server() {
    rm -f "$work/ready" "$work/served"
    "$server" --data-dir "$data" --sysfs "$1" --socket "$work/node.sock" \
        --out "$work/served" >"$work/ready" 2>"$work/server.err" &
    server_pid=$!
    for _ in $(seq 100); do
        grep -q '^ready' "$work/ready" 2>/dev/null && break
        kill -0 "$server_pid" 2>/dev/null || fail "the node server ended: $(cat "$work/server.err")"
        sleep 0.05
    done
    grep -q '^ready' "$work/ready" || fail "the node server never became ready"
}

stop_server() {
    kill -TERM "$server_pid"
    wait "$server_pid" || fail "the node server failed: $(cat "$work/server.err")"
    server_pid=
}

# The command-line tool on the real hidapi backend, through the simulated node.
node_cli() {
    env -u MOUSECFG_EMULATE -u MOUSECFG_EMULATE_MOTION \
        LD_PRELOAD="$shim" MOUSECFG_NODE_PATH=/dev/hidraw3 \
        MOUSECFG_NODE_SOCKET="$work/node.sock" \
        MOUSECFG_NODE_DESCRIPTOR=/sys/class/hidraw/hidraw3/device/report_descriptor \
        MOUSECFG_NODE_IDS="$ids" "$cli" --data-dir "$data" "$@"
}

# The commands a trace shows written, without the status queries (their number follows time).
written() {
    grep '^>' "$1" | sed 's/^> *//' | awk '$4 != "48"' || true
}

MOUSECFG_EMULATE_MOTION=1000 start_server "$work/sys"
ids=$(awk '{print $3}' "$work/ready")
mount --bind "$work/sys" /sys || fail "cannot mount the simulated sysfs over /sys"

# Found through libudev and the descriptor's usages, as on a real machine.
out=$(node_cli --verbose devices 2>&1) || fail "devices found nothing: $out"
grep -q "Commands go to: receiver" <<<"$out" || fail "devices: $out"
grep -q "receiver command collection: /dev/hidraw3" <<<"$out" || fail "devices: $out"

# The status answer read among the pointer's reports.
out=$(node_cli --verbose --trace="$work/status.trace" status 2>&1) ||
    fail "status: $out $(grep -v '^< 01 ' "$work/status.trace")"
grep -q "Connection: receiver" <<<"$out" || fail "status: $out"
grep -q "Battery" <<<"$out" || fail "status shows no battery: $out"

# A full write while the pointer moves at 1000 Hz, traced on the host side.
node_cli --trace="$work/host.trace" apply >"$work/apply.out" 2>&1 ||
    fail "apply failed while the mouse moved: $(cat "$work/apply.out")"
grep -q '^< 01 ' "$work/host.trace" || fail "the host never saw a pointer report on the node"
stop_server
grep -qx 'refused 0' "$work/served" || fail "the mouse refused reports: $(grep refused "$work/served")"
grep -q '^commits [1-9]' "$work/served" || fail "nothing was committed"

# What reached the mouse is what the host wrote, and what the program writes to its own
# emulated mouse: the same commands, byte for byte, whichever side of the library.
written "$work/host.trace" >"$work/host.cmds"
written "$work/served" >"$work/served.cmds"
MOUSECFG_EMULATE=receiver "$cli" --data-dir "$data" --trace="$work/ref.trace" apply >/dev/null ||
    fail "apply on the built-in emulated mouse failed"
written "$work/ref.trace" >"$work/ref.cmds"
[ -s "$work/ref.cmds" ] || fail "the reference run wrote nothing"
cmp -s "$work/host.cmds" "$work/served.cmds" ||
    fail "the mouse received other reports than the host wrote:
$(diff "$work/host.cmds" "$work/served.cmds" | head -20)"
cmp -s "$work/host.cmds" "$work/ref.cmds" ||
    fail "through the node the program wrote other reports than to its emulated mouse:
$(diff "$work/host.cmds" "$work/ref.cmds" | head -20)"

# A node the user may not open: said by name and reason, and no device is usable.
start_server "$work/unused"
set +e
out=$(MOUSECFG_NODE_DENY=1 node_cli devices)
status=$?
set -e
stop_server
[ "$status" = 1 ] || fail "devices with an unopenable node exited $status"
grep -q "The mouse is present, but /dev/hidraw3 cannot be opened: Permission denied." <<<"$out" ||
    fail "devices with an unopenable node: $out"

echo "PASS: $(wc -l <"$work/host.cmds") commands through the simulated node, pointer at 1000 Hz"
