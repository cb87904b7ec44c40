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
if(NOT WIN32)
    # Volume labels come from the file systems themselves.
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(QUEN_BLKID REQUIRED IMPORTED_TARGET blkid)
    # The imported target stays in this build; an installed static quen names
    # the system library itself, so its hosts need no pkg-config module.
    target_link_libraries(quen PRIVATE $<BUILD_INTERFACE:PkgConfig::QUEN_BLKID> $<INSTALL_INTERFACE:blkid>)
    set_property(GLOBAL APPEND PROPERTY QUEN_PC_PRIVATE_LIBS "-lblkid")
endif()
# Drive-form names lead to the files of the drives' media: a platform
# function, asking sysProbe where each drive's root is.
target_sources(quen PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/platform/DriveNames.cpp)
