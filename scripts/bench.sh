#!/usr/bin/env bash
# Builds Mousecfg in release mode (build-bench/) and runs every benchmark under bench/.
# Each benchmark prints its own figures and its target.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
export MOUSECFG_BUILD_DIR=${MOUSECFG_BUILD_DIR:-$root/build-bench}
export MOUSECFG_BUILD_TYPE=Release
bash "$root/scripts/build.sh"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
status=0
for b in "$MOUSECFG_BUILD_DIR"/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" || status=1
done
exit $status
