# A text file of the source tree compiled into a program, so that it ships inside the binary
# yet stays an ordinary file to edit, lint and view (the live page's script, say).
#
# kevo_embed_text(<input> <include folder> <header> <namespace> <name>) writes the header
# (a path below the include folder, as the sources include it), declaring
# `inline constexpr char <name>[]` in <namespace> as a raw string literal of the input's exact
# bytes, when the project is configured. Editing the input configures the project again, and
# the header is rewritten only when its content changes, so that nothing else recompiles.
function(kevo_embed_text input include_dir header namespace name)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${input})
  file(READ ${input} text)
  # A raw string ends at the first `)delimiter"`: a text holding that would end it early.
  set(delimiter "kevo_embed")
  string(FIND "${text}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${input} holds )${delimiter}\" and cannot be embedded as it is")
  endif()
  cmake_path(RELATIVE_PATH input BASE_DIRECTORY ${PROJECT_SOURCE_DIR} OUTPUT_VARIABLE source)
  string(MAKE_C_IDENTIFIER "KEVO_${header}_" guard)
  string(TOUPPER "${guard}" guard)
  set(content "// Written from ${source} when the project is configured; edit that file.
#ifndef ${guard}
#define ${guard}

namespace ${namespace} {

inline constexpr char ${name}[] = R\"${delimiter}(${text})${delimiter}\";

}  // namespace ${namespace}

#endif  // ${guard}
")
  set(path ${include_dir}/${header})
  file(WRITE ${path}.new "${content}")
  file(COPY_FILE ${path}.new ${path} ONLY_IF_DIFFERENT)
  file(REMOVE ${path}.new)
endfunction()
