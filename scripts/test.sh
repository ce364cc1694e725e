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
