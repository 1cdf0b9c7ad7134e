// The one record a grading produces; the report, the CSV and the platforms'
// files are views of it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exercise.h"

namespace grade {

struct TestResult {
    std::string name, file_name;
    std::uint64_t points = 0, max_points = 0;
    bool passed = false;
    // "passed" or the first reason it failed, one line with a stable prefix
    // ("picture differs in", "log lacks:", "timeout after", "crashed:", ...).
    std::string output;
    std::vector<std::string> details;  // every broken check, the runner's message
    // Pictures in the submission's folder: <file_name>.png, <file_name>-diff.png.
    bool has_picture = false, has_diff = false;
};

struct SubmissionResult {
    std::string name;  // its folder in the output
    bool built = false;
    std::string build_log;  // the compiler's messages when the build failed
    std::vector<TestResult> tests;
    std::uint64_t score = 0, max_score = 0;
};

struct GradeRecord {
    Exercise exercise;
    bool sandboxed = true;
    std::vector<SubmissionResult> submissions;
};

}  // namespace grade
