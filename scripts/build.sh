#!/usr/bin/env bash
# Configures and builds Mousecfg into build/ (or $MOUSECFG_BUILD_DIR). Used by run.sh and test.sh.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_BUILD_DIR:-$root/build}
bash "$root/scripts/setup.sh"
# ccache, where present, makes a rebuild in a fresh clone or a second work tree cheap. Paths are
# taken relative to the folder above the tree, so two clones side by side share their objects.
if command -v ccache >/dev/null 2>&1; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi
# Qt 5.15 unless MOUSECFG_QT_MAJOR says 6 (scripts/test.sh builds a second folder with Qt 6).
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=${MOUSECFG_BUILD_TYPE:-RelWithDebInfo} \
    -DMOUSECFG_QT_MAJOR=${MOUSECFG_QT_MAJOR:-5} >/dev/null
cmake --build "$build" -j"$(nproc)" "$@"
