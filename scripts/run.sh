#!/usr/bin/env bash
# Installs what is missing, builds Mousecfg and starts it. With no mouse plugged in, the
# built-in emulated mouse stands in (set MOUSECFG_EMULATE=none to see the no-mouse path).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
if [ -x "$build/bin/mousecfg" ]; then
    exec "$build/bin/mousecfg" "$@"
fi
# Before the window exists the command-line tool shows what the program sees.
"$build/bin/mousecfg-cli" --emulate devices
exec "$build/bin/mousecfg-cli" --emulate status
