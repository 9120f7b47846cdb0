# Runs kevo-replay twice on the same log and compares the summaries it prints (everything before
# the "Replay of" line): with and without the report, a replay must end on the same summary.
#   REPLAY, LOG, ARGS_A, ARGS_B (lists), EXPECT (SAME or DIFFERENT), WORK: required
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(summaries)
foreach(run A B)
  execute_process(COMMAND ${REPLAY} ${ARGS_${run}} ${LOG}
    WORKING_DIRECTORY ${WORK}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status
    TIMEOUT 120)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "run ${run} (${ARGS_${run}}): exit status ${status}\n${out}${err}")
  endif()
  string(FIND "${out}" "\nReplay of " end)
  if(end EQUAL -1)
    message(FATAL_ERROR "run ${run}: no \"Replay of\" line\n${out}")
  endif()
  string(SUBSTRING "${out}" 0 ${end} summary_${run})
endforeach()
if(EXPECT STREQUAL "SAME" AND NOT summary_A STREQUAL summary_B)
  message(FATAL_ERROR "the summaries differ\n--- ${ARGS_A}:\n${summary_A}\n--- ${ARGS_B}:\n${summary_B}")
elseif(EXPECT STREQUAL "DIFFERENT" AND summary_A STREQUAL summary_B)
  message(FATAL_ERROR "the summaries are the same, expected them to differ\n${summary_A}")
endif()
