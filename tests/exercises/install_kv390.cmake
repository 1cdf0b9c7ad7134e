# Installs the build tree into PREFIX, as a teacher installs KV390 before
# grading.  Run with cmake -P and BUILD_DIR, PREFIX.

cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../support/run_checked.cmake)

file(REMOVE_RECURSE ${PREFIX})
# What the installation copies must exist (a no-op after a full build).
run(${CMAKE_COMMAND} --build ${BUILD_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX})
