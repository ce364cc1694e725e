# The sanitizer build: -DMOUSECFG_SANITIZE=ON builds everything with AddressSanitizer and
# UndefinedBehaviorSanitizer (scripts/test-sanitize.sh builds it into build-asan and runs the
# suite). Any report ends the program with a failure, so a test, or the build step that runs
# one of our tools, fails on it.
#
# MC_SANITIZER_ENV  the environment every test runs with (a list of NAME=VALUE)
# MC_RUN_TOOL       prefix for a COMMAND that runs one of our executables during the build
option(MOUSECFG_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

set(MC_SANITIZER_ENV)
set(MC_RUN_TOOL)
if(MOUSECFG_SANITIZE)
    set(MC_SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer)
    add_compile_options(${MC_SANITIZE_FLAGS})
    add_link_options(${MC_SANITIZE_FLAGS})
    # Qt's own allocations that Qt never frees (not leaks of ours) are listed in this file.
    set(MC_LSAN_SUPPRESSIONS ${CMAKE_SOURCE_DIR}/cmake/lsan-qt.supp)
    set(MC_SANITIZER_ENV
        "ASAN_OPTIONS=halt_on_error=1:detect_leaks=1"
        "LSAN_OPTIONS=suppressions=${MC_LSAN_SUPPRESSIONS}:print_suppressions=0"
        "UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1")
    set(MC_RUN_TOOL ${CMAKE_COMMAND} -E env ${MC_SANITIZER_ENV})
endif()
