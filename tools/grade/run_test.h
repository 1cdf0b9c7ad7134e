// One test of one program: a run through kv390-run, then the picture
// compared with the expected one and the log checked.
#pragma once

#include <string>

#include "exercise.h"
#include "result.h"
#include "sandbox.h"

namespace grade {

struct RunSetup {
    std::string runner;  // kv390-run
    bool sandbox = true;
    kv390::tools::SandboxLimits limits;
};

// Runs test on program; its picture, diff and log go to out_dir
// (<file_name>.png, -diff.png, .log), its scratch files to work.  expected
// is the reference's picture (empty for the reference itself).  False with
// a one-line reason when the tool itself fails.
bool run_test(const RunSetup& setup, const TestSpec& test, const std::string& program,
              const std::string& out_dir, const std::string& expected, const std::string& work,
              TestResult* result, std::string* error);

}  // namespace grade
