# Hosts that load quen at run time, as plugins are loaded, rather than link it.
if(WIN32)
    # A host loads a plugin that links quen.dll, uses it and frees it: quen.dll
    # must unload with the plugin.
    add_library(loading_plugin SHARED ${CMAKE_CURRENT_LIST_DIR}/LoadingPluginWin32.cpp)
    set_target_properties(loading_plugin PROPERTIES PREFIX "")
    target_link_libraries(loading_plugin PRIVATE quen::quen quen_compiler_options)
    add_executable(unload_host ${CMAKE_CURRENT_LIST_DIR}/UnloadHostWin32.cpp)
    target_link_libraries(unload_host PRIVATE quen_compiler_options)
    add_dependencies(unload_host loading_plugin)
    add_test(NAME loading.FreeLibraryUnloadsQuen COMMAND unload_host loading_plugin.dll)
    set_tests_properties(loading.FreeLibraryUnloadsQuen PROPERTIES TIMEOUT 300)
    return()
endif()

# A host that has used up the static TLS block dlopens libquen.so. Not under
# the sanitizers: an instrumented library does not load into a plain host.
if(NOT QUEN_SANITIZE)
    set(hogs "")
    set(index 0)
    foreach(size 4096 4096 1024 1024 1024 256 256 256 64 64 64 16 16 16 8 8 8)
        add_library(tls_hog_${index} MODULE ${CMAKE_CURRENT_LIST_DIR}/TlsHogPosix.c)
        target_compile_definitions(tls_hog_${index} PRIVATE HOG_SIZE=${size})
        list(APPEND hogs $<TARGET_FILE:tls_hog_${index}>)
        math(EXPR index "${index} + 1")
    endforeach()
    add_executable(tls_host ${CMAKE_CURRENT_LIST_DIR}/TlsHostPosix.cpp)
    target_link_libraries(tls_host PRIVATE ${CMAKE_DL_LIBS} quen_compiler_options)
    add_dependencies(tls_host quen)
    add_test(NAME loading.DlopenAfterTheStaticTlsBlockIsUsedUp COMMAND tls_host $<TARGET_FILE:quen> ${hogs})
    set_tests_properties(loading.DlopenAfterTheStaticTlsBlockIsUsedUp PROPERTIES TIMEOUT 60)
endif()
