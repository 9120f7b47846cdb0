# The plug-in's export lists, derived from the one table of its entries (plugin/entry_table.h)
# when the project is configured: the ELF version script and the Windows module definition
# file, both written into the build folder. Editing the table configures the project again.
#
# kevo_export_lists(<table header> <output folder>) writes StatsKEVO.map and StatsKEVO.def
# there and sets KEVO_VERSION_SCRIPT and KEVO_DEF_FILE to their paths in the caller's scope.
# It also writes generated/kevo_exported_entries.h, the same table for the programs that load
# the plug-in, which see only its boundary and never the library's own headers; it sets
# KEVO_GENERATED_INCLUDE_DIR to the folder that holds it.

# Writes the file only when its content changes, so that an unchanged list relinks nothing.
function(kevo_write_if_changed path content)
  file(WRITE ${path}.new "${content}")
  file(COPY_FILE ${path}.new ${path} ONLY_IF_DIFFERENT)
  file(REMOVE ${path}.new)
endfunction()

function(kevo_export_lists table out_dir)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})

  # The macro's body: its #define line and every line continued from it.
  file(READ ${table} text)
  string(FIND "${text}" "#define KEVO_ENTRY_TABLE(X)" start)
  if(start EQUAL -1)
    message(FATAL_ERROR "${table}: no #define KEVO_ENTRY_TABLE(X)")
  endif()
  string(SUBSTRING "${text}" ${start} -1 body)
  string(REGEX REPLACE "\\\\[ \t]*\n" " " body "${body}")
  string(FIND "${body}" "\n" end)
  string(SUBSTRING "${body}" 0 ${end} body)
  # Adjacent string literals are one name, as the compiler reads them.
  string(REGEX REPLACE "\"[ \t]*\"" "" body "${body}")

  set(name "[A-Za-z0-9_]+")
  set(quoted "\"([^\"]+)\"")
  set(entry "X\\([ \t]*(${name})[ \t]*,[ \t]*${quoted}[ \t]*,[ \t]*${quoted}[ \t]*\\)")
  string(REGEX MATCHALL "X\\(" opened "${body}")
  string(REGEX MATCHALL "${entry}" entries "${body}")
  list(LENGTH opened opened_count)
  list(LENGTH entries count)
  if(count EQUAL 0 OR NOT count EQUAL opened_count)
    message(FATAL_ERROR "${table}: ${opened_count} entries, ${count} of them in the form "
                        "X(plain, \"itanium\", \"msvc\")")
  endif()

  set(plain_names "")
  set(itanium_names "")
  set(msvc_aliases "")
  set(def_plain "")
  set(host_rows "")
  foreach(item IN LISTS entries)
    string(REGEX REPLACE "${entry}" "\\1" plain "${item}")
    string(REGEX REPLACE "${entry}" "\\2" itanium "${item}")
    string(REGEX REPLACE "${entry}" "\\3" msvc "${item}")
    string(APPEND plain_names "    ${plain};\n")
    string(APPEND itanium_names "    ${itanium};\n")
    string(APPEND msvc_aliases "  ${msvc}=${plain}\n")
    string(APPEND def_plain "  ${plain}\n")
    string(APPEND host_rows "  X(${plain}, \"${itanium}\", \"${msvc}\") \\\n")
  endforeach()
  math(EXPR name_count "2 * ${count}")

  set(origin "Written by cmake/KevoExportLists.cmake from plugin/entry_table.h; edit the table.")
  string(CONCAT map_text
    "/* The ${name_count} names the plug-in exports on ELF platforms; everything else stays local.\n"
    " * ${origin} */\n{\n  global:\n${plain_names}${itanium_names}  local:\n    *;\n};\n")
  kevo_write_if_changed(${out_dir}/StatsKEVO.map "${map_text}")
  # Each decorated name is an alias of the plain entry, so both lead to the same code.
  string(CONCAT def_text
    "; Export table of the 32-bit Windows plug-in: every entry under its plain C name and,\n"
    "; as an alias of it, under the name MSVC gives the cdecl C++ twin.\n; ${origin}\n"
    "LIBRARY StatsKEVO.dll\nEXPORTS\n${def_plain}${msvc_aliases}")
  kevo_write_if_changed(${out_dir}/StatsKEVO.def "${def_text}")
  # For hosts: X(plain, itanium, msvc) once per entry, in the table's order.
  string(CONCAT host_text
    "// The plug-in's exported entries, for programs that load it.\n// ${origin}\n"
    "#ifndef KEVO_EXPORTED_ENTRIES_H_\n#define KEVO_EXPORTED_ENTRIES_H_\n\n"
    "// clang-format off\n#define KEVO_EXPORTED_ENTRIES(X) \\\n${host_rows}\n// clang-format on\n\n"
    "#endif  // KEVO_EXPORTED_ENTRIES_H_\n")
  kevo_write_if_changed(${out_dir}/generated/kevo_exported_entries.h "${host_text}")
  set(KEVO_GENERATED_INCLUDE_DIR ${out_dir}/generated PARENT_SCOPE)
  set(KEVO_VERSION_SCRIPT ${out_dir}/StatsKEVO.map PARENT_SCOPE)
  set(KEVO_DEF_FILE ${out_dir}/StatsKEVO.def PARENT_SCOPE)
endfunction()
