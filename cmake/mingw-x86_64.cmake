# Cross build of a 64-bit StatsKEVO.dll, kevo-replay.exe and the Windows tests with Debian's
# MinGW-w64 (g++-mingw-w64-x86-64). Hosts load the 32-bit DLL (cmake/mingw-i686.cmake); this
# build runs the platform checks under a native 64-bit Wine (wine64), which a machine without
# 32-bit support would otherwise run on an emulated CPU. Its decorated export names are those
# of the 32-bit .def file, so only the 32-bit DLL's tables are checked against MSVC's scheme.
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(KEVO_MINGW_TRIPLET x86_64-w64-mingw32)
set(KEVO_WINE_NAMES wine64)

include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
