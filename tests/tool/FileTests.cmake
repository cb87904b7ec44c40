# quen copy, shift, stat and time. The file cases work on copies made in the
# build folder by a fixture, so that every run starts from the same bytes.
set(QUEN_TOOL_FILES ${CMAKE_CURRENT_BINARY_DIR}/tool-files)
# A copy in the build folder: a tool (or library) that wrote to its source by
# mistake must not reach the sources of the tree.
set(QUEN_TOOL_SOURCE ${CMAKE_CURRENT_BINARY_DIR}/tool-source/MessageTexts.def)
configure_file(${PROJECT_SOURCE_DIR}/quen/resources/MessageTexts.def ${QUEN_TOOL_SOURCE} COPYONLY)
add_test(NAME tool.filesSetup COMMAND ${CMAKE_COMMAND} -E copy ${QUEN_TOOL_SOURCE} ${QUEN_TOOL_FILES}/shift.bin)
add_test(NAME tool.filesCleanup COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUEN_TOOL_FILES})
set_tests_properties(tool.filesSetup PROPERTIES FIXTURES_SETUP quenToolFiles)
set_tests_properties(tool.filesCleanup PROPERTIES FIXTURES_CLEANUP quenToolFiles)
function(quen_tool_file_test name)
    quen_tool_test(${name} ${ARGN})
    set_tests_properties(tool.${name} PROPERTIES FIXTURES_REQUIRED quenToolFiles RESOURCE_LOCK quenToolFiles)
endfunction()

quen_tool_file_test(copyAppends EXIT 0 ARGS copy ${QUEN_TOOL_SOURCE} ${QUEN_TOOL_FILES}/copy.bin --buffer 7
    OUTPUT "^appended [1-9][0-9]* bytes of .*MessageTexts.def to .*copy.bin\n$")
# A failed copy or shift leaves no file that was not there.
quen_tool_file_test(copyMissingSource EXIT 1 ARGS copy ${QUEN_TOOL_FILES}/missing.bin ${QUEN_TOOL_FILES}/never.bin
    ERROR "(^|\n)quen copy: [^\n]*missing.bin: fileSizeFile NOT FOUND error\n$" ABSENT ${QUEN_TOOL_FILES}/never.bin)
quen_tool_file_test(copyFromADirectory EXIT 1 ARGS copy ${QUEN_TOOL_FILES} ${QUEN_TOOL_FILES}/fromdir.bin
    ERROR "(^|\n)quen copy: [^\n]*tool-files: [^\r\n]+\n$" ABSENT ${QUEN_TOOL_FILES}/fromdir.bin)
quen_tool_file_test(copyZeroBuffer EXIT 2 ARGS copy ${QUEN_TOOL_SOURCE} ${QUEN_TOOL_FILES}/copy0.bin --buffer 0
    ERROR "(^|\n)quen copy: --buffer must be 1 to 4294967295 bytes" ABSENT ${QUEN_TOOL_FILES}/copy0.bin)
quen_tool_test(copyNeedsTwoNames EXIT 2 ARGS copy onlyone ERROR "wrong number of arguments")
quen_tool_file_test(shiftMissingFile EXIT 1 ARGS shift ${QUEN_TOOL_FILES}/missing.bin 1 0 1
    ERROR "(^|\n)quen shift: [^\n]*missing.bin: fileSizeFile NOT FOUND error\n$" ABSENT ${QUEN_TOOL_FILES}/missing.bin)
quen_tool_file_test(shiftMoves EXIT 0 ARGS shift ${QUEN_TOOL_FILES}/shift.bin 10 2 20 --buffer 3
    OUTPUT "^moved 20 bytes from 10 to 2 in .*shift.bin\n$")
quen_tool_file_test(shiftUpwards EXIT 1 ARGS shift ${QUEN_TOOL_FILES}/shift.bin 2 3 4
    ERROR "(^|\n)quen shift: [^\n]*shift.bin: Cannot shift to higher offsets\n$")
quen_tool_file_test(shiftNegativeLength EXIT 1 ARGS shift ${QUEN_TOOL_FILES}/shift.bin 4 2 -1
    ERROR "(^|\n)quen shift: [^\n]*shift.bin: File INVALID OPERATION error\n$")
quen_tool_file_test(statFile EXIT 0 ARGS stat ${QUEN_TOOL_FILES}/shift.bin
    OUTPUT "^size: [1-9][0-9]*\ncreated: [A-Z][a-z][a-z] [A-Z][a-z][a-z] [ 0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [0-9][0-9][0-9][0-9]\nread-only: no\n$")
quen_tool_test(statMissing EXIT 1 ARGS stat ${QUEN_TOOL_FILES}/missing.bin
    ERROR "(^|\n)quen stat: [^\n]*missing.bin: fileSizeFile NOT FOUND error\n$")
quen_tool_test(timeFields EXIT 0 ARGS time 86400 ENVIRONMENT TZ=UTC0
    OUTPUT "^seconds: 86400\nyear: 1970\nmonth: 1\nday: 2\nweekday: 5\nhour: 0\nminute: 0\nsecond: 0\nascTime: Fri Jan [ 0]2 00:00:00 1970\nfiletime: 116445600000000000\n$")
quen_tool_test(timeNow EXIT 0 ARGS time OUTPUT "^seconds: [1-9][0-9]*\n(.*\n)*filetime: [1-9][0-9]*\n$")
quen_tool_test(timeNeedsANumber EXIT 2 ARGS time soon ERROR "not a number for SECONDS: 'soon'")
