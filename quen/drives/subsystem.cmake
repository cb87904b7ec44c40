# The drive-enumeration component sysProbe lives in a folder of its own: the
# drive classes know it only through its interface (sysprobe/SysProbe.h).
# Its real machine is the one source file that differs between the
# platforms; the scripted machine is the same on both.
quen_add_subsystem(drives/sysprobe)
if(WIN32)
    target_sources(quen PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/drives/sysprobe/win32/RealMachine.cpp)
else()
    target_sources(quen PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/drives/sysprobe/posix/RealMachine.cpp)
endif()
