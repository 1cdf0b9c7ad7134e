# Grades one exercise folder with kv390-grade and checks the verdicts:
#   - solution.c (copied into a submission folder of its own) gets full marks,
#     every test passed;
#   - starter.c gets less than full marks;
#   - every wrong/<case>/ gets less than full marks, and each test named in
#     its expect.txt fails with a reason holding the text given there.
# expect.txt holds pairs of lines, "test: <test name>" then "reason: <text>";
# lines starting with # are comments.
# Run with cmake -P and GRADE (kv390-grade), PREFIX (the installed KV390),
# EXERCISE_DIR, WORK_DIR.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../support/run_checked.cmake)

string(REGEX REPLACE "/+$" "" EXERCISE_DIR "${EXERCISE_DIR}")
get_filename_component(exercise ${EXERCISE_DIR} NAME)
file(REMOVE_RECURSE ${WORK_DIR})
set(submissions_dir ${WORK_DIR}/submissions)
set(out_dir ${WORK_DIR}/out)

set(problems "")
macro(problem)
  string(APPEND problems "\n  " ${ARGN})
endmacro()

# The folder must hold everything an exercise is handed out with.
foreach(file README.md exercise.toml starter.c solution.c)
  if(NOT EXISTS ${EXERCISE_DIR}/${file})
    message(FATAL_ERROR "${exercise}: ${file} is missing")
  endif()
endforeach()

# Each submission is a folder of its sources alone, named as in the report.
file(MAKE_DIRECTORY ${submissions_dir}/solution ${submissions_dir}/starter)
file(COPY ${EXERCISE_DIR}/solution.c DESTINATION ${submissions_dir}/solution)
file(COPY ${EXERCISE_DIR}/starter.c DESTINATION ${submissions_dir}/starter)
set(submissions solution starter)
file(GLOB wrong_dirs LIST_DIRECTORIES true ${EXERCISE_DIR}/wrong/*)
list(LENGTH wrong_dirs wrong_count)
if(wrong_count LESS 2)
  problem("wrong/ holds ${wrong_count} submissions; at least 2 are needed")
endif()
foreach(dir ${wrong_dirs})
  get_filename_component(case ${dir} NAME)
  if(case IN_LIST submissions)
    message(FATAL_ERROR "${exercise}: wrong/${case} has the name of another submission")
  endif()
  if(NOT EXISTS ${dir}/expect.txt)
    message(FATAL_ERROR "${exercise}: wrong/${case}/expect.txt is missing")
  endif()
  file(GLOB sources ${dir}/*.c ${dir}/*.cpp)
  if(NOT sources)
    message(FATAL_ERROR "${exercise}: wrong/${case} holds no source file")
  endif()
  file(COPY ${sources} DESTINATION ${submissions_dir}/${case})
  list(APPEND submissions ${case})
endforeach()

set(folders "")
foreach(submission ${submissions})
  list(APPEND folders ${submissions_dir}/${submission})
endforeach()
run(${GRADE} ${EXERCISE_DIR}/exercise.toml ${folders} --out ${out_dir} --kv390 ${PREFIX})

# A number of results.json as an integer (points are whole numbers; JSON may
# write 5 as 5.0).
function(whole_number var value)
  string(REGEX REPLACE "\\.0*$" "" value "${value}")
  if(NOT value MATCHES "^-?[0-9]+$")
    message(FATAL_ERROR "${exercise}: results.json holds ${value} where a whole number of points belongs")
  endif()
  set(${var} ${value} PARENT_SCOPE)
endfunction()

# Reads DIR/<submission>/results.json: sets score, max_score (the sum of the
# tests' maxima), test_names and, per test i, test_<i>_status, _score, _max,
# _output and _reason (the first line of the output).
macro(read_results submission)
  set(results_file ${out_dir}/${submission}/results.json)
  if(NOT EXISTS ${results_file})
    message(FATAL_ERROR "${exercise}: kv390-grade wrote no ${submission}/results.json")
  endif()
  file(READ ${results_file} results)
  string(JSON score GET "${results}" score)
  whole_number(score "${score}")
  string(JSON test_count LENGTH "${results}" tests)
  set(max_score 0)
  set(test_names "")
  math(EXPR last "${test_count} - 1")
  foreach(i RANGE ${last})
    string(JSON test_name GET "${results}" tests ${i} name)
    string(JSON test_${i}_status GET "${results}" tests ${i} status)
    string(JSON test_${i}_score GET "${results}" tests ${i} score)
    string(JSON test_${i}_max GET "${results}" tests ${i} max_score)
    string(JSON test_${i}_output GET "${results}" tests ${i} output)
    # The reason is the output's first line (a compile error adds the compiler's).
    string(REGEX MATCH "^[^\n]*" test_${i}_reason "${test_${i}_output}")
    whole_number(test_${i}_score "${test_${i}_score}")
    whole_number(test_${i}_max "${test_${i}_max}")
    list(APPEND test_names "${test_name}")
    math(EXPR max_score "${max_score} + ${test_${i}_max}")
  endforeach()
endmacro()

foreach(submission ${submissions})
  read_results(${submission})
  if(submission STREQUAL "solution")
    if(NOT score EQUAL max_score)
      problem("solution: ${score} of ${max_score} points")
    endif()
    foreach(i RANGE ${last})
      list(GET test_names ${i} test_name)
      if(NOT test_${i}_status STREQUAL "passed" OR NOT test_${i}_output MATCHES "^passed")
        problem("solution: \"${test_name}\" ${test_${i}_status}: ${test_${i}_reason}")
      endif()
    endforeach()
    continue()
  endif()
  if(NOT score LESS max_score)
    problem("${submission}: full marks (${score} of ${max_score})")
  endif()
  if(submission STREQUAL "starter")
    continue()
  endif()

  file(STRINGS ${EXERCISE_DIR}/wrong/${submission}/expect.txt lines)
  set(expected_test "")
  set(pairs 0)
  foreach(line IN LISTS lines)
    if(line MATCHES "^test: (.+)$")
      set(expected_test "${CMAKE_MATCH_1}")
    elseif(line MATCHES "^reason: (.+)$")
      set(reason "${CMAKE_MATCH_1}")
      math(EXPR pairs "${pairs} + 1")
      list(FIND test_names "${expected_test}" i)
      if(expected_test STREQUAL "" OR i EQUAL -1)
        problem("${submission}: expect.txt names no test of the exercise (\"${expected_test}\")")
        continue()
      endif()
      string(FIND "${test_${i}_reason}" "${reason}" at)
      if(NOT test_${i}_status STREQUAL "failed" OR NOT test_${i}_score LESS test_${i}_max
         OR at EQUAL -1)
        problem("${submission}: \"${expected_test}\" should fail with \"${reason}\": it "
                "${test_${i}_status} with ${test_${i}_score} of ${test_${i}_max} points: "
                "${test_${i}_reason}")
      endif()
    elseif(NOT line MATCHES "^(#.*)?$")
      problem("${submission}: expect.txt line not understood: ${line}")
    endif()
  endforeach()
  if(pairs EQUAL 0)
    problem("${submission}: expect.txt names no failing test")
  endif()
endforeach()

if(problems)
  message(FATAL_ERROR "${exercise}: graded by kv390-grade (report: ${out_dir}/index.html):${problems}")
endif()
list(LENGTH submissions count)
message(STATUS "${exercise}: solution full marks, ${count} submissions graded as expected")
