// The views of a grading record: the teacher's report (index.html), the
// grade sheet (grades.csv) and each submission's files for Gradescope
// (results.json) and PrairieLearn (pl-results.json).
#pragma once

#include <string>

#include "result.h"

namespace grade {

// Writes every view into out_dir, each file complete before it takes its
// name.  False with a one-line reason when a file cannot be written.
bool write_views(const GradeRecord& record, const std::string& out_dir, std::string* error);

// Each view as text, for the tests and for write_views.
std::string report_html(const GradeRecord& record);
std::string grades_csv(const GradeRecord& record);
std::string gradescope_json(const GradeRecord& record, const SubmissionResult& submission);
// Pictures are read from the submission's folder in out_dir.
std::string prairielearn_json(const GradeRecord& record, const SubmissionResult& submission,
                              const std::string& out_dir);

}  // namespace grade
