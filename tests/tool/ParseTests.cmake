# quen parse, on the sectioned sample files.
set(QUEN_SAMPLES ${PROJECT_SOURCE_DIR}/samples)

quen_tool_test(parseTree EXIT 0 ARGS parse ${QUEN_SAMPLES}/general.txt
    OUTPUT "^root: 2 sections\n  section '\\[General\\]' = 'Name = \"Disk=A, Size=1440\"\\\\r\\\\nLabel=\"Id=7\"'\n    line 'Name' = '\"Disk=A, Size=1440\"'\n      field 'Disk' = 'A'\n      field 'Size' = '1440'\n    line 'Label' = '\"Id=7\"'\n      field 'Id' = '7'\n  section '\\[Empty\\]' = ''\n$")
quen_tool_test(parseDriveList EXIT 0 ARGS parse ${QUEN_SAMPLES}/drives.txt
    OUTPUT "^root: 2 sections\n  section '\\[Drives\\]' = 'A = .*\n      field 'Label' = ''\n.*\n    line 'OFFSITE_03' = '\"Path=.*\\\\n              Rotate=Friday\"'\n.*      field 'Rotate' = 'Friday'\n$")
quen_tool_test(parseSeveralLinesOnOne EXIT 0 ARGS parse ${QUEN_SAMPLES}/settings.txt
    OUTPUT "    line 'Retry' = '\"Count=3, Wait=500\"'\n.*\n    line 'Verify' = '\"Mode=Size\"'\n")
quen_tool_test(parseError EXIT 1 ARGS parse ${QUEN_SAMPLES}/broken.txt OUTPUT "^$" ERROR "(^|\n)Error: Invalid Line\n$")
quen_tool_test(parseMissingFile EXIT 1 ARGS parse ${QUEN_SAMPLES}/missing.txt ERROR "(^|\n)quen parse: cannot open '.*missing.txt'\n$")
quen_tool_test(parseNeedsOneFile EXIT 2 ARGS parse ERROR "wrong number of arguments")
quen_tool_test(versionParserBanners EXIT 0 ARGS version
    OUTPUT "\nParser 1.0, 16.02.2000\nParserArray 1.0, 31.01.2000\nParserBuf 1.0, 31.01.2000\nParserSection 1.0, 31.01.2000\nParserLine 1.0, 31.01.2000\nParserFieldValue 1.0, 31.01.2000\n")
