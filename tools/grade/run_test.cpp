// The verdict of a test is its first failed check, in the order a student
// fixes them: the run itself, the picture, then the log.
#include "run_test.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "kv390/harness.h"
#include "process.h"
#include "text_file.h"

namespace grade {

namespace {

namespace fs = std::filesystem;

// kv390-run's exit statuses (docs/TEACHING.md).
enum { DONE = 0, TIMEOUT = 3, CRASH = 4, PROGRAM_FAILED = 5, NOT_KV390 = 7 };

// The runner's own time limit ends the run; this one only guards against
// a runner that hangs.
constexpr std::uint64_t RUNNER_GRACE_S = 120;

bool write_text(const std::string& path, const std::string& text, std::string* error) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    out.close();
    if (!out) *error = "cannot write " + path;
    return bool(out);
}

std::string first_line(std::string text) {
    // The runner's message is its last line ("kv390-run: ..."), after any warnings.
    while (!text.empty() && text.back() == '\n') text.pop_back();
    if (text.rfind('\n') != std::string::npos) text = text.substr(text.rfind('\n') + 1);
    const std::string prefix = "kv390-run: ";
    if (text.rfind(prefix, 0) == 0) text = text.substr(prefix.size());
    return text;
}

// The stable one-line reason for a run that did not finish well.
std::string run_reason(int code, const std::string& message, const TestSpec& test) {
    if (code == TIMEOUT) return "timeout after " + std::to_string(test.timeout_s) + " s";
    if (code == CRASH) {
        const std::size_t at = message.find("crashed: ");
        std::string signal = at == std::string::npos ? "" : message.substr(at + 9);
        signal = signal.substr(0, signal.find(' '));
        if (signal == "SIGXFSZ") return "file size limit (crashed: SIGXFSZ)";
        if (signal == "SIGXCPU") return "CPU time limit (crashed: SIGXCPU)";
        return "crashed: " + (signal.empty() ? std::string("unknown signal") : signal);
    }
    if (code == PROGRAM_FAILED) {
        const std::size_t at = message.rfind("status ");
        return "exit status " +
               (at == std::string::npos ? std::string("?") : message.substr(at + 7));
    }
    if (code == NOT_KV390) return "never showed a picture";
    return "run failed: " + message;
}

std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool starts_with(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

// The picture check: "" when it holds.
bool compare_pictures(const std::string& expected, const std::string& got,
                      const std::string& diff_path, std::uint64_t tolerance, std::string* verdict,
                      bool* wrote_diff, std::string* error) {
    win::Image a, b;
    if (!kv390::harness::load_png(expected, &a, error)) return false;
    if (!kv390::harness::load_png(got, &b, error)) {
        *verdict = "picture unreadable: " + *error;
        return true;
    }
    if (a.width != b.width || a.height != b.height) {
        *verdict = "picture differs in size (" + std::to_string(b.width) + " x " +
                   std::to_string(b.height) + ")";
        return true;
    }
    std::uint64_t differing = 0;
    win::Image diff = a;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) {
        const std::uint32_t p = a.pixels[i];
        const std::uint32_t grey =
            128 + (((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11) / 200;
        const bool differs = a.pixels[i] != b.pixels[i];
        differing += differs ? 1 : 0;
        diff.pixels[i] = differs ? 0xFF0000u : (grey << 16 | grey << 8 | grey);
    }
    if (differing > tolerance)
        *verdict = "picture differs in " + std::to_string(differing) + " pixels (tolerance " +
                   std::to_string(tolerance) + ")";
    *wrote_diff = kv390::harness::save_png(diff, diff_path, error);
    return true;
}

}  // namespace

bool run_test(const RunSetup& setup, const TestSpec& test, const std::string& program,
              const std::string& out_dir, const std::string& expected, const std::string& work,
              TestResult* result, std::string* error) {
    TestResult r;
    r.name = test.name;
    r.file_name = test.file_name;
    r.max_points = test.points;
    const std::string picture = (fs::path(out_dir) / (test.file_name + ".png")).string();
    const std::string diff = (fs::path(out_dir) / (test.file_name + "-diff.png")).string();
    const std::string log = (fs::path(out_dir) / (test.file_name + ".log")).string();
    const std::string input = (fs::path(work) / (test.file_name + ".input")).string();
    const std::string messages = (fs::path(work) / (test.file_name + ".runner")).string();

    kv390::tools::SpawnRequest request;
    request.program = setup.runner;
    request.args = {"--timeout", std::to_string(test.timeout_s), "--out", picture, "--log", log};
    if (!test.script.empty()) request.args.insert(request.args.end(), {"--script", test.script});
    if (!test.input.empty()) {
        if (!write_text(input, test.input + "\n", error)) return false;
        request.args.insert(request.args.end(), {"--input", input});
    }
    if (setup.sandbox) {
        const kv390::tools::SandboxLimits& l = setup.limits;
        request.args.insert(
            request.args.end(),
            {"--sandbox", "--memory-mb", std::to_string(l.memory_mb), "--cpu-seconds",
             std::to_string(l.cpu_s), "--processes", std::to_string(l.processes), "--file-mb",
             std::to_string(l.file_mb), "--open-files", std::to_string(l.open_files)});
    }
    request.args.insert(request.args.end(), {"--program", program});
    kv390::tools::Process runner;
    runner.send_output_to(messages);
    if (!runner.start(request, error)) return false;
    kv390::tools::ExitStatus status;
    if (!runner.wait_for((test.timeout_s + RUNNER_GRACE_S) * 1000, &status)) {
        runner.kill();
        runner.wait_for(UINT64_MAX, &status);
        *error =
            "kv390-run did not end after " + std::to_string(test.timeout_s + RUNNER_GRACE_S) + " s";
        return false;
    }
    const std::string message = first_line(kv390::tools::read_file_or_empty(messages));
    if (status.signalled) {
        *error = "kv390-run crashed: " + status.signal_name;
        return false;
    }
    if (status.code != DONE) {
        if (status.code == 2 && message.find("sandbox") != std::string::npos) {
            *error = message;  // the sandbox, not the program, failed
            return false;
        }
        r.output = run_reason(status.code, message, test);
        r.details.push_back(message);
        *result = r;
        return true;
    }
    r.has_picture = fs::exists(picture);
    std::vector<std::string> failures;
    if (test.picture && !expected.empty()) {
        std::string verdict;
        if (!compare_pictures(expected, picture, diff, test.tolerance, &verdict, &r.has_diff,
                              error))
            return false;
        if (!verdict.empty()) failures.push_back(verdict);
    }
    const std::vector<std::string> log_lines = lines_of(kv390::tools::read_file_or_empty(log));
    for (const std::string& banned : test.log_lacks) {
        for (const std::string& line : log_lines) {
            if (starts_with(line, banned)) {
                failures.push_back("log has: " + line);
                break;
            }
        }
    }
    for (const std::string& wanted : test.log_has) {
        bool found = false;
        for (const std::string& line : log_lines) found = found || starts_with(line, wanted);
        if (!found) failures.push_back("log lacks: " + wanted);
    }
    r.passed = failures.empty();
    r.points = r.passed ? test.points : 0;
    r.output = r.passed ? "passed" : failures.front();
    r.details = failures;
    *result = r;
    return true;
}

}  // namespace grade
