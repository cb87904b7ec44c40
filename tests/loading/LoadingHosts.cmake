# Hosts that load quen at run time, as plugins are loaded, rather than link it.
if(WIN32)
    return()  # the Windows host comes with the unload test
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
