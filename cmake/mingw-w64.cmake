# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, the POSIX-threads flavour (the
# one whose libstdc++ has std::thread). Programs link their runtime statically, so they run
# from a folder without anything installed. Tests run under Wine when it is there.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TIDEWELL_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TIDEWELL_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TIDEWELL_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${TIDEWELL_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TIDEWELL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# -O2 rather than -O3: at -O3 this compiler's inlining of std::string makes -Wrestrict and
# -Wmaybe-uninitialized report overlaps and unset members that cannot happen.
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a release build")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of a release build")

find_program(TIDEWELL_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(TIDEWELL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TIDEWELL_WINE})
endif()
