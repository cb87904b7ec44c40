# cmake --install: headers, the library, a CMake package and quen.pc.
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
# pkg-config.
get_property(QUEN_PACKAGE_DEPENDENCIES GLOBAL PROPERTY QUEN_PACKAGE_DEPENDENCIES)
get_property(QUEN_PC_PRIVATE_LIBS GLOBAL PROPERTY QUEN_PC_PRIVATE_LIBS)
list(JOIN QUEN_PACKAGE_DEPENDENCIES "\n" QUEN_PACKAGE_DEPENDENCIES)
list(JOIN QUEN_PC_PRIVATE_LIBS " " QUEN_PC_PRIVATE_LIBS)

configure_package_config_file(cmake/quenConfig.cmake.in
    ${PROJECT_BINARY_DIR}/quenConfig.cmake
    INSTALL_DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quen)
write_basic_package_version_file(${PROJECT_BINARY_DIR}/quenConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/quenConfig.cmake ${PROJECT_BINARY_DIR}/quenConfigVersion.cmake
    DESTINATION ${CMAKE_INSTALL_LIBDIR}/cmake/quen)

configure_file(cmake/quen.pc.in ${PROJECT_BINARY_DIR}/quen.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/quen.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

if(QUEN_BUILD_TOOL)
    install(TARGETS quen-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
