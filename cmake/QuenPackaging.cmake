# ./build.sh package: CPack makes a Debian package of the Linux build and a
# zip of the Windows build, each holding the library, its headers, the CMake
# package, quen.pc and the quen tool (the zip also the import library and the
# mingw-w64 runtime DLLs beside quen.dll).
set(CPACK_PACKAGE_NAME quen)
set(CPACK_PACKAGE_VENDOR "the quen authors")
set(CPACK_PACKAGE_CONTACT "the quen authors <quen@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "C++ class library for 32-bit Windows desktop applications, also for Linux")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "quen is a C++17 class library: case-insensitive strings, file names and\n"
    "wildcards, binary file streams, a parser for sectioned text files, drives\n"
    "and volume-labelled file names, typed registry access, exceptions with the\n"
    "library's own message table, times and file dates, named events and\n"
    "progress monitors. This package holds the library, its headers, CMake\n"
    "package and pkg-config file, and the quen command-line tool.\n"
    "Licence: MIT.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)  # MIT, also in share/doc/quen
set(CPACK_PACKAGE_CHECKSUM SHA256)
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR}/packages)

if(WIN32)
    set(CPACK_GENERATOR ZIP)
    set(CPACK_PACKAGE_FILE_NAME quen-${PROJECT_VERSION}-win32-mingw-w64)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
    set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
    # Depends from the binaries' own needs (dpkg-shlibdeps): the C and C++
    # runtimes and, for the Linux registry, SQLite.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
    # The linker cache is brought up to date by dpkg's trigger.
    file(WRITE ${PROJECT_BINARY_DIR}/debian/triggers "activate-noawait ldconfig\n")
    set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_BINARY_DIR}/debian/triggers)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    if(NOT QUEN_SHARED)
        # A static library leaves SQLite for its hosts to link.
        set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsqlite3-dev")
    endif()
endif()

include(CPack)
