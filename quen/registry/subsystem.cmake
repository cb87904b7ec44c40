# The registry: the system's own on Windows (advapi32); on Linux the
# library's Reg* calls keep it in an SQLite database.
if(WIN32)
    target_link_libraries(quen PRIVATE advapi32)
else()
    find_package(SQLite3 REQUIRED)
    target_link_libraries(quen PRIVATE SQLite::SQLite3)
    set_property(GLOBAL APPEND PROPERTY QUEN_PACKAGE_DEPENDENCIES "find_dependency(SQLite3)")
    set_property(GLOBAL APPEND PROPERTY QUEN_PC_PRIVATE_LIBS "-lsqlite3")
endif()
