# The Windows tool under wine writes the same picture, animation and log,
# byte for byte, as the native tool for the same script and seed.  Run with cmake -P and:
#   NATIVE_TOOL, WINDOWS_TOOL  the two builds of the tool    WINE  the wine program
#   SCRIPT  the script file    SEED  the seed                WORK_DIR  scratch directory

cmake_minimum_required(VERSION 3.25)

function(render name)
  execute_process(COMMAND ${ARGN} --script ${SCRIPT} --seed ${SEED} --out ${WORK_DIR}/${name}.png
                          --gif ${WORK_DIR}/${name}.gif --log ${WORK_DIR}/${name}.log
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0 OR NOT EXISTS ${WORK_DIR}/${name}.png)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed (${status}) or wrote no picture:\n${out}\n${err}")
  endif()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
render(native ${NATIVE_TOOL})
render(windows ${WINE} ${WINDOWS_TOOL})
foreach(kind png gif log)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK_DIR}/native.${kind}
                          ${WORK_DIR}/windows.${kind} RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "the .${kind} files differ: ${WORK_DIR}/native.${kind} ${WORK_DIR}/windows.${kind}")
  endif()
endforeach()
file(SIZE ${WORK_DIR}/native.png size)
message(STATUS "same picture (${size} bytes), animation and log from both builds")
file(REMOVE_RECURSE ${WORK_DIR})
