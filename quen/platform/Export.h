// Symbol export for the library's public classes and functions.
#ifndef QUEN_PLATFORM_EXPORT_H
#define QUEN_PLATFORM_EXPORT_H

#if defined(QUEN_STATIC)
// A static library (BUILD_SHARED_LIBS=OFF) exports nothing: its code becomes
// the host's own.
#  define QUEN_API
#elif defined(_WIN32)
#  if defined(QUEN_BUILDING_LIBRARY)
#    define QUEN_API __declspec(dllexport)
#  else
#    define QUEN_API __declspec(dllimport)
#  endif
#else
#  define QUEN_API __attribute__((visibility("default")))
#endif

#endif
