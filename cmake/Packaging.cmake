# Installing and packaging, per system:
# - Linux: executables in bin/, data under share/korveth-script-editor, the desktop entry with the
#   script file types, and the icon; `cpack -G DEB` makes a Debian package.
# - Windows: the same bin/ and share/ folders with Qt's libraries beside the executables
#   (windeployqt); `cpack` makes a ZIP and an NSIS installer that offers "Open with Korveth Script
#   Editor" for .cmd and .wiz and owns .wiz only: .cmd is the batch files' extension, never taken.
# - macOS: an app bundle (the command-line tools beside the editor in Contents/MacOS, the data in
#   Contents/share) with Qt inside (macdeployqt); `cpack` makes a disk image.
include(GNUInstallDirs)

set(korveth_tools korveth-check korveth-lsp korveth-run korveth-dap)
if(APPLE AND KORVETH_GUI)
    set_target_properties(korveth-editor PROPERTIES
        MACOSX_BUNDLE TRUE
        MACOSX_BUNDLE_BUNDLE_NAME "Korveth Script Editor"
        MACOSX_BUNDLE_GUI_IDENTIFIER org.korveth.ScriptEditor
        MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
        MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION})
    set(korveth_bin_dir korveth-editor.app/Contents/MacOS)
    set(korveth_data_dir korveth-editor.app/Contents/share/korveth-script-editor)
    install(TARGETS korveth-editor BUNDLE DESTINATION .)
else()
    set(korveth_bin_dir ${CMAKE_INSTALL_BINDIR})
    set(korveth_data_dir ${CMAKE_INSTALL_DATADIR}/korveth-script-editor)
    if(KORVETH_GUI)
        install(TARGETS korveth-editor RUNTIME DESTINATION ${korveth_bin_dir})
    endif()
endif()
install(TARGETS ${korveth_tools} RUNTIME DESTINATION ${korveth_bin_dir})
if(KORVETH_GUI)
    install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/
        DESTINATION ${korveth_data_dir}
        FILES_MATCHING PATTERN "*.dat" PATTERN "*.txt"
        PATTERN "CMakeLists.txt" EXCLUDE PATTERN "desktop" EXCLUDE PATTERN "windows" EXCLUDE)
    if(WIN32 OR APPLE)
        # Qt's own libraries and plugins go with the program (windeployqt, macdeployqt).
        qt_generate_deploy_app_script(TARGET korveth-editor
            OUTPUT_SCRIPT korveth_deploy_script
            NO_UNSUPPORTED_PLATFORM_ERROR)
        install(SCRIPT ${korveth_deploy_script})
    else()
        install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/korveth-script-editor.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
        install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/korveth-script-editor.xml
            DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
        install(FILES ${CMAKE_SOURCE_DIR}/data/desktop/korveth-script-editor.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    endif()
endif()

set(CPACK_PACKAGE_NAME korveth-script-editor)
set(CPACK_PACKAGE_VENDOR "Korveth")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor that writes, checks and generates game client scripts")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES TRUE)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Korveth Script Editor team <team@korveth.example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION editors)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqscintilla2-qt6-15, qt6-qpa-plugins, libstdc++6, libc6")
if(WIN32)
    set(CPACK_GENERATOR ZIP NSIS)
    set(CPACK_PACKAGE_INSTALL_DIRECTORY "Korveth Script Editor")
    set(CPACK_NSIS_DISPLAY_NAME "Korveth Script Editor")
    set(CPACK_NSIS_PACKAGE_NAME "Korveth Script Editor")
    set(CPACK_NSIS_MENU_LINKS "bin/korveth-editor.exe" "Korveth Script Editor")
    # The file types, from one file that says why .cmd is only ever offered.
    file(READ ${CMAKE_SOURCE_DIR}/data/windows/file-types-install.nsh CPACK_NSIS_EXTRA_INSTALL_COMMANDS)
    file(READ ${CMAKE_SOURCE_DIR}/data/windows/file-types-uninstall.nsh CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS)
elseif(APPLE)
    set(CPACK_GENERATOR DragNDrop)
else()
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_GENERATOR DEB)
endif()
include(CPack)
