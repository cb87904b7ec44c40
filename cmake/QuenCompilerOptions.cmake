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
