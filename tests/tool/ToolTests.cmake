# Command-line cases of the quen tool, on both platforms (under Wine for win32).
if(NOT TARGET quen-tool)
    return()
endif()

# quen_tool_test(NAME EXIT code|timeout ARGS a b ... [OUTPUT regex] [ERROR regex] [ENVIRONMENT VAR=value ...]
#                [TIMEOUT seconds] [STDOUT file] [ABSENT file] [LAUNCHER command ...])
# A case that has not ended after TIMEOUT seconds (default 60, under Wine 280,
# which leaves room for Wine's own retries) is ended and fails, or passes with
# EXIT timeout. LAUNCHER runs the tool (prlimit ...), STDOUT takes its output,
# ABSENT is a file the case must not leave behind.
function(quen_tool_test name)
    cmake_parse_arguments(PARSE_ARGV 1 case "" "EXIT;OUTPUT;ERROR;TIMEOUT;STDOUT;ABSENT" "ARGS;ENVIRONMENT;LAUNCHER")
    if(NOT case_TIMEOUT)
        set(case_TIMEOUT 60)
        if(CMAKE_CROSSCOMPILING_EMULATOR)
            set(case_TIMEOUT 280)
        endif()
    endif()
    set(definitions -DTOOL=$<TARGET_FILE:quen-tool> -DEXPECT_EXIT=${case_EXIT} -DTIMEOUT=${case_TIMEOUT}
        -DCAPTURE=${CMAKE_CURRENT_BINARY_DIR}/tool-output/${name})
    list(JOIN case_ARGS "\\;" arguments)
    list(JOIN case_LAUNCHER "\\;" launcher)
    list(APPEND definitions "-DARGUMENTS=${arguments}" "-DLAUNCHER=${launcher}")
    if(CMAKE_CROSSCOMPILING_EMULATOR)
        list(APPEND definitions -DEMULATOR=${CMAKE_CROSSCOMPILING_EMULATOR})
    endif()
    foreach(option OUTPUT ERROR STDOUT ABSENT)
        if(DEFINED case_${option})
            set(variable ${option})
            if(option MATCHES "OUTPUT|ERROR")
                set(variable EXPECT_${option})
            endif()
            list(APPEND definitions "-D${variable}=${case_${option}}")
        endif()
    endforeach()
    add_test(NAME tool.${name} COMMAND ${CMAKE_COMMAND} ${definitions} -P ${CMAKE_CURRENT_SOURCE_DIR}/tool/RunTool.cmake)
    math(EXPR ctest_timeout "${case_TIMEOUT} + 30")
    set_tests_properties(tool.${name} PROPERTIES TIMEOUT ${ctest_timeout})
    if(case_ENVIRONMENT)
        set_tests_properties(tool.${name} PROPERTIES ENVIRONMENT "${case_ENVIRONMENT}")
    endif()
endfunction()
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/tool-output)

quen_tool_test(help EXIT 0 ARGS --help OUTPUT "usage: quen COMMAND.*version.*messages.*error CODE.*\n  --version  ")
quen_tool_test(versionOption EXIT 0 ARGS --version OUTPUT "^quen ${PROJECT_VERSION}\n$")
# A command's usage, on standard output; after "--" every word is an operand.
quen_tool_test(commandHelp EXIT 0 ARGS copy --help
    OUTPUT "^usage: quen copy SOURCE TARGET \\[--buffer BYTES\\]\nappend SOURCE to TARGET \\(copyFile\\)\n$")
quen_tool_test(helpNamesACommand EXIT 0 ARGS help next OUTPUT "^usage: quen next PATH\n[^\n]+\n$")
quen_tool_test(optionsEnd EXIT 0 ARGS name -- --help --buffer OUTPUT "^name               '--help'\n.*\nname               '--buffer'\n")
quen_tool_test(unknownOption EXIT 2 ARGS name --frob ERROR "(^|\n)quen name: unknown option '--frob'")
# Errors are matched from the start of a line: under Wine, Wine itself may
# write a note of its own to standard error before the tool runs.
quen_tool_test(noCommand EXIT 2 ERROR "(^|\n)quen: no command given[^\n]*\n$")
quen_tool_test(unknownCommand EXIT 2 ARGS frobnicate ERROR "(^|\n)quen: unknown command 'frobnicate'[^\n]*\n$")
quen_tool_test(version EXIT 0 ARGS version
    OUTPUT "^StdString 1.0, 16.08.1999\n([^\n]*\n)*QuenException 1.0, 16.08.1999\n([^\n]*\n)*SmartArray 1.0, 10.09.1999\n")
quen_tool_test(versionTakesNoArguments EXIT 2 ARGS version extra ERROR "takes no arguments")
quen_tool_test(messages EXIT 0 ARGS messages
    OUTPUT "^1\tFile READ error\n(.*\n)*9\tPlease insert volume named:\\\\n\n10\t\\\\ncontaining file named:\\\\n\n(.*\n)*12\t with mode \n(.*\n)*18\tInvlaid Registry value type\n19\tNot yet implemented: \n20\tFile SIZE error\n$")
# The system's text as one line: its own CR LF is not printed.
quen_tool_test(errorText EXIT 0 ARGS error 2 OUTPUT "^[^\r\n]+\n$")
quen_tool_test(errorWithoutText EXIT 1 ARGS error -1 OUTPUT "^$" ERROR "(^|\n)quen error: -1: no system text for this code\n$")
if(EXISTS /dev/full)
    quen_tool_test(outputToAFullDisk EXIT 1 ARGS messages STDOUT /dev/full
        ERROR "(^|\n)quen messages: cannot write the output[^\n]*\n$")
endif()
quen_tool_test(errorNeedsANumber EXIT 2 ARGS error two ERROR "not a number for CODE: 'two'")

# Each family of commands adds its cases in a file of its own.
file(GLOB QUEN_TOOL_TEST_FILES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*Tests.cmake)
list(REMOVE_ITEM QUEN_TOOL_TEST_FILES ${CMAKE_CURRENT_LIST_FILE})
foreach(file ${QUEN_TOOL_TEST_FILES})
    include(${file})
endforeach()
