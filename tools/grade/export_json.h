// An exercise's tests as JSON, for graders that cannot read TOML (the
// playground's Check button): the same tests kv390-grade runs, with each
// test's timed input exactly as kv390-run hands it to the program.
#pragma once

#include <string>

#include "exercise.h"

namespace grade {

// {"title", "tests": [{"name", "file_name", "points", "timeout", "tolerance",
// "picture", "log_has", "log_lacks", "input", "script", "program_input"}]}.
// "input" is the test's timed input as written, "script" the script file's
// text (null when none), and "program_input" the program's whole timed
// input: a script test starts with the Run menu's Playback Script at time
// 0, as kv390-run starts it.  False with one line when a script
// file cannot be read.
bool exercise_json(const Exercise& exercise, std::string* json, std::string* error);

}  // namespace grade
