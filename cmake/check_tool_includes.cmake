# Fails when a source under tools/ includes what its room may not see, naming the file and the
# line of each such include. The rooms stand on each other in one direction only: host/ sees
# nothing else under tools/; figures/ sees host/; replay/ and live/ each see host/ and figures/
# but never each other. Of the library, the tools see its public headers (include/), the
# generated table of its exported entries and its ASCII helpers, nothing of its insides.
#
# Usage: cmake -DROOT=<folder holding tools/> [-DPUBLIC=<public header folder>]
#              -P check_tool_includes.cmake
# PUBLIC defaults to ROOT/include.
cmake_minimum_required(VERSION 3.25)
if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<folder holding tools/> -P ${CMAKE_CURRENT_LIST_FILE}")
endif()
if(NOT PUBLIC)
  set(PUBLIC ${ROOT}/include)
endif()

file(GLOB_RECURSE public_headers RELATIVE ${PUBLIC} ${PUBLIC}/*.h)
set(library_headers_allowed ${public_headers} kevo_exported_entries.h text/ascii.h)

# The rooms under tools/ a room may not include (the host kit: none but its own).
set(rooms_barred_from_figures replay live)
set(rooms_barred_from_replay live)
set(rooms_barred_from_live replay)

file(GLOB_RECURSE sources RELATIVE ${ROOT}
  ${ROOT}/tools/*.h ${ROOT}/tools/*.hpp ${ROOT}/tools/*.inc ${ROOT}/tools/*.cpp ${ROOT}/tools/*.cc)
if(NOT sources)
  message(FATAL_ERROR "no sources under ${ROOT}/tools")
endif()

set(strays "")
set(stray_count 0)
set(include_count 0)
foreach(source IN LISTS sources)
  string(REGEX MATCH "^tools/([^/]+)/" room_match "${source}")
  set(room "${CMAKE_MATCH_1}")
  file(READ ${ROOT}/${source} text)
  # One list element per line: characters that a CMake list reads specially are blunted first.
  string(REGEX REPLACE "[][;\\\\]" "_" text "${text}")
  string(REPLACE "\n" ";" lines "${text}")
  set(line_number 0)
  foreach(line IN LISTS lines)
    math(EXPR line_number "${line_number} + 1")
    if(NOT line MATCHES "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\"")
      continue()
    endif()
    set(included "${CMAKE_MATCH_1}")
    math(EXPR include_count "${include_count} + 1")
    set(why "")
    if(included MATCHES "^tools/([^/]+)/")
      set(target_room "${CMAKE_MATCH_1}")
      if(room STREQUAL "host" AND NOT target_room STREQUAL "host")
        set(why "the host kit sees nothing else under tools/")
      elseif(target_room IN_LIST rooms_barred_from_${room})
        set(why "tools/${room} may not include tools/${target_room}")
      endif()
    elseif(NOT included IN_LIST library_headers_allowed)
      set(why "not a header of tools/ by its path from the root, nor one of the library's the tools see")
    endif()
    if(why)
      string(APPEND strays "${source}:${line_number}: #include \"${included}\": ${why}\n")
      math(EXPR stray_count "${stray_count} + 1")
    endif()
  endforeach()
endforeach()

list(LENGTH sources source_count)
if(stray_count GREATER 0)
  # Printed as they are (an error message would be rewrapped), one line each.
  message(NOTICE "${strays}")
  message(FATAL_ERROR "${stray_count} stray include(s) under ${ROOT}/tools")
endif()
message(STATUS "${source_count} files under tools/, ${include_count} includes, none stray")
