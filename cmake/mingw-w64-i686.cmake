# Cross-compilation to 32-bit Windows with Debian's mingw-w64 posix-threads
# toolchain (the win32-threads one has no std::mutex, which GoogleTest needs).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(QUEN_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER   ${QUEN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUEN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${QUEN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${QUEN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

