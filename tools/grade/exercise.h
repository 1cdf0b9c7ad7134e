// An exercise file (TOML), as a teacher writes it once: the reference
// program and the tests every submission must pass.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace grade {

struct TestSpec {
    std::string name;
    std::uint64_t points = 1;
    std::string input;   // timed input lines (empty: none)
    std::string script;  // absolute path of a KV390.SCR script (empty: none)
    std::uint64_t timeout_s = 10;
    std::uint64_t tolerance = 0;  // differing pixels allowed
    bool picture = true;          // false: only the log and the exit are checked
    std::vector<std::string> log_has, log_lacks;
    std::string file_name;  // a file-name-safe form of name, unique in the exercise
};

struct Exercise {
    std::string path;  // the file it was read from
    std::string title;
    std::string reference;  // absolute path: a folder of sources, a source file or a program
    std::vector<TestSpec> tests;
    std::uint64_t max_score() const;
};

// False with one line ("ex.toml:7: points: needs a whole number") for a
// file that cannot be read or is not a good exercise.  Paths in the file
// are relative to it.
bool read_exercise(const std::string& path, Exercise* exercise, std::string* error);

}  // namespace grade
