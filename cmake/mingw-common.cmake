# What the two MinGW-w64 toolchain files share; each sets KEVO_MINGW_TRIPLET and
# KEVO_WINE_NAMES first, then includes this file.
set(CMAKE_SYSTEM_NAME Windows)

# Debian ships a win32-thread and a posix-thread flavour of the compiler. The win32 one needs
# no winpthread at all; fall back to the plain name on other distributions.
find_program(CMAKE_CXX_COMPILER NAMES ${KEVO_MINGW_TRIPLET}-g++-win32 ${KEVO_MINGW_TRIPLET}-g++
             REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${KEVO_MINGW_TRIPLET}-gcc-win32 ${KEVO_MINGW_TRIPLET}-gcc)
find_program(CMAKE_RC_COMPILER NAMES ${KEVO_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KEVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every executable of the build, tests included, runs statically linked: nothing but system
# DLLs to find at run time, under Wine or on a bare Windows machine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# ctest and add_custom_command run the Windows programs through Wine when it is there.
# Debian keeps the 64-bit loader out of PATH, in /usr/lib/wine.
find_program(KEVO_WINE_PROGRAM NAMES ${KEVO_WINE_NAMES} HINTS /usr/lib/wine)
if(KEVO_WINE_PROGRAM)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KEVO_WINE_PROGRAM})
endif()
