# Runs the headless weather picture once under valgrind's memcheck with a
# render request (timed input and the last picture) and fails on any error
# or definite leak.  Arguments: VALGRIND, PROGRAM, REQUEST, WORK_DIR.
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env KV390_RUN=${REQUEST} KV390_SEED=390
          ${VALGRIND} --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite
          --track-origins=yes ${PROGRAM}
  WORKING_DIRECTORY ${WORK_DIR}
  RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "valgrind run of ${PROGRAM} failed: ${result}")
endif()
if(NOT EXISTS ${WORK_DIR}/last.png)
  message(FATAL_ERROR "the run wrote no last picture")
endif()
if(NOT EXISTS ${WORK_DIR}/KV390.SCR)
  message(FATAL_ERROR "the recording in the run wrote no script file")
endif()
