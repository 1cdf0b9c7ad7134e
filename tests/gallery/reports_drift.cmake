# Runs scripts/gallery.sh against doctored copies of the gallery and checks
# that each kind of drift fails the comparison with a message naming the
# example and what differs, while an intact copy passes.
cmake_minimum_required(VERSION 3.25)

set(gallery ${SOURCE_DIR}/docs/examples)
file(REMOVE_RECURSE ${WORK_DIR})

# name: the example compared (--only); change: what is done to the copy;
# expected: a regular expression the error output must match.
set(cases
  "intact|shapes|none|"
  "other picture|shapes|replace shapes.png palette.png|shapes: shapes.png differs from a fresh run: [1-9][0-9]* of [0-9]+ pixels differ"
  "missing animation|stopwatch|remove stopwatch.gif|stopwatch: stopwatch.gif is missing"
  "changed animation|stopwatch|replace stopwatch.gif life.gif|stopwatch: stopwatch.gif differs from a fresh run \\(the animation\\)")

foreach(case IN LISTS cases)
  string(REPLACE "|" ";" fields "${case}")
  list(GET fields 0 label)
  list(GET fields 1 name)
  list(GET fields 2 change)
  list(GET fields 3 expected)
  set(copy ${WORK_DIR}/${name}-${label})
  string(REPLACE " " "_" copy "${copy}")
  file(COPY ${gallery}/ DESTINATION ${copy})
  separate_arguments(change)
  list(GET change 0 action)
  if(action STREQUAL "replace")
    list(GET change 1 target)
    list(GET change 2 source)
    file(COPY_FILE ${gallery}/${source} ${copy}/${target})
  elseif(action STREQUAL "remove")
    list(GET change 1 target)
    file(REMOVE ${copy}/${target})
  endif()

  execute_process(
    COMMAND ${BASH} ${SOURCE_DIR}/scripts/gallery.sh --build ${BUILD_DIR} --gallery ${copy} --only ${name}
    RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(expected STREQUAL "")
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "${label}: the intact gallery failed (${status}):\n${out}${err}")
    endif()
  else()
    if(NOT status EQUAL 1)
      message(FATAL_ERROR "${label}: expected exit status 1, got ${status}:\n${out}${err}")
    endif()
    if(NOT err MATCHES "${expected}")
      message(FATAL_ERROR "${label}: the report does not say \"${expected}\":\n${err}")
    endif()
  endif()
endforeach()
file(REMOVE_RECURSE ${WORK_DIR})
