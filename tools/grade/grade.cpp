// The grading pipeline: each step (build, run, compare, record) is a
// function of grade/; this file only puts them in order and spreads the
// submissions over worker threads.
#include "grade.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>

#include "process.h"

namespace grade {

namespace fs = std::filesystem;

std::string submission_name(const std::string& path) {
    std::string name = fs::path(path).lexically_normal().filename().string();
    if (name.empty()) name = fs::path(path).lexically_normal().parent_path().filename().string();
    return name;
}

namespace {

bool make_folder(const fs::path& path, std::string* error) {
    std::error_code ec;
    fs::create_directories(path, ec);
    // Traversable by the sandboxes' ids, which bind folders inside it.
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec,
                    ec);
    if (ec) *error = "cannot make " + path.string() + ": " + ec.message();
    return !ec;
}

bool grade_one(const ClassJob& job, const std::string& source, const std::string& name,
               const fs::path& work, unsigned slot, SubmissionResult* result, std::string* error) {
    SubmissionResult s;
    s.name = name;
    s.max_score = job.exercise.max_score();
    const fs::path out = fs::path(job.out_dir) / name;
    std::error_code ec;
    fs::create_directories(out, ec);
    if (ec) {
        *error = "cannot make " + out.string() + ": " + ec.message();
        return false;
    }
    if (!make_folder(work, error)) return false;
    Built built;
    if (!build_submission(job.build, source, work.string(), slot, &built, error)) return false;
    s.built = built.ok;
    s.build_log = built.log;
    if (built.ok) {
        const bool reference = name == "reference";
        for (const TestSpec& test : job.exercise.tests) {
            const std::string expected =
                reference
                    ? ""
                    : (fs::path(job.out_dir) / "reference" / (test.file_name + ".png")).string();
            TestResult t;
            if (!run_test(job.run, test, built.program, out.string(), expected, work.string(), &t,
                          error))
                return false;
            s.score += t.points;
            s.tests.push_back(t);
            if (kv390::tools::interrupted()) {
                *error = "interrupted; no report was written";
                return false;
            }
        }
    }
    *result = s;
    return true;
}

}  // namespace

bool grade_class(const ClassJob& job, GradeRecord* record, std::string* error) {
    kv390::tools::TempDir work;
    if (!work.create("kv390-grade-", error) || !make_folder(work.path(), error)) return false;
    record->exercise = job.exercise;
    record->sandboxed = job.run.sandbox;
    record->submissions.clear();

    // The reference: its pictures are the expected ones, and it must pass
    // its own log checks, or the exercise is wrong.
    SubmissionResult reference;
    if (!grade_one(job, job.exercise.reference, "reference", fs::path(work.path()) / "reference", 0,
                   &reference, error))
        return false;
    if (!reference.built) {
        std::string first = reference.build_log.substr(0, reference.build_log.find('\n'));
        *error = "the reference " + job.exercise.reference + " does not build: " + first;
        return false;
    }
    for (const TestResult& t : reference.tests) {
        if (!t.passed) {
            *error = "the reference fails test \"" + t.name + "\": " + t.output;
            if (!t.details.empty() && t.details.back() != t.output)
                *error += " (" + t.details.back() + ")";
            return false;
        }
    }

    std::vector<SubmissionResult> results(job.submissions.size());
    std::atomic<std::size_t> next{0};
    std::mutex lock;
    std::string first_error;
    auto worker = [&](unsigned slot) {
        for (;;) {
            const std::size_t i = next++;
            if (i >= job.submissions.size()) return;
            {
                std::lock_guard<std::mutex> guard(lock);
                if (!first_error.empty()) return;
            }
            std::string e;
            const std::string name = submission_name(job.submissions[i]);
            std::string folder_name = "s";
            folder_name.append(std::to_string(i));
            const fs::path folder = fs::path(work.path()) / folder_name;
            if (!grade_one(job, job.submissions[i], name, folder, slot, &results[i], &e)) {
                std::lock_guard<std::mutex> guard(lock);
                if (first_error.empty()) first_error = name + ": " + e;
                return;
            }
            std::lock_guard<std::mutex> guard(lock);
            std::fprintf(stderr, "kv390-grade: %s: %llu / %llu\n", name.c_str(),
                         (unsigned long long)results[i].score,
                         (unsigned long long)results[i].max_score);
        }
    };
    std::vector<std::thread> threads;
    for (unsigned slot = 1; slot <= job.jobs; ++slot) threads.emplace_back(worker, slot);
    for (std::thread& t : threads) t.join();
    if (!first_error.empty()) {
        *error = first_error;
        return false;
    }
    record->submissions = std::move(results);
    return true;
}

}  // namespace grade
