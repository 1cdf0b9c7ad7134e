// Grading a class: the reference's pictures first, then every submission
// built and tested, several at once, into one record.
#pragma once

#include <string>
#include <vector>

#include "build.h"
#include "result.h"
#include "run_test.h"

namespace grade {

struct ClassJob {
    Exercise exercise;
    std::vector<std::string> submissions;  // folders, source files or programs
    std::string out_dir;
    unsigned jobs = 1;
    BuildSetup build;
    RunSetup run;
};

// The name of a submission's folder in the output: its file or folder name.
std::string submission_name(const std::string& path);

// False with a one-line reason when the tool, the exercise or the
// reference fails; a submission that fails is only graded low.
bool grade_class(const ClassJob& job, GradeRecord* record, std::string* error);

}  // namespace grade
