# `cmake --install` and the installer (CPack, NSIS) of the Windows build. Everything goes into one
# folder: the programs, the shipped read-only files beside them (where the program looks first;
# a folder it cannot write, such as Program Files, makes it keep what it writes in the user's
# data folder), and the Qt libraries, plugins and compiler runtime that windeployqt copies.
# As on Linux, install after building (scripts/build.sh or cmake --build).
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS mousecfg mousecfg-cli mousecfg-osd RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/assets/product/DefaultProfile.bin DESTINATION .)
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/product/Configs DESTINATION .)
install(DIRECTORY ${MC_BIN_DIR}/skin ${MC_BIN_DIR}/lang DESTINATION .)

# hidapi's library, which windeployqt (it copies Qt's) does not know.
get_filename_component(mc_compiler_dir ${CMAKE_CXX_COMPILER} DIRECTORY)
find_file(MC_HIDAPI_DLL NAMES libhidapi-0.dll hidapi.dll
    HINTS ${mc_compiler_dir} ${HIDAPI_PREFIX}/bin PATH_SUFFIXES bin)
if(MC_HIDAPI_DLL)
    install(FILES ${MC_HIDAPI_DLL} DESTINATION .)
else()
    message(WARNING "hidapi's DLL not found: the installation will lack it (set MC_HIDAPI_DLL)")
endif()

# windeployqt of the Qt the build uses: beside its qmake, or on the PATH.
get_target_property(mc_qmake Qt${QT_VERSION_MAJOR}::qmake IMPORTED_LOCATION)
get_filename_component(mc_qt_bin "${mc_qmake}" DIRECTORY)
find_program(MC_WINDEPLOYQT NAMES windeployqt windeployqt${QT_VERSION_MAJOR}
    windeployqt-qt${QT_VERSION_MAJOR} HINTS ${mc_qt_bin})
if(MC_WINDEPLOYQT)
    # At install time, into the prefix (and DESTDIR) of that run, so CPack's staging folder gets
    # the same as a plain `cmake --install`.
    install(CODE "
        set(dir \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
        foreach(exe mousecfg.exe mousecfg-osd.exe)
            execute_process(COMMAND \"${MC_WINDEPLOYQT}\" --compiler-runtime --no-opengl-sw
                    --no-system-d3d-compiler \"\${dir}/\${exe}\"
                RESULT_VARIABLE rc)
            if(NOT rc EQUAL 0)
                message(FATAL_ERROR \"windeployqt \${exe}: \${rc}\")
            endif()
        endforeach()")
else()
    message(WARNING "windeployqt not found: the installation will lack the Qt libraries")
endif()

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_PACKAGE_NAME Mousecfg)
set(CPACK_PACKAGE_VENDOR "Mousecfg developers")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Configuration utility for wireless gaming mice")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Mousecfg)
# A start menu entry for the window; the command-line tool and the display program are started
# from there or by the window.
set(CPACK_PACKAGE_EXECUTABLES mousecfg Mousecfg)
set(CPACK_NSIS_DISPLAY_NAME Mousecfg)
set(CPACK_NSIS_PACKAGE_NAME Mousecfg)
set(CPACK_NSIS_MUI_ICON ${MC_BIN_DIR}/skin/icon.ico)
set(CPACK_NSIS_MUI_UNIICON ${MC_BIN_DIR}/skin/icon.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME mousecfg.exe)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
