# Regenerates the sample with the fixed-seed generator and compares it with samples/.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${GENERATOR} ${WORK} RESULT_VARIABLE status)
if(status)
  message(FATAL_ERROR "kevo-sample-gen failed: ${status}")
endif()
foreach(name contest.adi contest.cbr RADL.lst)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/${name} ${SAMPLES}/${name}
    RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "samples/${name} is not what kevo-sample-gen makes; regenerate it")
  endif()
endforeach()
