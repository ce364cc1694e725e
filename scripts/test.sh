#!/usr/bin/env bash
# Installs what is missing, builds everything with Qt 5.15 (build/) and, where Qt 6 is installed,
# with Qt 6 (build-qt6/), and runs every test of both builds through CTest on Qt's offscreen
# platform. Exits non-zero when a build step or a test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
(cd "$build" && ctest --output-on-failure -j"$(nproc)" "$@")

# The same project built with Qt 6 in a second folder, where Qt 6 is installed (scripts/setup.sh
# installs it), and its whole suite: both builds must pass the same tests and read and write the
# same files (test_crossqt). MOUSECFG_QT6=0 leaves the Qt 6 build out; MOUSECFG_QT6_TESTS=0
# builds it but leaves its suite out. Arguments go to both ctest runs.
if [ "${MOUSECFG_QT6:-1}" != 0 ] && pkg-config --exists Qt6Widgets 2>/dev/null; then
    build6=${MOUSECFG_QT6_BUILD_DIR:-$root/build-qt6}
    MOUSECFG_BUILD_DIR=$build6 MOUSECFG_QT_MAJOR=6 bash "$root/scripts/build.sh"
    if [ "${MOUSECFG_QT6_TESTS:-1}" != 0 ]; then
        (cd "$build6" && ctest --output-on-failure -j"$(nproc)" "$@")
    else
        echo "test: Qt 6 build made; its suite is left out (MOUSECFG_QT6_TESTS=0)"
    fi
else
    echo "test: no Qt 6 (or MOUSECFG_QT6=0); only the Qt 5.15 build is tested"
fi

# The fuzz harnesses, a few seconds each, where clang can build them (scripts/fuzz.sh).
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
if command -v clang++ >/dev/null 2>&1 &&
    echo 'extern "C" int LLVMFuzzerTestOneInput(const char *, unsigned long) { return 0; }' |
    clang++ -x c++ -fsanitize=fuzzer,address,undefined - -o "$probe/probe" 2>/dev/null; then
    bash "$root/scripts/fuzz.sh" --smoke
else
    echo "test: no clang with libFuzzer; the fuzz harnesses are not run"
fi
