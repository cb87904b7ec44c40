# quen parse, on the sectioned sample files.
set(QUEN_SAMPLES ${PROJECT_SOURCE_DIR}/samples)

quen_tool_test(parseTree EXIT 0 ARGS parse ${QUEN_SAMPLES}/general.txt
    OUTPUT "^root: 2 sections\n  section '\\[General\\]' = 'Name = \"Disk=A, Size=1440\"\\\\r\\\\nLabel=\"Id=7\"'\n    line 'Name' = '\"Disk=A, Size=1440\"'\n      field 'Disk' = 'A'\n      field 'Size' = '1440'\n    line 'Label' = '\"Id=7\"'\n      field 'Id' = '7'\n  section '\\[Empty\\]' = ''\n$")
quen_tool_test(parseDriveList EXIT 0 ARGS parse ${QUEN_SAMPLES}/drives.txt
    OUTPUT "^root: 2 sections\n  section '\\[Drives\\]' = 'A = .*\n      field 'Label' = ''\n.*\n    line 'OFFSITE_03' = '\"Path=.*\\\\n              Rotate=Friday\"'\n.*      field 'Rotate' = 'Friday'\n$")
quen_tool_test(parseSeveralLinesOnOne EXIT 0 ARGS parse ${QUEN_SAMPLES}/settings.txt
    OUTPUT "    line 'Retry' = '\"Count=3, Wait=500\"'\n.*\n    line 'Verify' = '\"Mode=Size\"'\n")
quen_tool_test(parseError EXIT 1 ARGS parse ${QUEN_SAMPLES}/broken.txt OUTPUT "^$"
    ERROR "(^|\n)quen parse: [^\n]*broken.txt: Error: Invalid Line\n$")
# Every file that cannot be parsed is a message naming it, never a crash.
quen_tool_test(parseMissingFile EXIT 1 ARGS parse ${QUEN_SAMPLES}/missing.txt
    ERROR "(^|\n)quen parse: [^\n]*missing.txt: fileSizeFile NOT FOUND error\n$")
quen_tool_test(parseDirectory EXIT 1 ARGS parse ${QUEN_SAMPLES} ERROR "(^|\n)quen parse: [^\n]*samples: [^\r\n]+\n$")
# A file too large for memory: a sparse file just under 4 GiB, more than a
# 32-bit process can hold; natively the tool runs with its address space
# limited to 1 GiB (not under the sanitizers, which need far more).
find_program(QUEN_TRUNCATE truncate)
find_program(QUEN_PRLIMIT prlimit)
if(QUEN_TRUNCATE AND (CMAKE_CROSSCOMPILING_EMULATOR OR (QUEN_PRLIMIT AND NOT QUEN_SANITIZE)))
    set(huge ${CMAKE_CURRENT_BINARY_DIR}/tool-output/huge.txt)
    add_test(NAME tool.hugeFileSetup COMMAND ${QUEN_TRUNCATE} -s 4294967294 ${huge})
    add_test(NAME tool.hugeFileCleanup COMMAND ${CMAKE_COMMAND} -E rm -f ${huge})
    set_tests_properties(tool.hugeFileSetup PROPERTIES FIXTURES_SETUP quenHugeFile)
    set_tests_properties(tool.hugeFileCleanup PROPERTIES FIXTURES_CLEANUP quenHugeFile)
    set(launcher "")
    if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
        set(launcher LAUNCHER ${QUEN_PRLIMIT} --as=1073741824)
    endif()
    quen_tool_test(parseHugeFile EXIT 1 ARGS parse ${huge} ${launcher}
        ERROR "(^|\n)quen parse: [^\n]*huge.txt: too large to read into memory\n$")
    set_tests_properties(tool.parseHugeFile PROPERTIES FIXTURES_REQUIRED quenHugeFile)
endif()
quen_tool_test(parseNeedsOneFile EXIT 2 ARGS parse ERROR "wrong number of arguments")
quen_tool_test(versionParserBanners EXIT 0 ARGS version
    OUTPUT "\nParser 1.0, 16.02.2000\nParserArray 1.0, 31.01.2000\nParserBuf 1.0, 31.01.2000\nParserSection 1.0, 31.01.2000\nParserLine 1.0, 31.01.2000\nParserFieldValue 1.0, 31.01.2000\n")
