# Runs kevo-replay once in a fresh folder and checks its exit status and output.
#   REPLAY, ARGS (list), EXIT_CODE, WORK: required
#   MATCH: regular expressions the standard output and error together must all contain
#   EXPECT_OUTPUT: a file the standard output must equal byte for byte
#   EXPECT_FILE: a file (relative to WORK) that must exist afterwards
# The word WORKDIR inside ARGS, MATCH and EXPECT_FILE stands for WORK/workdir.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
string(REPLACE "WORKDIR" "${WORK}/workdir" ARGS "${ARGS}")
execute_process(COMMAND ${REPLAY} ${ARGS}
  WORKING_DIRECTORY ${WORK}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status
  TIMEOUT 120)
set(all "${out}${err}")
if(NOT "${status}" STREQUAL "${EXIT_CODE}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT_CODE}\n--- output:\n${all}")
endif()
foreach(pattern IN LISTS MATCH)
  string(REPLACE "WORKDIR" "${WORK}/workdir" pattern "${pattern}")
  if(NOT all MATCHES "${pattern}")
    message(FATAL_ERROR "output lacks /${pattern}/\n--- output:\n${all}")
  endif()
endforeach()
if(EXPECT_OUTPUT)
  file(WRITE ${WORK}/stdout.txt "${out}")
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/stdout.txt ${EXPECT_OUTPUT}
    RESULT_VARIABLE different)
  if(different)
    execute_process(COMMAND diff -u ${EXPECT_OUTPUT} ${WORK}/stdout.txt OUTPUT_VARIABLE diff)
    message(FATAL_ERROR "output differs from ${EXPECT_OUTPUT}\n${diff}")
  endif()
endif()
if(EXPECT_FILE)
  string(REPLACE "WORKDIR" "${WORK}/workdir" EXPECT_FILE "${EXPECT_FILE}")
  if(NOT IS_ABSOLUTE ${EXPECT_FILE})
    set(EXPECT_FILE ${WORK}/${EXPECT_FILE})
  endif()
  if(NOT EXISTS ${EXPECT_FILE})
    message(FATAL_ERROR "${EXPECT_FILE} was not written\n--- output:\n${all}")
  endif()
endif()
