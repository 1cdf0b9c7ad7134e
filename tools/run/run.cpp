// A run.  The program runs in a private temporary directory (holding the
// script as KV390.SCR), on the headless backend (KV390_BACKEND), with a
// request (KV390_RUN) that names its outputs inside that directory.  While it
// runs, its report gives progress and its frame stream becomes the GIF and
// the chosen frames; at its end the report and its exit status say how the
// run went.  The directory goes with everything in it, whatever happened.
#include "run.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "files.h"
#include "kv390/constants.h"
#include "kv390/harness.h"
#include "kv390/render.h"
#include "kv390/run_protocol.h"
#include "process.h"
#include "sandbox.h"
#include "script_check.h"
#include "text_file.h"

namespace run_tool {

namespace {

namespace protocol = kv390::run_protocol;
using Clock = std::chrono::steady_clock;

constexpr auto POLL_EVERY = std::chrono::milliseconds(50);
// Frames converted between two looks at the clock and the interrupt flag.
constexpr std::size_t FRAME_BYTES_PER_LOOK = 256 << 10;
constexpr auto PROGRESS_AFTER = std::chrono::seconds(2);
constexpr std::uint64_t IDLE_LIMIT_MS = 1000;

Outcome failure(ExitCode code, const std::string& message) {
    Outcome outcome;
    outcome.code = code;
    outcome.message = message;
    return outcome;
}

// The program's report, line by line as it arrives.
struct Report {
    bool started = false, finished = false, time_limit = false, no_picture = false;
    bool closed_at_limit = false;  // the run had ended (window closed) at the time limit
    std::string error;
    std::uint64_t program_ms = 0;
    int frames = 0;
    std::string partial_line;

    void take(const std::string& text) {
        partial_line += text;
        std::size_t end;
        while ((end = partial_line.find('\n')) != std::string::npos) {
            take_line(partial_line.substr(0, end));
            partial_line.erase(0, end + 1);
        }
    }
    void take_line(const std::string& line) {
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "started") started = true;
        if (key == "progress") words >> program_ms >> frames;
        if (key == "time-limit") {
            time_limit = true;
            std::string closed;
            words >> program_ms >> closed;
            closed_at_limit = closed == "closed";
        }
        if (key == "no-picture") no_picture = true;
        if (key == "error" && error.empty()) error = line.substr(6);
        if (key == "finished") {
            finished = true;
            words >> frames;
        }
    }
};

struct Inputs {
    std::string script;  // empty: none
    std::string timed_input;
};

std::vector<std::uint32_t> library_palette() {
    const unsigned colors[KV390_COLOR_COUNT] = KV390_PALETTE_RGB;
    return std::vector<std::uint32_t>(std::begin(colors), std::end(colors));
}

bool read_inputs(const Options& o, Inputs* in, Outcome* bad) {
    std::string error;
    if (!o.script.empty()) {
        if (!kv390::tools::read_file(o.script, "script", &in->script, &error)) {
            *bad = failure(EXIT_BAD_INPUT, error);
            return false;
        }
        if (!check_script(in->script, &error)) {
            *bad = failure(EXIT_BAD_SCRIPT, o.script + ": " + error);
            return false;
        }
        // The program's first wait starts the playback, as a user would.
        in->timed_input = "at 0 menu " + std::to_string(KV390_IDM_PLAYBACK) + "\n";
    }
    if (!o.input.empty()) {
        std::string list;
        if (!kv390::tools::read_file(o.input, "input", &list, &error)) {
            *bad = failure(EXIT_BAD_INPUT, error);
            return false;
        }
        // Checked here, with the harness's own reader, so that a bad line
        // costs no run.
        const bool good = kv390::harness::load_timed_input(list, &error);
        kv390::harness::reset();
        if (!good) {
            *bad = failure(EXIT_BAD_INPUT, o.input + ": " + error);
            return false;
        }
        in->timed_input += list + "\n";
    }
    return true;
}

// Every output is checked before the run, so that a bad path costs no time.
bool check_outputs(const Options& o, std::string* error) {
    for (const std::string* path : {&o.picture, &o.gif, &o.log}) {
        if (!path->empty() && !check_writable_file(*path, error)) return false;
    }
    return o.frame_dir.empty() || prepare_directory(o.frame_dir, error);
}

bool resolve_program(const Options& o, kv390::tools::SpawnRequest* spawn, std::string* error) {
    namespace fs = std::filesystem;
    if (o.program.empty()) {
        spawn->program = kv390::tools::this_executable();
        spawn->args = {WEATHER_PICTURE_ARGUMENT};
        if (spawn->program.empty()) *error = "cannot find this program's own file";
        return !spawn->program.empty();
    }
    std::error_code ec;
    const fs::file_status status = fs::status(o.program, ec);
    if (!fs::exists(status)) {
        *error = "cannot run " + o.program + ": there is no such file";
    } else if (fs::is_directory(status)) {
        *error = "cannot run " + o.program + ": it is a directory";
    } else {
        spawn->program = absolute_path(o.program);
        spawn->args = o.args;
        return true;
    }
    return false;
}

std::string request_text(const Options& o, const Inputs& in, const kv390::tools::TempDir& work) {
    std::ostringstream r;
    std::istringstream lines(in.timed_input);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty()) r << "input " << line << "\n";
    }
    r << "idle-limit " << IDLE_LIMIT_MS << "\n";
    r << "time-limit " << o.timeout_s * 1000 << "\n";
    r << "report " << work.file("report") << "\n";
    if (!o.picture.empty() || !o.gif.empty()) r << "picture " << work.file("picture.png") << "\n";
    if (!o.gif.empty() || !o.frames.empty()) r << "frames " << work.file("frames") << "\n";
    if (!o.log.empty()) r << "log " << work.file("log.txt") << "\n";
    return r.str();
}

