# What a MinGW build needs for kevo-live.exe besides the compiler, found without flags:
#  - expat: Debian packages none for MinGW; scripts/mingw-expat.sh builds a static libexpat.a
#    per target into build-deps/mingw-expat/<triplet>. KEVO_MINGW_EXPAT names another such
#    folder (the release build, whose sources are a copy, names the checkout's).
#  - Boost: only headers, which Debian's serve as they are. They are reached through a folder
#    in the build tree holding nothing but a link to /usr/include/boost: naming /usr/include
#    itself would put glibc's headers ahead of MinGW's.
# An explicit -DEXPAT_LIBRARY= or -DBoost_INCLUDE_DIR= still wins; a NOTFOUND left in the cache
# by an earlier run does not.
set(KEVO_MINGW_EXPAT "${PROJECT_SOURCE_DIR}/build-deps/mingw-expat/${KEVO_MINGW_TRIPLET}"
    CACHE PATH "Static expat built for this MinGW target (scripts/mingw-expat.sh)")

if(NOT EXPAT_LIBRARY AND EXISTS "${KEVO_MINGW_EXPAT}/lib/libexpat.a")
  set(EXPAT_INCLUDE_DIR "${KEVO_MINGW_EXPAT}/include" CACHE PATH "expat's headers" FORCE)
  set(EXPAT_LIBRARY "${KEVO_MINGW_EXPAT}/lib/libexpat.a" CACHE FILEPATH "expat's library" FORCE)
endif()

set(kevo_boost_link_dir "${PROJECT_BINARY_DIR}/mingw-boost")
if(NOT Boost_INCLUDE_DIR AND EXISTS /usr/include/boost/version.hpp)
  file(MAKE_DIRECTORY "${kevo_boost_link_dir}")
  file(CREATE_LINK /usr/include/boost "${kevo_boost_link_dir}/boost" SYMBOLIC)
  set(Boost_INCLUDE_DIR "${kevo_boost_link_dir}" CACHE PATH "Boost's headers" FORCE)
endif()
