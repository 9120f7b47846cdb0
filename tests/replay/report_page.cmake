# Runs kevo-replay --report on a log in a fresh folder, then checks the page it wrote with
# check_report.py (well-formed, self-contained, figures equal to the summary's, the audit's
# rows the same as those --csv wrote).
#   REPLAY, ARGS (list), EXIT_CODE, PYTHON, CHECKER, WORK: required
#   MATCH, PAGE_MATCH: regular expressions the output, and the page, must all contain
#   CHECKS: further options for check_report.py
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${REPLAY} ${ARGS} --report report.html --csv audit.csv
  WORKING_DIRECTORY ${WORK}
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status
  TIMEOUT 120)
if(NOT "${status}" STREQUAL "${EXIT_CODE}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXIT_CODE}\n--- output:\n${out}${err}")
endif()
foreach(pattern IN LISTS MATCH)
  if(NOT "${out}${err}" MATCHES "${pattern}")
    message(FATAL_ERROR "output lacks /${pattern}/\n--- output:\n${out}${err}")
  endif()
endforeach()
file(READ ${WORK}/report.html page)
foreach(pattern IN LISTS PAGE_MATCH)
  if(NOT page MATCHES "${pattern}")
    message(FATAL_ERROR "the page lacks /${pattern}/")
  endif()
endforeach()
execute_process(COMMAND ${PYTHON} ${CHECKER} ${CHECKS} ${WORK}/report.html ${WORK}/audit.csv
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
message(STATUS "${out}${err}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the page fails its checks")
endif()
