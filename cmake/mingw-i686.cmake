# Cross build of the 32-bit Windows plug-in (StatsKEVO.dll) and kevo-replay.exe with Debian's
# MinGW-w64 (g++-mingw-w64-i686). Use with -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake.
set(CMAKE_SYSTEM_PROCESSOR x86)
set(KEVO_MINGW_TRIPLET i686-w64-mingw32)
set(KEVO_WINE_NAMES wine)

# Date-time differences and times of day must come out in double precision, as on every other
# build: the x87 unit keeps wider intermediates and counted a QSO 3599.99965 s old inside the
# 60-minute rate window. Every CPU that runs a current Windows has SSE2.
# A host compiled by MSVC may call the entries with a stack aligned to 4 bytes only; GCC then
# realigns where SSE code needs 16, instead of faulting.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mincoming-stack-boundary=2")

include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
