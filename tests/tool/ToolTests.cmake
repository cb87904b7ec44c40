# Command-line cases of the quen tool, on both platforms (under Wine for win32).
if(NOT TARGET quen-tool)
    return()
endif()

# quen_tool_test(NAME EXIT code ARGS a b ... [OUTPUT regex] [ERROR regex] [ENVIRONMENT VAR=value ...])
function(quen_tool_test name)
    cmake_parse_arguments(PARSE_ARGV 1 case "" "EXIT;OUTPUT;ERROR" "ARGS;ENVIRONMENT")
    set(definitions -DTOOL=$<TARGET_FILE:quen-tool> -DEXPECT_EXIT=${case_EXIT})
    list(JOIN case_ARGS "\\;" arguments)
    list(APPEND definitions "-DARGUMENTS=${arguments}")
    if(CMAKE_CROSSCOMPILING_EMULATOR)
        list(APPEND definitions -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR})
    endif()
    if(DEFINED case_OUTPUT)
        list(APPEND definitions "-DEXPECT_OUTPUT=${case_OUTPUT}")
    endif()
    if(DEFINED case_ERROR)
        list(APPEND definitions "-DEXPECT_ERROR=${case_ERROR}")
    endif()
    add_test(NAME tool.${name} COMMAND ${CMAKE_COMMAND} ${definitions} -P ${CMAKE_CURRENT_SOURCE_DIR}/tool/RunTool.cmake)
    set_tests_properties(tool.${name} PROPERTIES TIMEOUT 300)
    if(case_ENVIRONMENT)
        set_tests_properties(tool.${name} PROPERTIES ENVIRONMENT "${case_ENVIRONMENT}")
    endif()
endfunction()

quen_tool_test(help EXIT 0 ARGS --help OUTPUT "usage: quen COMMAND.*version.*messages.*error CODE")
# Errors are matched from the start of a line: under Wine, Wine itself may
# write a note of its own to standard error before the tool runs.
quen_tool_test(noCommand EXIT 2 ERROR "(^|\n)quen: no command given[^\n]*\n$")
quen_tool_test(unknownCommand EXIT 2 ARGS frobnicate ERROR "(^|\n)quen: unknown command 'frobnicate'[^\n]*\n$")
quen_tool_test(version EXIT 0 ARGS version
    OUTPUT "^StdString 1.0, 16.08.1999\n([^\n]*\n)*QuenException 1.0, 16.08.1999\n([^\n]*\n)*SmartArray 1.0, 10.09.1999\n")
quen_tool_test(versionTakesNoArguments EXIT 2 ARGS version extra ERROR "takes no arguments")
quen_tool_test(messages EXIT 0 ARGS messages
    OUTPUT "^1\tFile READ error\n(.*\n)*9\tPlease insert volume named:\\\\n\n10\t\\\\ncontaining file named:\\\\n\n(.*\n)*12\t with mode \n(.*\n)*18\tInvlaid Registry value type\n19\tNot yet implemented: \n20\tFile SIZE error\n$")
quen_tool_test(errorText EXIT 0 ARGS error 2 OUTPUT ".+\n$")
quen_tool_test(errorWithoutText EXIT 1 ARGS error 0x20001234 OUTPUT "no system text for error 536875572")
quen_tool_test(errorNeedsANumber EXIT 2 ARGS error two ERROR "not a number for CODE: 'two'")

# Each family of commands adds its cases in a file of its own.
file(GLOB QUEN_TOOL_TEST_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Tests.cmake)
list(REMOVE_ITEM QUEN_TOOL_TEST_FILES ${CMAKE_CURRENT_LIST_FILE})
foreach(file ${QUEN_TOOL_TEST_FILES})
    include(${file})
endforeach()
