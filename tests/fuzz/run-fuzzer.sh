#!/usr/bin/env bash
# Runs one harness: every regression input and seed once, then fuzzing for SECONDS with new
# inputs kept in a scratch corpus under WORK (the repository's seeds are only read) and crash
# inputs written to WORK/artifacts/NAME/. Further arguments go to libFuzzer.
# Usage: run-fuzzer.sh BINARY NAME SECONDS WORK [libFuzzer options...]
set -euo pipefail
bin=$1 name=$2 seconds=$3 work=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
seeds=$here/corpus/$name
regressions=$here/corpus/regressions/$name
scratch=$work/corpus/$name
artifacts=$work/artifacts/$name
mkdir -p "$scratch" "$artifacts"

# Allocation stacks ten frames deep: recording thirty for every allocation was a tenth of the
# time of the harnesses that read through QSettings. A report can be run again with more.
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1:malloc_context_size=10}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/cmake/lsan-qt.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
export QT_QPA_PLATFORM=offscreen

options=(-timeout=25 -rss_limit_mb=2048 -print_final_stats=1 "-artifact_prefix=$artifacts/")
if [ -f "$here/$name.dict" ]; then
    options+=("-dict=$here/$name.dict")
fi

# Inputs that once failed must pass now, one by one, before anything new is tried, each with
# every check (the harnesses leave their slowest checks to few inputs when fuzzing).
if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
    MC_FUZZ_EVERY_CHECK=1 "$bin" "${options[@]}" "$regressions"/*
fi
"$bin" "${options[@]}" -max_total_time="$seconds" "$@" "$scratch" "$seeds"
