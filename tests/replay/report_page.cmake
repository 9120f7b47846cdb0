# Runs kevo-replay --report on a log in a fresh folder, then checks the page it wrote with
# check_report.py (well-formed, self-contained, figures equal to the summary's).
#   REPLAY, ARGS (list), EXIT_CODE, PYTHON, CHECKER, WORK: required
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${REPLAY} ${ARGS} --report report.html
  WORKING_DIRECTORY ${WORK}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status
  TIMEOUT 120)
if(NOT "${status}" STREQUAL "${EXIT_CODE}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT_CODE}\n--- output:\n${out}${err}")
endif()
execute_process(COMMAND ${PYTHON} ${CHECKER} ${WORK}/report.html
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
message(STATUS "${out}${err}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the page fails its checks")
endif()
