# Programs that run during the build: Qt's translation compiler and our skin generator.
# Built for this machine they come from Qt and from this tree. When cross-compiling (the Windows
# build made on Linux), the ones built here cannot run, so MOUSECFG_HOST_TOOLS names a folder of
# programs for the build machine: a native build folder of this project (its mc_skingen) and, when
# lrelease is not on the PATH, Qt's tools folder of the build machine.
#   MC_LRELEASE      the lrelease to run
#   MC_SKINGEN       the skin generator to run
#   MC_SKINGEN_DEP   what a command that runs it depends on (the target, or nothing)
set(MOUSECFG_HOST_TOOLS "" CACHE PATH
    "Cross-compiling: folder of a native build of Mousecfg (mc_skingen) and of lrelease")

if(CMAKE_CROSSCOMPILING)
    if(NOT MOUSECFG_HOST_TOOLS)
        message(FATAL_ERROR "Cross-compiling needs -DMOUSECFG_HOST_TOOLS=<native build folder>: "
            "the skin generator and lrelease run during the build")
    endif()
    find_program(MC_HOST_SKINGEN mc_skingen PATHS ${MOUSECFG_HOST_TOOLS}
        PATH_SUFFIXES assets/skin bin NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
    find_program(MC_HOST_LRELEASE NAMES lrelease lrelease-qt${QT_VERSION_MAJOR}
        PATHS ${MOUSECFG_HOST_TOOLS} PATH_SUFFIXES bin NO_CMAKE_FIND_ROOT_PATH)
    if(NOT MC_HOST_SKINGEN OR NOT MC_HOST_LRELEASE)
        message(FATAL_ERROR "MOUSECFG_HOST_TOOLS=${MOUSECFG_HOST_TOOLS}: mc_skingen "
            "(${MC_HOST_SKINGEN}) or lrelease (${MC_HOST_LRELEASE}) not found")
    endif()
    set(MC_SKINGEN ${MC_HOST_SKINGEN})
    set(MC_SKINGEN_DEP ${MC_HOST_SKINGEN})
    set(MC_LRELEASE ${MC_HOST_LRELEASE})
else()
    set(MC_SKINGEN $<TARGET_FILE:mc_skingen>)
    set(MC_SKINGEN_DEP mc_skingen)
    set(MC_LRELEASE Qt${QT_VERSION_MAJOR}::lrelease)
endif()
