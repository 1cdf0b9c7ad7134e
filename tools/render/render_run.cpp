// Running a render.  The script becomes KV390.SCR in a temporary working
// directory and the Run menu's Playback Script is chosen at time 0, so the
// program's first wait starts the playback exactly as a user would.  The
// playback ends with the script; the harness then closes the graphics window.
#include "render_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "kv390/render.h"
#include "outputs.h"
#include "random.h"
#include "state.h"
#include "weather.h"

namespace render_tool {

namespace {

constexpr const char* REQUEST_FILE_NAME = "render.request";

Outcome failure(ExitStatus status, const std::string& error) {
    Outcome outcome;
    outcome.status = status;
    outcome.error = error;
    return outcome;
}

std::vector<std::uint32_t> library_palette() {
    std::vector<std::uint32_t> colors;
    for (win::COLORREF c : kv390::palette_rgb) colors.push_back(win::pixel_of(c));
    return colors;
}

kv390::render::Request make_request(const Options& options) {
    kv390::render::Request request;
    request.input = "at 0 menu " + std::to_string(kv390::IDM_PLAYBACK) + "\n";
    request.idle_limit_ms = 1;
    if (!options.picture.empty()) request.picture_path = absolute_path(options.picture);
    if (!options.gif.empty()) request.gif_path = absolute_path(options.gif);
    if (!options.frame_dir.empty()) request.frame_dir = absolute_path(options.frame_dir);
    request.frames = options.frames;
    request.palette = library_palette();
    return request;
}

// Every output is checked before the run, so that a bad path costs no time.
bool check_outputs(const Options& options, std::string* error) {
    if (!options.picture.empty() && !check_writable_file(options.picture, error)) return false;
    if (!options.gif.empty() && !check_writable_file(options.gif, error)) return false;
    if (!options.frame_dir.empty() && !prepare_directory(options.frame_dir, error)) return false;
    return true;
}

Outcome render_in_this_process(const kv390::render::Request& request, std::uint32_t seed,
                               const TempDir& work) {
    unsetenv(kv390::render::REQUEST_VARIABLE);
    std::error_code ec;
    const std::filesystem::path previous = std::filesystem::current_path(ec);
    if (chdir(work.path().c_str()) != 0) {
        return failure(EXIT_FAILED, "cannot enter " + work.path() + ": " + std::strerror(errno));
    }
    std::string error;
    if (!kv390::render::start(request, &error)) return failure(EXIT_BAD_INPUT, error);
    random_fix_seed(seed);
    weather_main(nullptr, nullptr, "", 5 /* SW_SHOW */);
    kv390::render::Result result;
    const bool written = kv390::render::finish(&result, &error);
    if (!previous.empty()) std::filesystem::current_path(previous, ec);
    Outcome outcome = written ? Outcome{} : failure(EXIT_BAD_INPUT, error);
    outcome.warnings = result.warnings;
    return outcome;
}

[[noreturn]] void run_child(const std::string& program, const TempDir& work,
                            const std::string& request_path, std::uint32_t seed) {
    if (chdir(work.path().c_str()) != 0) {
        std::fprintf(stderr, "kv390-render: cannot enter %s: %s\n", work.path().c_str(),
                     std::strerror(errno));
        _exit(EXIT_FAILED);
    }
    setenv(kv390::render::REQUEST_VARIABLE, request_path.c_str(), 1);
    setenv("KV390_SEED", std::to_string(seed).c_str(), 1);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    execv(program.c_str(), argv);
    std::fprintf(stderr, "kv390-render: cannot run %s: %s\n", program.c_str(),
                 std::strerror(errno));
    _exit(EXIT_FAILED);
}

// The program does the render itself: its headless backend reads the
// request named by KV390_RENDER and writes the outputs when it exits.
Outcome render_in_program(const kv390::render::Request& request, const Options& options,
                          const TempDir& work) {
    const std::string program = absolute_path(options.program);
    if (access(program.c_str(), X_OK) != 0) {
        return failure(EXIT_BAD_INPUT,
                       "cannot run " + options.program + ": " + std::strerror(errno));
    }
    std::string error;
    if (!work.write(REQUEST_FILE_NAME, kv390::render::format_request(request), &error)) {
        return failure(EXIT_FAILED, error);
    }
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0)
        return failure(EXIT_FAILED, std::string("cannot start a process: ") + std::strerror(errno));
    if (child == 0) run_child(program, work, work.path() + "/" + REQUEST_FILE_NAME, options.seed);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return failure(EXIT_FAILED, "lost the program's process");
    }
    if (WIFSIGNALED(status)) {
        return failure(EXIT_FAILED,
                       options.program + " died of signal " + std::to_string(WTERMSIG(status)));
    }
    const int code = WEXITSTATUS(status);
    if (code == EXIT_BAD_INPUT) return failure(EXIT_BAD_INPUT, "");  // the program said why
    if (code != 0)
        return failure(EXIT_FAILED,
                       options.program + " exited with status " + std::to_string(code));
    return Outcome{};
}

}  // namespace

Outcome render_script(const Options& options) {
    std::string script, error;
    if (!read_script(options.script, &script, &error)) return failure(EXIT_BAD_INPUT, error);
    if (!check_outputs(options, &error)) return failure(EXIT_BAD_INPUT, error);
    TempDir work;
    if (!work.create(&error) || !work.write(kv390::SCRIPT_FILE_NAME, script, &error)) {
        return failure(EXIT_FAILED, error);
    }
    const kv390::render::Request request = make_request(options);
    if (options.program.empty()) return render_in_this_process(request, options.seed, work);
    return render_in_program(request, options, work);
}

}  // namespace render_tool
