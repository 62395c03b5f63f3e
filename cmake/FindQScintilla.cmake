# QScintilla for Qt 6 comes without a CMake package (Debian's, or one built from its source
# archive into Qt's own folders on Windows and macOS): find the header and library ourselves.
find_path(QScintilla_INCLUDE_DIR
    NAMES Qsci/qsciscintilla.h
    PATH_SUFFIXES qt6 x86_64-linux-gnu/qt6 aarch64-linux-gnu/qt6 Headers
    HINTS ${Qt6_DIR}/../../../../include ${Qt6_DIR}/../../../include
          ${Qt6_DIR}/../../../lib/qscintilla2_qt6.framework)
find_library(QScintilla_LIBRARY NAMES qscintilla2_qt6 qscintilla2_qt6d
    HINTS ${Qt6_DIR}/../../../lib ${Qt6_DIR}/../..)

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(QScintilla REQUIRED_VARS QScintilla_LIBRARY QScintilla_INCLUDE_DIR)

if(QScintilla_FOUND AND NOT TARGET QScintilla::QScintilla)
    add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
    set_target_properties(QScintilla::QScintilla PROPERTIES
        IMPORTED_LOCATION "${QScintilla_LIBRARY}"
        INTERFACE_INCLUDE_DIRECTORIES "${QScintilla_INCLUDE_DIR}"
        INTERFACE_COMPILE_DEFINITIONS QSCINTILLA_DLL)
    target_link_libraries(QScintilla::QScintilla INTERFACE Qt6::Widgets Qt6::PrintSupport)
endif()