bool write_work_file(const kv390::tools::TempDir& work, const std::string& name,
                     const std::string& content, std::string* error) {
    std::FILE* f = std::fopen(work.file(name).c_str(), "wb");
    bool ok = f != nullptr && std::fwrite(content.data(), 1, content.size(), f) == content.size();
    if (f != nullptr) ok = std::fclose(f) == 0 && ok;
    if (!ok) *error = "cannot write " + work.file(name);
    return ok;
}

// The child while it runs, and what it left behind.
class Watch {
  public:
    Watch(const Options& o, const kv390::tools::TempDir& work, const std::string& tool_name)
        : options_(o),
          work_(work),
          tool_name_(tool_name),
          report_file_(work.file("report")),
          frames_file_(work.file("frames")) {}

    bool open_frames(std::string* error) {
        if (options_.gif.empty() && options_.frames.empty()) return true;
        kv390::render::FrameOutputs outputs;
        if (!options_.gif.empty()) outputs.gif_path = work_.file("out.gif");
        if (!options_.frames.empty()) {
            std::filesystem::create_directory(work_.file("chosen"));
            outputs.frame_dir = work_.file("chosen");
            outputs.frames = options_.frames;
        }
        outputs.palette = library_palette();
        outputs.gif_limit_bytes = options_.gif_limit_mb * 1024 * 1024;
        converting_ = true;
        return converter_.open(outputs, error);
    }

    // One look at the child: report, some frames, progress.  False with the
    // reason when the frames cannot be converted.  *drained tells whether
    // every frame written so far is converted.
    bool look(std::string* error, bool* drained) {
        report_.take(report_file_.read_new());
        *drained = true;
        if (converting_) {
            const std::string bytes = frames_file_.read_new(FRAME_BYTES_PER_LOOK);
            if (!converter_.feed(bytes.data(), bytes.size(), error)) return false;
            *drained = bytes.size() < FRAME_BYTES_PER_LOOK;
        }
        show_progress();
        return true;
    }

    // A GIF of a run without frames shows the last picture.
    bool close_frames(kv390::render::Result* result, std::string* error) {
        if (!converting_) return true;
        win::Image last;
        if (!options_.gif.empty() &&
            !kv390::harness::load_png(work_.file("picture.png"), &last, error))
            return false;
        return converter_.close(&last, result, error);
    }

