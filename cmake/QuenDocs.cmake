# The API reference (target docs), made with Doxygen when it is installed.
find_program(QUEN_DOXYGEN doxygen)
if(QUEN_DOXYGEN)
    configure_file(${PROJECT_SOURCE_DIR}/docs/api/Doxyfile.in ${PROJECT_BINARY_DIR}/docs/Doxyfile @ONLY)
    add_custom_target(docs
        COMMAND ${QUEN_DOXYGEN} ${PROJECT_BINARY_DIR}/docs/Doxyfile
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        COMMENT "API reference in ${PROJECT_BINARY_DIR}/docs/html"
        VERBATIM)
endif()
