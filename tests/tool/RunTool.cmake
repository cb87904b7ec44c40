# Runs the quen tool once and checks what it did. Called by CTest as
#   cmake -DTOOL=... [-DEMULATOR=...] -DARGUMENTS=a;b -DEXPECT_EXIT=n
#         [-DEXPECT_OUTPUT=regex] [-DEXPECT_ERROR=regex] -P RunTool.cmake
# Output and errors are matched with the tool's CR LF line ends made LF.
set(command ${TOOL} ${ARGUMENTS})
if(EMULATOR)
    set(command ${EMULATOR} ${command})
endif()
execute_process(COMMAND ${command}
    RESULT_VARIABLE exit_code
    OUTPUT_VARIABLE output
    ERROR_VARIABLE error)
string(REPLACE "\r\n" "\n" output "${output}")
string(REPLACE "\r\n" "\n" error "${error}")
if(NOT exit_code STREQUAL EXPECT_EXIT)
    message(FATAL_ERROR "quen ${ARGUMENTS}: exit code ${exit_code}, expected ${EXPECT_EXIT}\n"
        "output:\n${output}\nerrors:\n${error}")
endif()
if(DEFINED EXPECT_OUTPUT AND NOT output MATCHES "${EXPECT_OUTPUT}")
    message(FATAL_ERROR "quen ${ARGUMENTS}: output does not match '${EXPECT_OUTPUT}':\n${output}")
endif()
if(DEFINED EXPECT_ERROR AND NOT error MATCHES "${EXPECT_ERROR}")
    message(FATAL_ERROR "quen ${ARGUMENTS}: errors do not match '${EXPECT_ERROR}':\n${error}")
endif()
