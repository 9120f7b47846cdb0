# What a release needs beyond the build: the Windows version resources and the install rules
# (cmake --install, and through it the tarball and the .deb of scripts/release.sh).
# Debian names a package's doc folder after the package, in lower case.
set(CMAKE_INSTALL_DOCDIR share/doc/statskevo CACHE PATH "Documentation (README, LICENSE, CHANGELOG)")
include(GNUInstallDirs)

# Plug-ins are no ordinary shared libraries (no "lib" prefix, no soname): they get a folder of
# their own below the library folder, as hosts' plug-ins do.
set(KEVO_PLUGIN_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/statskevo)

# One version resource template for every Windows binary.
function(kevo_add_version_resource target description file_type)
  set(KEVO_RC_NAME ${target})
  set(KEVO_RC_DESCRIPTION "${description}")
  set(KEVO_RC_FILETYPE ${file_type})
  get_target_property(suffix ${target} SUFFIX)
  if(NOT suffix)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE")
      set(suffix ${CMAKE_EXECUTABLE_SUFFIX})
    else()
      set(suffix ${CMAKE_SHARED_LIBRARY_SUFFIX})
    endif()
  endif()
  set(KEVO_RC_FILENAME ${target}${suffix})
  set(rc ${PROJECT_BINARY_DIR}/${target}_version.rc)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/version.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()

if(WIN32)
  kevo_add_version_resource(StatsKEVO "KEVO contest scoring plug-in" VFT_DLL)
  if(TARGET kevo-replay)
    kevo_add_version_resource(kevo-replay "StatsKEVO log and session replay" VFT_APP)
  endif()
  if(TARGET kevo-live)
    kevo_add_version_resource(kevo-live "StatsKEVO live score from loggers' broadcasts" VFT_APP)
  endif()
endif()

install(TARGETS StatsKEVO
  LIBRARY DESTINATION ${KEVO_PLUGIN_INSTALL_DIR}
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES include/StatsKEVO.h DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES README.md LICENSE CHANGELOG.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

# A program that loads the plug-in: installed into bin with its man page (docs/<target>.1.in),
# and told where an install puts the plug-in relative to its own folder. Both folders are
# relative to the same prefix, so the answer holds for any --prefix given at install time.
function(kevo_install_host_program target)
  if(NOT TARGET ${target})
    return()
  endif()
  install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  configure_file(docs/${target}.1.in ${PROJECT_BINARY_DIR}/${target}.1 @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/${target}.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  cmake_path(ABSOLUTE_PATH KEVO_PLUGIN_INSTALL_DIR BASE_DIRECTORY ${CMAKE_INSTALL_PREFIX}
             OUTPUT_VARIABLE plugin_dir)
  file(RELATIVE_PATH plugin_from_bindir ${CMAKE_INSTALL_FULL_BINDIR} ${plugin_dir})
  target_compile_definitions(${target} PRIVATE KEVO_INSTALLED_PLUGIN_DIR="${plugin_from_bindir}")
endfunction()
kevo_install_host_program(kevo-replay)
kevo_install_host_program(kevo-live)
