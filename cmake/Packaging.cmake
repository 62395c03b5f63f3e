# Installing and packaging: executables in bin/, data under share/korveth-script-editor, the
# desktop entry with the script file types, and the icon; `cpack -G DEB` makes a Debian package.
include(GNUInstallDirs)

install(TARGETS korveth-check korveth-lsp korveth-run korveth-dap RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(KORVETH_GUI)
    install(TARGETS korveth-editor RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/korveth-script-editor
        FILES_MATCHING PATTERN "*.dat" PATTERN "*.txt"
        PATTERN "CMakeLists.txt" EXCLUDE PATTERN "desktop" EXCLUDE)
    install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/korveth-script-editor.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/korveth-script-editor.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
    install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/korveth-script-editor.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_PACKAGE_NAME korveth-script-editor)
set(CPACK_PACKAGE_VENDOR "Korveth")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor that writes, checks and generates game client scripts")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Korveth Script Editor team <team@korveth.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqscintilla2-qt6-15, qt6-qpa-plugins, libstdc++6, libc6")
include(CPack)
