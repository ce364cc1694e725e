#!/usr/bin/env bash
# Builds Mousecfg with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ (or
# $MOUSECFG_ASAN_DIR) and runs every test under them through CTest on Qt's offscreen platform.
# Any sanitizer report fails its test (or the build step that ran the tool); Qt's own
# never-freed allocations are suppressed by cmake/lsan-qt.supp. Arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_ASAN_DIR:-$root/build-asan}
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${MOUSECFG_BUILD_TYPE:-RelWithDebInfo} \
    -DMOUSECFG_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
