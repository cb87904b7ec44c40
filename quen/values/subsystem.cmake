# Values: file status comes from the platform (posix/FileStatus.cpp is built
# with the Linux subset; the Windows part is added here).
if(WIN32)
    target_sources(quen PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/platform/FileStatusWin32.cpp)
endif()
