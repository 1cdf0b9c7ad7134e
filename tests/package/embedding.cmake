# Configures the project in embedding/, which takes KV390 in with
# add_subdirectory, and checks that the result has no tests.  Run with
# cmake -P and KV390_SOURCE, WORK_DIR, C_COMPILER, CXX_COMPILER.
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(
  COMMAND ${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/embedding -B ${WORK_DIR}
          -DKV390_SOURCE=${KV390_SOURCE}
          -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_CXX_COMPILER=${CXX_COMPILER}
  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "configuring the embedding project failed (${status}):\n${out}\n${err}")
endif()
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} -N --test-dir ${WORK_DIR}
                RESULT_VARIABLE status OUTPUT_VARIABLE listing)
if(NOT status EQUAL 0 OR NOT listing MATCHES "Total Tests: 0")
  message(FATAL_ERROR "the embedding project has tests:\n${listing}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
message(STATUS "embedded KV390: library targets only, no tests, no -Werror")
