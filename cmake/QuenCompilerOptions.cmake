# Warning and platform options shared by every target of the project.
add_library(quen_compiler_options INTERFACE)
target_compile_options(quen_compiler_options INTERFACE
    -Wall -Wextra -Wpedantic
    $<$<BOOL:${QUEN_WARNINGS_AS_ERRORS}>:-Werror>)

if(WIN32 AND CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    # quen.dll throws C++ exceptions to its hosts, so the library and its
    # hosts must share one C++ runtime (one unwinder): the runtime is linked
    # as DLLs, not statically, and those DLLs go beside quen.dll.
    set(QUEN_MINGW_RUNTIME_DLLS "")
    foreach(dll libstdc++-6.dll libgcc_s_dw2-1.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
            OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
        if(IS_ABSOLUTE "${path}" AND EXISTS "${path}")
            file(REAL_PATH "${path}" path)
            list(APPEND QUEN_MINGW_RUNTIME_DLLS "${path}")
        endif()
    endforeach()
    if(PROJECT_IS_TOP_LEVEL)
        file(COPY ${QUEN_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
    endif()
    if(QUEN_INSTALL)
        install(FILES ${QUEN_MINGW_RUNTIME_DLLS} DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endif()

# The "asan" preset passes QUEN_SANITIZE=ON.
option(QUEN_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(QUEN_SANITIZE)
    target_compile_options(quen_compiler_options INTERFACE
        -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
    target_link_options(quen_compiler_options INTERFACE -fsanitize=address,undefined)
endif()

# What ships (the library and the tool) is hardened as distributions build
# their packages: a write past a local array stops the process (the stack
# protector), so does an index past a standard container's end (libstdc++'s
# assertions), and fortified C calls check their buffers. A memory fault then
# ends the process where it happens instead of corrupting a caller's data.
# Tests and benchmarks build without it, so that a benchmark's baseline is the
# standard library as its users get it. The sanitizers see more than this.
option(QUEN_HARDENING "Build the library and the tool with stack protection and checked containers" ON)
add_library(quen_hardening INTERFACE)
if(QUEN_HARDENING AND NOT QUEN_SANITIZE AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    target_compile_definitions(quen_hardening INTERFACE _GLIBCXX_ASSERTIONS)
    if(NOT WIN32)
        target_compile_options(quen_hardening INTERFACE -fstack-protector-strong
            $<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2>)
    endif()
endif()
