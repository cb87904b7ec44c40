# Streams: the file under BinFStream comes from the platform (posix/File.cpp
# is built with the Linux subset; the Windows part is added here).
if(WIN32)
    target_sources(quen PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/platform/FileWin32.cpp)
endif()
