#!/usr/bin/env bash
# Builds Mousecfg with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ (or
# $MOUSECFG_ASAN_DIR) and runs every test under them through CTest on Qt's offscreen platform.
# Any sanitizer report fails its test (or the build step that ran the tool); Qt's own
# never-freed allocations are suppressed by cmake/lsan-qt.supp. Arguments go to ctest.
#
# Qt 5.15 whatever else is installed, as the main build and the Debian package: the suppressions
# were made against Qt 5's libraries, and the Qt 6 build runs the same sources through the plain
# suite of scripts/test.sh. MOUSECFG_QT_MAJOR=6 sanitizes the Qt 6 build (in build-asan-qt6/).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
qt=${MOUSECFG_QT_MAJOR:-5}
if [ "$qt" = 5 ]; then
    build=${MOUSECFG_ASAN_DIR:-$root/build-asan}
else
    build=${MOUSECFG_ASAN_DIR:-$root/build-asan-qt$qt}
fi
bash "$root/scripts/setup.sh"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${MOUSECFG_BUILD_TYPE:-RelWithDebInfo} \
    -DMOUSECFG_SANITIZE=ON -DMOUSECFG_QT_MAJOR="$qt" >/dev/null
cmake --build "$build" -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
