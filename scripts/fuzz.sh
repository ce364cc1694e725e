#!/usr/bin/env bash
# Builds the libFuzzer harnesses (clang, -DMOUSECFG_FUZZ=ON) into build-fuzz/ (or
# $MOUSECFG_FUZZ_DIR) and runs each for SECONDS (default 60), or only the harnesses named.
# New corpus entries go to build-fuzz/fuzz-work/corpus/, crash inputs to
# build-fuzz/fuzz-work/artifacts/; the repository's seed corpora (tests/fuzz/corpus/) are only
# read. Prints the executions of every harness and exits non-zero when one failed.
#   scripts/fuzz.sh [SECONDS] [NAME...]
#   scripts/fuzz.sh --smoke    build, then run the fuzz build's CTest tests (a few seconds each)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MOUSECFG_FUZZ_DIR:-$root/build-fuzz}
names=(profile_file config_file product_description macro_file transport_reply status_report
       hid_descriptor)

smoke=0
seconds=60
if [ "${1:-}" = "--smoke" ]; then
    smoke=1
    shift
elif [[ "${1:-}" =~ ^[0-9]+$ ]]; then
    seconds=$1
    shift
fi
if [ $# -gt 0 ]; then
    names=("$@")
fi

bash "$root/scripts/setup.sh"
# ccache, as scripts/build.sh uses it: the fuzz build of a second work tree is mostly cache hits.
if command -v ccache >/dev/null 2>&1; then
    export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
    export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
fi
# The harnesses are built with the Qt of the main build (5.15 unless MOUSECFG_QT_MAJOR says 6).
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DMOUSECFG_FUZZ=ON \
    -DMOUSECFG_QT_MAJOR=${MOUSECFG_QT_MAJOR:-5} \
    -DCMAKE_BUILD_TYPE=${MOUSECFG_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build" --target fuzzers -j"$(nproc)"

if [ $smoke -eq 1 ]; then
    cd "$build"
    exec ctest --output-on-failure -j"$(nproc)" -L fuzz
fi

work=$build/fuzz-work
mkdir -p "$work/logs"
failed=0
summary=()
for name in "${names[@]}"; do
    log=$work/logs/$name.log
    echo "fuzz: $name for ${seconds}s"
    status=ok
    if ! bash "$root/tests/fuzz/run-fuzzer.sh" "$build/fuzz/${name}_fuzzer" "$name" "$seconds" \
        "$work" >"$log" 2>&1; then
        status="FAILED (see $log)"
        failed=1
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    summary+=("$(printf '%-22s %12s runs %8s exec/s  %s' "$name" "${runs:-?}" "${speed:-?}" \
        "$status")")
done
printf '%s\n' "${summary[@]}"
exit $failed