    const Report& report() const { return report_; }
    Clock::time_point started() const { return started_; }

  private:
    void show_progress() {
        const auto now = Clock::now();
        if (now - started_ < PROGRESS_AFTER || now - last_progress_ < PROGRESS_AFTER) return;
        last_progress_ = now;
        std::fprintf(stderr, "%s: %.1f s of program time, %d frames, %.0f s so far\n",
                     tool_name_.c_str(), double(report_.program_ms) / 1000.0, report_.frames,
                     std::chrono::duration<double>(now - started_).count());
    }

    const Options& options_;
    const kv390::tools::TempDir& work_;
    std::string tool_name_;
    GrowingFile report_file_, frames_file_;
    Report report_;
    bool converting_ = false;
    kv390::render::FrameConverter converter_;
    Clock::time_point started_ = Clock::now(), last_progress_ = Clock::now();
};

}  // namespace

namespace {

std::string program_name(const Options& o) {
    return o.program.empty() ? std::string("the weather picture") : o.program;
}

// Why the run failed, from how the child ended and what it reported; an
// empty message when it succeeded.
Outcome judge(const Options& o, const kv390::tools::ExitStatus& status, const Report& report) {
    const std::string name = program_name(o);
    if (report.time_limit) {
        return failure(EXIT_TIMEOUT,
                       name + " was stopped after " + std::to_string(o.timeout_s) +
                           " s of program time (virtual clock); " +
                           (report.closed_at_limit
                                ? "its window was closed but it did not end (does it ignore "
                                  "KV390_QUIT?)"
                                : "its input lasts longer, or it never waits"));
    }
    if (status.signalled) {
        std::string why;
        if (status.signal_name == "SIGSEGV") why = " (a bad pointer: null, freed or out of bounds)";
        if (status.signal_name == "SIGXFSZ")
            why =
                " (file size limit: a file grew past " + std::to_string(o.limits.file_mb) + " MB)";
        if (status.signal_name == "SIGXCPU")
            why = " (CPU time limit: " + std::to_string(o.limits.cpu_s) + " s)";
        return failure(EXIT_CRASH, name + " crashed: " + status.signal_name + why);
    }
    if (report.no_picture) return failure(EXIT_NOT_KV390, name + " showed no picture");
    if (!report.error.empty()) return failure(EXIT_TOOL_FAILED, report.error);
    if (status.code != 0) {
        return failure(EXIT_PROGRAM_FAILED,
                       name + " exited with status " + std::to_string(status.code));
    }
    if (!report.started) {
        return failure(EXIT_NOT_KV390, name +
                                           " ended without opening KV390 (is it a program "
                                           "built with the KV390 library?)");
    }
    if (!report.finished)
        return failure(EXIT_TOOL_FAILED, name + " ended before its outputs were complete");
    return Outcome{};
}

bool move_outputs(const Options& o, const kv390::tools::TempDir& work, std::string* error) {
    const std::pair<std::string, std::string> moves[] = {
        {o.picture, "picture.png"}, {o.gif, "out.gif"}, {o.log, "log.txt"}};
    for (const auto& [final_name, made] : moves) {
        if (final_name.empty()) continue;
        kv390::tools::sandbox_reclaim(work.file(made));
        if (!move_into_place(work.file(made), final_name, error)) return false;
    }
    if (o.frames.empty()) return true;
    for (const auto& entry : std::filesystem::directory_iterator(work.file("chosen"))) {
        const std::string to =
            (std::filesystem::path(o.frame_dir) / entry.path().filename()).string();
        kv390::tools::sandbox_reclaim(entry.path().string());
        if (!move_into_place(entry.path().string(), to, error)) return false;
    }
    return true;
}

// Starts the child and watches it to its end, its time limit or an interrupt.
Outcome watch_child(const Options& o, kv390::tools::SpawnRequest spawn,
                    const kv390::tools::TempDir& work, const std::string& tool_name) {
    Watch watch(o, work, tool_name);
    std::string error;
    if (!watch.open_frames(&error)) return failure(EXIT_TOOL_FAILED, error);
    kv390::tools::Process child;
    if (o.sandbox) child.run_as(kv390::tools::sandbox_id(0));  // as confine() chose
    if (!child.start(spawn, &error)) return failure(EXIT_BAD_INPUT, error);
    const auto deadline = watch.started() + std::chrono::seconds(o.timeout_s);
    kv390::tools::ExitStatus status;
    bool ended = false, drained = false;
    for (;;) {
        if (!ended)
            ended = child.wait_for(drained ? std::uint64_t(POLL_EVERY.count()) : 0, &status);
        if (!watch.look(&error, &drained))
            return failure(EXIT_TOOL_FAILED, error);  // kills the child
        if (ended && drained) break;
        if (kv390::tools::interrupted())
            return failure(EXIT_INTERRUPTED, "interrupted; no output was written");
        if (Clock::now() >= deadline) {
            return failure(EXIT_TIMEOUT, program_name(o) + " was stopped after " +
                                             std::to_string(o.timeout_s) +
                                             " s of wall-clock time (is it stuck in a loop?)");
        }
    }
    if (o.sandbox) status = kv390::tools::sandbox_status(status);
    Outcome outcome = judge(o, status, watch.report());
    if (outcome.code != EXIT_DONE) return outcome;
    kv390::render::Result result;
    if (!watch.close_frames(&result, &error) || !move_outputs(o, work, &error))
        return failure(EXIT_TOOL_FAILED, error);
    outcome.warnings = result.warnings;
    return outcome;
}

// The program sees the system read-only, its own file and the run's
// directory, which is all it may write.
bool confine(const Options& o, const kv390::tools::TempDir& work, kv390::tools::SpawnRequest* spawn,
             kv390::tools::Sandbox* out, std::string* error) {
    std::string why;
    if (!kv390::tools::sandbox_available(&why)) {
        *error = "cannot sandbox the program: " + why;
        return false;
    }
    kv390::tools::Sandbox& sandbox = *out;
    sandbox.id = kv390::tools::sandbox_id(0);
    sandbox.limits = o.limits;
    sandbox.writable = {work.path()};
    sandbox.readable = {spawn->program};
    return kv390::tools::sandbox_own(sandbox, work.path(), error) &&
           kv390::tools::sandbox_wrap(sandbox, spawn, error);
}

}  // namespace

