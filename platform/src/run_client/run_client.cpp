// The program's side of a run.  Outputs are written where the request says
// (the runner's private directory); the runner moves them to their final
// names once it has seen "finished".
#include "run_client/run_client.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "core/backend.h"
#include "kv390/harness.h"
#include "kv390/run_protocol.h"
#include "run_client/run_request.h"

namespace kv390::run_client {

namespace {

constexpr int EXIT_STOPPED = 3;     // the time limit stopped the program
constexpr int EXIT_RUN_FAILED = 2;  // the request or an output failed
constexpr auto PROGRESS_EVERY = std::chrono::seconds(1);

struct File {
    std::FILE* stream = nullptr;
    ~File() {
        if (stream != nullptr) std::fclose(stream);
    }
};

struct Client {
    Request request;
    bool in_process = false;  // started by start(): errors are returned, not fatal
    std::string error;        // the first failure while the program ran (in process)
    File report, frames, log;
    win::Image previous_frame;
    int frame_count = 0;
    bool taking_frames = false;
    win::HWND picture_window = nullptr;
    win::Image last_picture;
    std::chrono::steady_clock::time_point last_progress = std::chrono::steady_clock::now();
};

std::unique_ptr<Client>& client() {
    static std::unique_ptr<Client> instance;
    return instance;
}

// In a run from the environment a failure ends the process; in a run
// started in process it is kept for finish().
void fail(const std::string& message) {
    Client* in = client().get();
    if (in != nullptr && in->in_process) {
        if (in->error.empty()) in->error = message;
        return;
    }
    std::fprintf(stderr, "kv390: %s\n", message.c_str());
    std::fflush(stderr);
    Client* c = client().get();
    if (c != nullptr && c->report.stream != nullptr) {
        std::fprintf(c->report.stream, "error %s\n", message.c_str());
        std::fflush(c->report.stream);
    }
    std::_Exit(EXIT_RUN_FAILED);
}

void report(const std::string& line) {
    Client& c = *client();
    if (c.report.stream == nullptr) return;
    std::fprintf(c.report.stream, "%s\n", line.c_str());
    std::fflush(c.report.stream);
}

bool open_output(const std::string& path, File* file, std::string* error) {
    if (path.empty()) return true;
    file->stream = std::fopen(path.c_str(), "wb");
    if (file->stream == nullptr) *error = "cannot write " + path;
    return file->stream != nullptr;
}

void write_all(File& file, const char* data, std::size_t size, const std::string& path) {
    if (file.stream != nullptr && std::fwrite(data, 1, size, file.stream) != size) {
        std::fclose(file.stream);
        file.stream = nullptr;
        fail("cannot write " + path);
    }
}

void take_frame(Client& c, win::HWND hwnd) {
    if (c.picture_window == nullptr) c.picture_window = hwnd;
    ++c.frame_count;
    if (c.frames.stream == nullptr) return;
    win::Image image = win::window_image(hwnd);
    const std::string record = run_protocol::encode_frame(c.previous_frame, image);
    write_all(c.frames, record.data(), record.size(), c.request.frames_path);
    c.previous_frame = std::move(image);
}

void close_output(File& file, const std::string& path) {
    if (file.stream == nullptr) return;
    const bool ok = std::fclose(file.stream) == 0;
    file.stream = nullptr;
    if (!ok) fail("cannot write " + path);
}

// The last picture (with what the program drew but did not show yet), then
// every output closed, then "finished".
void write_outputs(Client& c) {
    c.taking_frames = false;
    // The window's own record: at exit the fonts a composed picture may
    // need (its menu bar) can already be gone.
    if (c.last_picture.pixels.empty() && win::is_window(c.picture_window)) {
        win::show_unshown_drawing();
        c.last_picture = win::backend::record_image(c.picture_window);
    }
    if (!c.request.picture_path.empty() && c.error.empty()) {
        std::string error;
        if (c.last_picture.pixels.empty()) {
            report("no-picture");
            fail("the program showed no picture");
        } else if (!harness::save_png(c.last_picture, c.request.picture_path, &error)) {
            fail(error);
        }
    }
    close_output(c.frames, c.request.frames_path);
    close_output(c.log, c.request.log_path);
    if (c.error.empty()) report("finished " + std::to_string(c.frame_count));
}

void finish_at_exit() {
    write_outputs(*client());
}

bool begin(std::unique_ptr<Client> c, std::string* error) {
    if (!harness::load_timed_input(c->request.input, error)) {
        *error = "run request input " + *error;
        return false;
    }
    if (!open_output(c->request.report_path, &c->report, error) ||
        !open_output(c->request.frames_path, &c->frames, error) ||
        !open_output(c->request.log_path, &c->log, error))
        return false;
    harness::set_idle_limit(c->request.idle_limit_ms);
    client() = std::move(c);
    report("started");
    client()->taking_frames = true;
    return true;
}

bool read_file(const char* path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    *text = content.str();
    return !in.bad();
}

}  // namespace

void start_from_environment() {
    const char* path = std::getenv(run_protocol::REQUEST_VARIABLE);
    if (path == nullptr) path = std::getenv(run_protocol::OLD_REQUEST_VARIABLE);
    if (path == nullptr || *path == '\0' || active()) return;
    std::string text, error;
    auto c = std::make_unique<Client>();
    if (!read_file(path, &text)) {
        error = std::string("cannot read the run request ") + path;
    } else if (parse_request(text, &c->request, &error)) {
        begin(std::move(c), &error);
    }
    if (!active()) fail(error);
    // The layer's records must outlive the exit handler that reads them.
    win::backend::keep_records_for_exit();
    std::atexit(finish_at_exit);
}

bool start(const Request& request, std::string* error) {
    if (active()) {
        *error = "a run is already going on";
        return false;
    }
    auto c = std::make_unique<Client>();
    c->request = request;
    c->in_process = true;
    return begin(std::move(c), error);
}

bool finish(int* frame_count, std::string* error) {
    if (!active()) {
        *error = "no run is going on";
        return false;
    }
    write_outputs(*client());
    std::unique_ptr<Client> c = std::move(client());
    if (frame_count != nullptr) *frame_count = c->frame_count;
    *error = c->error;
    return c->error.empty();
}

bool active() {
    return client() != nullptr;
}

void window_event(win::HWND hwnd, win::backend::WindowEvent event) {
    Client* c = client().get();
    if (c == nullptr || hwnd == nullptr) return;
    using Event = win::backend::WindowEvent;
    if (event == Event::Frame && c->taking_frames) {
        take_frame(*c, hwnd);
    } else if (event == Event::Created && c->picture_window == nullptr &&
               !(win::get_window_style(hwnd) & win::WS_CHILD)) {
        c->picture_window = hwnd;
    } else if (event == Event::Destroyed && hwnd == c->picture_window &&
               c->last_picture.pixels.empty()) {
        c->last_picture = win::backend::record_image(hwnd);
    }
}

void log_line(const char* line, std::size_t length) {
    Client* c = client().get();
    if (c == nullptr || c->log.stream == nullptr) return;
    write_all(c->log, line, length, c->request.log_path);
    if (length == 0 || line[length - 1] != '\n') write_all(c->log, "\n", 1, c->request.log_path);
}

void clock_moved(std::uint64_t now_ms) {
    Client* c = client().get();
    if (c == nullptr) return;
    if (c->request.time_limit_ms != 0 && now_ms >= c->request.time_limit_ms) {
        report("time-limit " + std::to_string(now_ms) + (harness::run_ended() ? " closed" : ""));
        std::_Exit(EXIT_STOPPED);
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - c->last_progress < PROGRESS_EVERY) return;
    c->last_progress = now;
    report("progress " + std::to_string(now_ms) + " " + std::to_string(c->frame_count));
}

}  // namespace kv390::run_client
