// Render requests: the text form that travels in a file, and the session that
// takes the frames and the last picture of a run and writes them out.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/backend.h"
#include "headless/gif_writer.h"
#include "headless/render_session.h"
#include "kv390/harness.h"
#include "kv390/render.h"

namespace kv390::render {

namespace {

bool parse_unsigned(const std::string& text, unsigned long long max, unsigned long long* value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
    if (errno != 0 || v > max) return false;
    *value = v;
    return true;
}

bool parse_frames(const std::string& value, std::vector<int>* frames) {
    std::istringstream words(value);
    std::string word;
    while (words >> word) {
        unsigned long long n = 0;
        if (!parse_unsigned(word, 0x7FFFFFFF, &n) || n == 0) return false;
        frames->push_back(int(n));
    }
    return true;
}

bool parse_palette(const std::string& value, std::vector<std::uint32_t>* palette) {
    std::istringstream words(value);
    std::string word;
    while (words >> word) {
        if (word.size() != 6 ||
            word.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return false;
        palette->push_back(std::uint32_t(std::strtoul(word.c_str(), nullptr, 16)));
    }
    return !palette->empty() && palette->size() <= 256;
}

bool apply_setting(const std::string& key, const std::string& value, Request* r) {
    unsigned long long n = 0;
    if (key == "input") {
        r->input += value + "\n";
    } else if (key == "idle-limit") {
        if (!parse_unsigned(value, 1ull << 40, &n)) return false;
        r->idle_limit_ms = n;
    } else if (key == "picture") {
        r->picture_path = value;
    } else if (key == "gif") {
        r->gif_path = value;
    } else if (key == "frame-dir") {
        r->frame_dir = value;
    } else if (key == "frames") {
        return parse_frames(value, &r->frames);
    } else if (key == "palette") {
        return parse_palette(value, &r->palette);
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string format_request(const Request& request) {
    std::ostringstream out;
    std::istringstream input(request.input);
    for (std::string line; std::getline(input, line);) out << "input " << line << "\n";
    out << "idle-limit " << request.idle_limit_ms << "\n";
    if (!request.picture_path.empty()) out << "picture " << request.picture_path << "\n";
    if (!request.gif_path.empty()) out << "gif " << request.gif_path << "\n";
    if (!request.frame_dir.empty()) out << "frame-dir " << request.frame_dir << "\n";
    if (!request.frames.empty()) {
        out << "frames";
        for (int f : request.frames) out << " " << f;
        out << "\n";
    }
    if (!request.palette.empty()) {
        out << "palette";
        char hex[8];
        for (std::uint32_t c : request.palette) {
            std::snprintf(hex, sizeof hex, "%06x", unsigned(c & 0xFFFFFFu));
            out << " " << hex;
        }
        out << "\n";
    }
    return out.str();
}

bool parse_request(const std::string& text, Request* request, std::string* error) {
    Request r;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (line.empty()) continue;
        std::size_t space = line.find(' ');
        std::string key = line.substr(0, space);
        std::string value = space == std::string::npos ? std::string() : line.substr(space + 1);
        if (!apply_setting(key, value, &r)) {
            if (error != nullptr)
                *error = "render request line " + std::to_string(number) + ": bad setting \"" +
                         line + "\"";
            return false;
        }
    }
    *request = r;
    return true;
}

std::string frame_file_name(int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04d.png", frame);
    return name;
}

}  // namespace kv390::render

namespace win::headless {

namespace harness = kv390::harness;
namespace render = kv390::render;

namespace {

using render::Request;

struct Session {
    Request request;
    std::unique_ptr<GifWriter> gif;
    int frames = 0;
    std::size_t next_chosen = 0;  // request.frames is sorted; the next one to save
    win::HWND picture_window = nullptr;
    win::Image last_picture;
    std::string error;  // the first failure while the program ran
};

std::unique_ptr<Session>& session() {
    static std::unique_ptr<Session> instance;
    return instance;
}

void keep_first_error(Session& s, const std::string& error) {
    if (s.error.empty()) s.error = error;
}

std::string chosen_frame_path(const Session& s, int frame) {
    std::string dir = s.request.frame_dir.empty() ? "." : s.request.frame_dir;
    if (dir.back() != '/') dir += '/';
    return dir + render::frame_file_name(frame);
}

void save_chosen_frames(Session& s, const win::Image& image) {
    const std::vector<int>& chosen = s.request.frames;
    while (s.next_chosen < chosen.size() && chosen[s.next_chosen] < s.frames) ++s.next_chosen;
    while (s.next_chosen < chosen.size() && chosen[s.next_chosen] == s.frames) {
        std::string error;
        if (!harness::save_png(image, chosen_frame_path(s, s.frames), &error)) {
            keep_first_error(s, error);
        }
        ++s.next_chosen;
    }
}

void take_frame(Session* s, HWND hwnd) {
    if (s->picture_window == nullptr) s->picture_window = hwnd;
    ++s->frames;
    win::Image image = win::window_image(hwnd);
    if (s->gif) {
        std::string error;
        if (!s->gif->add_frame(image, &error)) keep_first_error(*s, error);
    }
    save_chosen_frames(*s, image);
}

bool open_gif(Session& s, std::string* error) {
    if (s.request.gif_path.empty()) return true;
    s.gif = std::make_unique<GifWriter>();
    return s.gif->open(s.request.gif_path, s.request.palette, error);
}

void list_unreached_frames(const Session& s, render::Result* result) {
    for (std::size_t i = s.next_chosen; i < s.request.frames.size(); ++i) {
        if (s.request.frames[i] <= s.frames) continue;
        result->warnings.push_back("frame " + std::to_string(s.request.frames[i]) +
                                   " was not reached (the run had " + std::to_string(s.frames) +
                                   " frames)");
    }
}

bool write_outputs(Session& s, std::string* error) {
    if (!s.error.empty()) {
        *error = s.error;
        return false;
    }
    if (s.last_picture.pixels.empty() && !s.request.picture_path.empty()) {
        *error = "the program showed no picture";
        return false;
    }
    if (!s.request.picture_path.empty() &&
        !harness::save_png(s.last_picture, s.request.picture_path, error)) {
        return false;
    }
    if (s.gif) {
        // A GIF needs one image: a run without frames shows its last picture.
        if (s.gif->frame_count() == 0 && !s.last_picture.pixels.empty() &&
            !s.gif->add_frame(s.last_picture, error)) {
            return false;
        }
        if (!s.gif->close(error)) return false;
    }
    return true;
}

void finish_at_exit() {
    render::Result result;
    std::string error;
    bool done = render::finish(&result, &error);
    for (const std::string& warning : result.warnings) {
        std::fprintf(stderr, "kv390-render: %s\n", warning.c_str());
    }
    if (!done) {
        std::fprintf(stderr, "kv390-render: %s\n", error.c_str());
        std::fflush(stderr);
        std::_Exit(2);
    }
}

bool read_file(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream content;
    content << in.rdbuf();
    *text = content.str();
    return !in.bad();
}

}  // namespace

void render_window_event(HWND hwnd, backend::WindowEvent event) {
    Session* s = session().get();
    if (s == nullptr) return;
    using Event = backend::WindowEvent;
    if (event == Event::Frame) {
        take_frame(s, hwnd);
    } else if (hwnd == nullptr) {
        return;
    } else if (event == Event::Created && s->picture_window == nullptr &&
               !(get_window_style(hwnd) & WS_CHILD)) {
        s->picture_window = hwnd;
    } else if (event == Event::Destroyed && hwnd == s->picture_window &&
               s->last_picture.pixels.empty()) {
        // A destroyed window's record still holds its last pixels.
        s->last_picture = backend::record_image(hwnd);
    }
}

}  // namespace win::headless

namespace kv390::render {

bool start(const Request& request, std::string* error) {
    std::string why;
    if (win::headless::session()) {
        why = "a render is already running";
    } else if (request.palette.empty() || request.palette.size() > 256) {
        why = "the render request needs a palette of 1 to 256 colours";
    }
    auto s = std::make_unique<win::headless::Session>();
    s->request = request;
    std::sort(s->request.frames.begin(), s->request.frames.end());
    if (why.empty() && !harness::load_timed_input(request.input, &why)) why = "input " + why;
    if (why.empty()) win::headless::open_gif(*s, &why);
    if (!why.empty()) {
        if (error != nullptr) *error = why;
        return false;
    }
    harness::set_idle_limit(request.idle_limit_ms);
    win::headless::session() = std::move(s);
    return true;
}

bool active() {
    return win::headless::session() != nullptr;
}

bool finish(Result* result, std::string* error) {
    std::unique_ptr<win::headless::Session> s = std::move(win::headless::session());
    std::string why;
    if (s == nullptr) {
        why = "no render is running";
    } else {
        if (s->last_picture.pixels.empty() && win::is_window(s->picture_window)) {
            s->last_picture = win::window_image(s->picture_window);
        }
        if (result != nullptr) {
            result->frame_count = s->frames;
            win::headless::list_unreached_frames(*s, result);
        }
        win::headless::write_outputs(*s, &why);
    }
    if (!why.empty() && error != nullptr) *error = why;
    return why.empty();
}

void start_from_environment() {
    const char* path = std::getenv(REQUEST_VARIABLE);
    if (path == nullptr || *path == '\0' || active()) return;
    std::string text, error;
    Request request;
    if (!win::headless::read_file(path, &text)) {
        error = std::string("cannot read the render request ") + path;
    } else if (parse_request(text, &request, &error)) {
        start(request, &error);
    }
    if (!active()) {
        std::fprintf(stderr, "kv390-render: %s\n", error.c_str());
        std::fflush(stderr);
        std::_Exit(2);
    }
    // The layer's records must outlive the exit handler that reads them.
    win::backend::keep_records_for_exit();
    std::atexit(win::headless::finish_at_exit);
}

}  // namespace kv390::render
