#!/usr/bin/env bash
# Configures and builds Mousecfg into build/ (or $MOUSECFG_BUILD_DIR). Used by run.sh and test.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${MOUSECFG_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build" -j"$(nproc)" "$@"
