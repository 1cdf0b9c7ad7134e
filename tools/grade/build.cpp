// Builds run the system's compiler inside the sandbox, in a private copy of
// the sources, with a wall-clock limit; their messages are kept for the
// report.
#include "build.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "process.h"
#include "text_file.h"

namespace grade {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t LOG_LIMIT = 8000;

bool is_source(const fs::path& path) {
    const std::string ext = path.extension().string();
    return ext == ".c" || ext == ".cpp" || ext == ".cc" || ext == ".cxx";
}

std::string read_text(const std::string& path, std::size_t limit) {
    std::string text = kv390::tools::read_file_or_empty(path);
    if (text.size() > limit) text = text.substr(0, limit) + "\n[... cut]\n";
    return text;
}

// Runs a child to its end or its time limit; false when it had to be killed.
bool run_to_end(const kv390::tools::SpawnRequest& request, const std::string& output, long long id,
                std::uint64_t timeout_s, kv390::tools::ExitStatus* status, std::string* error,
                bool* started) {
    kv390::tools::Process child;
    child.send_output_to(output);
    child.run_as(id);
    *started = child.start(request, error);
    if (!*started) return true;
    if (child.wait_for(timeout_s * 1000, status)) return true;
    child.kill();
    child.wait_for(UINT64_MAX, status);
    return false;
}

std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> result;
    for (std::string word; in >> word;) result.push_back(word);
    return result;
}

}  // namespace

bool kv390_flags(const std::string& prefix, std::vector<std::string>* flags, std::string* error) {
    kv390::tools::TempDir scratch;
    if (!scratch.create("kv390-grade-", error)) return false;
    std::string search;
    for (const char* libdir : {"lib", "lib64", "lib/x86_64-linux-gnu", "lib/aarch64-linux-gnu"}) {
        if (!search.empty()) search.push_back(':');
        search.append((fs::path(prefix) / libdir / "pkgconfig").string());
    }
    for (const char* package : {"kv390-sdl", "kv390-headless"}) {
        kv390::tools::SpawnRequest request;
        request.program = "/usr/bin/pkg-config";
        request.args = {"--cflags", "--libs", package};
        request.env = {{"PKG_CONFIG_PATH", search}};
        kv390::tools::ExitStatus status;
        bool started = false;
        if (run_to_end(request, scratch.file("flags"), -1, 60, &status, error, &started) &&
            started && !status.signalled && status.code == 0) {
            *flags = words(read_text(scratch.file("flags"), 100000));
            return true;
        }
        if (!started) return false;
    }
    *error = "KV390 is not installed in " + prefix + " (no kv390-sdl or kv390-headless for " +
             "pkg-config there; give --kv390 PREFIX)";
    return false;
}

bool build_submission(const BuildSetup& setup, const std::string& source, const std::string& work,
                      unsigned slot, Built* built, std::string* error) {
    std::error_code ec;
    const fs::path src = fs::path(work) / "src";
    fs::create_directories(src, ec);
    if (ec) {
        *error = "cannot make " + src.string() + ": " + ec.message();
        return false;
    }
    std::vector<std::string> sources;
    if (fs::is_directory(source)) {
        for (const auto& entry : fs::directory_iterator(source, ec)) {
            if (!entry.is_regular_file() || !is_source(entry.path())) continue;
            fs::copy_file(entry.path(), src / entry.path().filename(), ec);
            sources.push_back(entry.path().filename().string());
        }
        // Headers beside the sources are copied too.
        for (const auto& entry : fs::directory_iterator(source, ec)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".h" || ext == ".hpp"))
                fs::copy_file(entry.path(), src / entry.path().filename(), ec);
        }
        if (sources.empty()) {
            built->log = "no .c or .cpp files in " + source;
            return true;
        }
    } else if (is_source(source)) {
        fs::copy_file(source, src / fs::path(source).filename(), ec);
        sources.push_back(fs::path(source).filename().string());
    } else {
        // A program: copied, so that it runs from a folder of its own.
        const fs::path program = src / "program";
        fs::copy_file(source, program, ec);
        fs::permissions(program,
                        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec,
                        ec);
        if (ec) {
            *error = "cannot copy " + source + ": " + ec.message();
            return false;
        }
        built->ok = true;
        built->program = program.string();
        return true;
    }
    std::sort(sources.begin(), sources.end());
    kv390::tools::SpawnRequest request;
    request.program = "/usr/bin/cc";
    request.args = {"-O1", "-o", "program"};
    request.args.insert(request.args.end(), sources.begin(), sources.end());
    request.args.insert(request.args.end(), setup.flags.begin(), setup.flags.end());
    request.cwd = src.string();
    const std::string build_log = (fs::path(work) / "build.log").string();
    kv390::tools::Sandbox sandbox;
    if (setup.sandbox) {
        sandbox.id = kv390::tools::sandbox_id(slot);
        sandbox.limits = setup.limits;
        // Compilers need more room than the programs they make.
        sandbox.limits.memory_mb = std::max<std::uint64_t>(setup.limits.memory_mb, 2048);
        sandbox.writable = {src.string()};
        if (fs::exists(setup.prefix)) sandbox.readable = {setup.prefix};
        if (!kv390::tools::sandbox_own(sandbox, src.string(), error) ||
            !kv390::tools::sandbox_wrap(sandbox, &request, error))
            return false;
    }
    kv390::tools::ExitStatus status;
    bool started = false;
    const bool ended = run_to_end(request, build_log, setup.sandbox ? sandbox.id : -1,
                                  setup.timeout_s, &status, error, &started);
    if (setup.sandbox) kv390::tools::sandbox_end(sandbox);
    if (!started) return false;
    built->log = read_text(build_log, LOG_LIMIT);
    if (!ended) {
        built->log += "the build took longer than " + std::to_string(setup.timeout_s) + " s\n";
        return true;
    }
    built->program = (src / "program").string();
    built->ok = !status.signalled && status.code == 0 && fs::is_regular_file(built->program);
    if (!built->ok && built->log.empty())
        built->log = "the compiler ended with status " + std::to_string(status.code) + "\n";
    return true;
}

}  // namespace grade
