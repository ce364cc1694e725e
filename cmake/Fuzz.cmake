# The fuzz build: -DMOUSECFG_FUZZ=ON, with clang (CC=clang CXX=clang++), builds only the non-GUI
# libraries, instrumented for libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer, and
# the harnesses of tests/fuzz (target "fuzzers"). scripts/fuzz.sh builds it into build-fuzz and
# runs every harness; its CTest tests replay the regression inputs and fuzz each harness briefly.
option(MOUSECFG_FUZZ "Build the libFuzzer harnesses (needs clang)" OFF)

if(MOUSECFG_FUZZ)
    if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
        message(FATAL_ERROR "MOUSECFG_FUZZ needs clang: configure with CC=clang CXX=clang++")
    endif()
    if(MOUSECFG_SANITIZE)
        message(FATAL_ERROR "MOUSECFG_FUZZ carries its own sanitizers; leave MOUSECFG_SANITIZE off")
    endif()
    # Any report of the sanitizers ends the run, so libFuzzer keeps the input as a crash.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
    set(MC_LSAN_SUPPRESSIONS ${CMAKE_SOURCE_DIR}/cmake/lsan-qt.supp)
endif()
