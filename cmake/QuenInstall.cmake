# cmake --install: headers, the library, a CMake package and quen.pc, all
# relocatable: the tree works from whatever prefix it is installed to or
# moved to.
include(CMakePackageConfigHelpers)

install(TARGETS quen EXPORT quenTargets
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
    LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
    ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
    INCLUDES DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})

install(EXPORT quenTargets
    NAMESPACE quen::
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quen)

# Subsystems that link a system library record it in two global properties:
# a find_dependency() line for the CMake package and a linker flag for
# pkg-config. The shared library hides them; a static one passes them on to
# its hosts.
get_property(QUEN_PACKAGE_DEPENDENCIES GLOBAL PROPERTY QUEN_PACKAGE_DEPENDENCIES)
get_property(QUEN_PC_PRIVATE_LIBS GLOBAL PROPERTY QUEN_PC_PRIVATE_LIBS)
if(WIN32)
    # The interface's system libraries (quen/CMakeLists.txt), for pkg-config.
    set(QUEN_PC_LIBS " -lcomctl32 -luser32 -ladvapi32")
else()
    set(QUEN_PC_LIBS "")
endif()
if(QUEN_SHARED)
    set(QUEN_PACKAGE_DEPENDENCIES "")
    set(QUEN_PC_CFLAGS "")
else()
    list(JOIN QUEN_PC_PRIVATE_LIBS " " private_libs)
    string(APPEND QUEN_PC_LIBS " ${private_libs}")
    set(QUEN_PC_PRIVATE_LIBS "")
    set(QUEN_PC_CFLAGS " -DQUEN_STATIC")
endif()
list(JOIN QUEN_PACKAGE_DEPENDENCIES "\n" QUEN_PACKAGE_DEPENDENCIES)
list(JOIN QUEN_PC_PRIVATE_LIBS " " QUEN_PC_PRIVATE_LIBS)

configure_package_config_file(cmake/quenConfig.cmake.in
    ${PROJECT_BINARY_DIR}/quenConfig.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quen)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quenConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/quenConfig.cmake ${PROJECT_BINARY_DIR}/quenConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quen)

# quen.pc names its prefix relative to its own folder (${pcfiledir}), so that
# the installed tree can be moved.
if(IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
    set(QUEN_PC_PREFIX "${CMAKE_INSTALL_PREFIX}")
else()
    file(RELATIVE_PATH relative "/prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig" "/prefix")
    string(REGEX REPLACE "/$" "" relative "${relative}")
    set(QUEN_PC_PREFIX "\${pcfiledir}/${relative}")
endif()
configure_file(cmake/quen.pc.in ${PROJECT_BINARY_DIR}/quen.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quen.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(QUEN_BUILD_TOOL)
    # The installed tool finds the library beside its own folder, wherever the
    # prefix is ($ORIGIN/../lib).
    file(RELATIVE_PATH relative "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${CMAKE_INSTALL_LIBDIR}")
    if(QUEN_SHARED AND NOT WIN32 AND NOT IS_ABSOLUTE "${CMAKE_INSTALL_LIBDIR}")
        set_target_properties(quen-tool PROPERTIES INSTALL_RPATH "\$ORIGIN/${relative}")
    endif()
    install(TARGETS quen-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

# The licence and the release notes (on Linux the licence also where Debian
# looks for it).
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/CHANGELOG.md
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
if(NOT WIN32)
    # Where Debian looks: the licence in its copyright format and a changelog
    # in its own format, compressed without a time stamp.
    file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE license_lines)
    set(QUEN_LICENSE_TEXT "")
    foreach(line IN LISTS license_lines)
        if(line STREQUAL "")
            set(line ".")
        endif()
        string(APPEND QUEN_LICENSE_TEXT " ${line}\n")
    endforeach()
    string(STRIP "${QUEN_LICENSE_TEXT}" QUEN_LICENSE_TEXT)
    set(QUEN_LICENSE_TEXT " ${QUEN_LICENSE_TEXT}")
    configure_file(cmake/debian-copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)
    configure_file(cmake/debian-changelog.in ${PROJECT_BINARY_DIR}/changelog @ONLY)
    execute_process(COMMAND gzip -9nc INPUT_FILE ${PROJECT_BINARY_DIR}/changelog
        OUTPUT_FILE ${PROJECT_BINARY_DIR}/changelog.gz)
    install(FILES ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()
