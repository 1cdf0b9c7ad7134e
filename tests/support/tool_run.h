// Helpers for tests that run the command-line tools through the shell: quoting,
// reading a whole file, and one command's exit status with its output.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kv390::test {

struct ToolRun {
    int status = -1;
    std::string output;  // stdout and stderr
};

// The word in single quotes, safe for /bin/sh whatever it holds.
inline std::string quoted(const std::string& word) {
    std::string q = "'";
    for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Runs command through the shell, its stdout and stderr going to log.
inline ToolRun run_command(const std::string& command, const std::filesystem::path& log) {
    ToolRun run;
    std::string line = command;
    line.append(" > ").append(quoted(log.string())).append(" 2>&1");
    const int raw = std::system(line.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.output = read_file(log);
    return run;
}

}  // namespace kv390::test
