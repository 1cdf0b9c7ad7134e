// Autograder packs: the files with which Gradescope or PrairieLearn grade
// one submission per container with kv390-grade.
#pragma once

#include <string>

#include "exercise.h"

namespace grade {

// Gradescope: a zip holding setup.sh (installs KV390 from the sources in the
// zip on the platform's Ubuntu image), run_autograder and the exercise.
bool pack_gradescope(const Exercise& exercise, const std::string& kv390_source,
                     const std::string& zip_path, std::string* error);

// PrairieLearn: a question folder's grader files (tests/run.sh, the
// exercise, the KV390 sources and setup.sh for the grader image).
bool pack_prairielearn(const Exercise& exercise, const std::string& kv390_source,
                       const std::string& out_dir, std::string* error);

}  // namespace grade
