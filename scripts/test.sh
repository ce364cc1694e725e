#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest on Qt's
# offscreen platform. Exits non-zero when a build step or a test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