Outcome run(const Options& options, const std::string& tool_name) {
    Inputs inputs;
    Outcome bad;
    if (!read_inputs(options, &inputs, &bad)) return bad;
    std::string error;
    kv390::tools::SpawnRequest spawn;
    const bool here = options.program.empty() && !kv390::tools::processes_available();
    if ((!here && !resolve_program(options, &spawn, &error)) || !check_outputs(options, &error))
        return failure(EXIT_BAD_INPUT, error);
    kv390::tools::TempDir work;
    if (!work.create("kv390-run-", &error)) return failure(EXIT_TOOL_FAILED, error);
    if ((!inputs.script.empty() &&
         !write_work_file(work, KV390_SCRIPT_FILE_NAME, inputs.script, &error)) ||
        !write_work_file(work, "request", request_text(options, inputs, work), &error))
        return failure(EXIT_TOOL_FAILED, error);
    if (here) {
        Outcome outcome;
        if (!run_weather_here(options, inputs.timed_input, work.path(), &outcome.warnings,
                              &error) ||
            !move_outputs(options, work, &error))
            return failure(EXIT_TOOL_FAILED, error);
        return outcome;
    }
    spawn.cwd = work.path();
    spawn.env = {{protocol::BACKEND_VARIABLE, protocol::HEADLESS_BACKEND},
                 {protocol::REQUEST_VARIABLE, work.file("request")},
                 {protocol::SEED_VARIABLE, std::to_string(options.seed)}};
    kv390::tools::Sandbox sandbox;
    if (options.sandbox && !confine(options, work, &spawn, &sandbox, &error))
        return failure(EXIT_BAD_INPUT, error);
    Outcome outcome = watch_child(options, spawn, work, tool_name);
    if (options.sandbox) kv390::tools::sandbox_end(sandbox);
    return outcome;
}

}  // namespace run_tool
