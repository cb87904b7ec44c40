# Runs the quen tool once and checks what it did. Called by CTest as
#   cmake -DTOOL=... [-DEMULATOR=...] [-DLAUNCHER=a;b] -DARGUMENTS=a;b -DCAPTURE=path -DTIMEOUT=seconds
#         -DEXPECT_EXIT=n|timeout [-DEXPECT_OUTPUT=regex] [-DEXPECT_ERROR=regex]
#         [-DSTDOUT=file] [-DABSENT=file] -P RunTool.cmake
# The tool writes into the files CAPTURE.out and CAPTURE.err (or STDOUT), not
# into pipes: a tool that hangs is ended after TIMEOUT seconds and fails its
# case, and nothing it leaves running can hold a pipe that CMake or CTest
# would wait on. Output and errors are matched with CR LF line ends made LF.
# ABSENT names a file that the case must not leave behind (it is removed
# first, so that an earlier run cannot hide a fault).
set(command ${LAUNCHER} ${EMULATOR} ${TOOL} ${ARGUMENTS})
if(NOT DEFINED STDOUT)
    set(STDOUT ${CAPTURE}.out)
endif()
if(DEFINED ABSENT)
    file(REMOVE ${ABSENT})
endif()
file(REMOVE ${CAPTURE}.out ${CAPTURE}.err)
execute_process(COMMAND ${command}
    TIMEOUT ${TIMEOUT}
    RESULT_VARIABLE exit_code
    OUTPUT_FILE ${STDOUT}
    ERROR_FILE ${CAPTURE}.err)
set(output "")
if(EXISTS ${CAPTURE}.out)
    file(READ ${CAPTURE}.out output)
endif()
file(READ ${CAPTURE}.err error)
string(REPLACE "\r\n" "\n" output "${output}")
string(REPLACE "\r\n" "\n" error "${error}")
if(exit_code MATCHES "timeout")
    set(exit_code timeout)
endif()
if(NOT exit_code STREQUAL EXPECT_EXIT)
    message(FATAL_ERROR "quen ${ARGUMENTS}: exit code ${exit_code} (after at most ${TIMEOUT} s), expected ${EXPECT_EXIT}\n"
        "output:\n${output}\nerrors:\n${error}")
endif()
if(DEFINED EXPECT_OUTPUT AND NOT output MATCHES "${EXPECT_OUTPUT}")
    message(FATAL_ERROR "quen ${ARGUMENTS}: output does not match '${EXPECT_OUTPUT}':\n${output}")
endif()
if(DEFINED EXPECT_ERROR AND NOT error MATCHES "${EXPECT_ERROR}")
    message(FATAL_ERROR "quen ${ARGUMENTS}: errors do not match '${EXPECT_ERROR}':\n${error}")
endif()
if(DEFINED ABSENT AND EXISTS ${ABSENT})
    message(FATAL_ERROR "quen ${ARGUMENTS}: left ${ABSENT} behind")
endif()
