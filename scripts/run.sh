#!/usr/bin/env bash
# Installs what is missing, builds Mousecfg and starts it. When no real mouse is plugged in, the
# built-in emulated mouse stands in; MOUSECFG_EMULATE=none (or --emulate=none) shows the
# program as it is without any mouse. Arguments are passed on to the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"

chosen=${MOUSECFG_EMULATE:-}
for a in "$@"; do
    case "$a" in --emulate*) chosen=yes ;; esac
done
if [ -z "$chosen" ] && ! "$build/bin/mousecfg-cli" devices >/dev/null 2>&1; then
    echo "run: no mouse found; starting with the emulated mouse"
    export MOUSECFG_EMULATE=receiver
fi
exec "$build/bin/mousecfg" "$@"
