# quen drives, quen volume, quen locate, on the scripted machine of the
# samples and on the real machine.
set(QUEN_SAMPLE_MACHINE "QUEN_SYSPROBE=${PROJECT_SOURCE_DIR}/samples/machine.txt")
quen_tool_test(drivesOnAScriptedMachine EXIT 0 ARGS drives ENVIRONMENT ${QUEN_SAMPLE_MACHINE}
    OUTPUT "^drive  class                      removable  label            read-only  capacity\nA:     DiskDriveFloppy            yes        -                yes        0\nC:     DiskDriveHD                no         SYSTEM           no         42949672960\nD:     DiskDriveCDROM             yes        PHOTOS           yes        681574400\nE:     DiskDriveRemovableGeneric  yes        BACKUP1          no         8004304896\nF:     DiskDriveHD                no         \"\"               no         1000204886016\nN:     DiskDriveNetwork           yes        ARCHIVE          no         1099511627776\n$")
quen_tool_test(drivesOnTheRealMachine EXIT 0 ARGS drives ENVIRONMENT "QUEN_SYSPROBE="
    OUTPUT "\nC:     DiskDriveHD                no  ")
quen_tool_test(drivesTakesNoArguments EXIT 2 ARGS drives C: ERROR "takes no arguments")
quen_tool_test(volumeNames EXIT 0 ARGS volume "E:\\data\\set.dat" "F:x.dat" "||SYSTEM||\\x" "Q:\\x"
    ENVIRONMENT ${QUEN_SAMPLE_MACHINE}
    OUTPUT "^[|][|]BACKUP1[|][|]\\\\data\\\\set.dat\n[|][|]F:[|][|]\\\\x.dat\n[|][|]SYSTEM[|][|]\\\\x\nQ:\\\\x\n$")
quen_tool_test(volumeNeedsAName EXIT 2 ARGS volume ERROR "no file name given")
quen_tool_test(locateFinds EXIT 0 ARGS locate "||photos||\\2003\\a.jpg" "||F:||\\x.dat"
    ENVIRONMENT ${QUEN_SAMPLE_MACHINE}
    OUTPUT "^D:\\\\2003\\\\a.jpg\nF:\\\\x.dat\n$")
quen_tool_test(locateMissesAVolume EXIT 1 ARGS locate "||NOSUCH||\\x" "||BACKUP1||\\y"
    ENVIRONMENT ${QUEN_SAMPLE_MACHINE}
    OUTPUT "^E:\\\\y\n$" ERROR "^quen locate: [|][|]NOSUCH[|][|]\\\\x: no drive holds this volume\n$")
