# `cmake --install` and the .deb (CPack). Installed, the executables live in bin/, the shipped
# read-only files (product description, sample Configs/, skin/, lang/) in share/mousecfg/, where
# the program looks for them from its own folder; what the program writes goes to the user's
# data folder (profile/paths.h). Besides: the desktop entry, the icon in the hicolor theme, the
# AppStream metadata and the udev rule (assets/linux/).
# `cmake --install` and cpack take what the build made; neither first walks through every target
# of the tree (tests and benchmarks included) to see whether it is current, which costs half a
# minute. Build first (scripts/build.sh), then install or package.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

set(MC_UDEV_RULES_DIR lib/udev/rules.d CACHE STRING
    "Where the udev rule is installed, below the prefix unless absolute")

install(TARGETS mousecfg mousecfg-cli mousecfg-osd RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The sample files from the sources, never from build/bin, where Configs/ holds whatever a run of
# the program there saved.
install(FILES ${CMAKE_SOURCE_DIR}/assets/product/DefaultProfile.bin
    DESTINATION ${MC_SHIPPED_INSTALL_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/assets/product/Configs DESTINATION ${MC_SHIPPED_INSTALL_DIR})
install(DIRECTORY ${MC_BIN_DIR}/skin ${MC_BIN_DIR}/lang DESTINATION ${MC_SHIPPED_INSTALL_DIR})

install(FILES ${MC_LINUX_DIR}/${MC_APP_ID}.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${MC_LINUX_DIR}/${MC_APP_ID}.metainfo.xml
    DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${MC_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
install(FILES ${MC_LINUX_DIR}/70-mousecfg.rules DESTINATION ${MC_UDEV_RULES_DIR})
install(FILES ${MC_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${MC_DEB_COPYRIGHT} ${MC_LINUX_DIR}/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/mousecfg)
install(FILES ${CMAKE_SOURCE_DIR}/assets/linux/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME mousecfg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME mousecfg)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for wireless gaming mice")
# dpkg shows the long description as it is: lines of at most 80 characters.
set(CPACK_PACKAGE_DESCRIPTION "Mousecfg edits the on-board profiles of a wireless gaming mouse\n\
(DPI stages, report rate, sensor options, buttons, macros, lighting)\n\
through its USB receiver or cable, and writes the changes to the mouse.\n\
A udev rule gives the user at the seat access to the mouse.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${MC_DEB_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The library dependencies come from the executables themselves.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Debug information stays in the build tree.
set(CPACK_STRIP_FILES ON)
include(CPack)
