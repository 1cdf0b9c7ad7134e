// Turning a run's frame stream into the GIF and the chosen PNG frames, and
// whole renders inside this process on top of the program's side of a run.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "kv390/harness.h"
#include "kv390/render.h"
#include "kv390/run_protocol.h"
#include "render/gif_writer.h"
#include "run_client/run_client.h"
#include "run_client/run_request.h"

namespace kv390::render {

std::string frame_file_name(int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%04d.png", frame);
    return name;
}

struct FrameConverter::State {
    FrameOutputs outputs;
    std::unique_ptr<GifWriter> gif;
    std::string pending;  // bytes of a record not complete yet
    win::Image picture;   // the newest frame
    int frames = 0;
    std::size_t next_chosen = 0;  // outputs.frames is sorted; the next one to save
};

FrameConverter::FrameConverter() = default;
FrameConverter::~FrameConverter() = default;

bool FrameConverter::open(const FrameOutputs& outputs, std::string* error) {
    auto s = std::make_unique<State>();
    s->outputs = outputs;
    std::sort(s->outputs.frames.begin(), s->outputs.frames.end());
    if (!outputs.gif_path.empty()) {
        if (outputs.palette.empty() || outputs.palette.size() > 256) {
            *error = "the GIF needs a palette of 1 to 256 colours";
            return false;
        }
        s->gif = std::make_unique<GifWriter>();
        if (!s->gif->open(outputs.gif_path, outputs.palette, error)) return false;
    }
    state_ = std::move(s);
    return true;
}

namespace {

std::string chosen_frame_path(const FrameOutputs& outputs, int frame) {
    return (std::filesystem::path(outputs.frame_dir.empty() ? "." : outputs.frame_dir) /
            frame_file_name(frame))
        .string();
}

bool gif_over_limit(const FrameOutputs& outputs, int frame, std::string* error) {
    if (outputs.gif_limit_bytes == 0) return false;
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(outputs.gif_path, ec);
    if (ec || size <= outputs.gif_limit_bytes) return false;
    *error = "the GIF passed its size limit of " + std::to_string(outputs.gif_limit_bytes) +
             " bytes at frame " + std::to_string(frame);
    return true;
}

}  // namespace

bool FrameConverter::feed(const char* data, std::size_t size, std::string* error) {
    State& s = *state_;
    s.pending.append(data, size);
    std::size_t offset = 0;
    for (;;) {
        std::size_t used = 0;
        const auto decoded = run_protocol::decode_frame(
            s.pending.data() + offset, s.pending.size() - offset, &s.picture, &used);
        if (decoded == run_protocol::Decoded::NeedMore) break;
        if (decoded == run_protocol::Decoded::Bad) {
            *error =
                "the program's frame stream is damaged at frame " + std::to_string(s.frames + 1);
            return false;
        }
        offset += used;
        ++s.frames;
        if (s.gif &&
            (!s.gif->add_frame(s.picture, error) || gif_over_limit(s.outputs, s.frames, error)))
            return false;
        const std::vector<int>& chosen = s.outputs.frames;
        while (s.next_chosen < chosen.size() && chosen[s.next_chosen] < s.frames) ++s.next_chosen;
        for (; s.next_chosen < chosen.size() && chosen[s.next_chosen] == s.frames;
             ++s.next_chosen) {
            if (!harness::save_png(s.picture, chosen_frame_path(s.outputs, s.frames), error))
                return false;
        }
    }
    s.pending.erase(0, offset);
    return true;
}

bool FrameConverter::close(const win::Image* last_picture, Result* result, std::string* error) {
    State& s = *state_;
    if (!s.pending.empty()) {
        *error = "the program's frame stream ends inside frame " + std::to_string(s.frames + 1);
        return false;
    }
    if (result != nullptr) {
        result->frame_count = s.frames;
        for (int frame : s.outputs.frames) {
            if (frame <= s.frames) continue;
            result->warnings.push_back("frame " + std::to_string(frame) +
                                       " was not reached (the run had " + std::to_string(s.frames) +
                                       " frames)");
        }
    }
    if (!s.gif) return true;
    // A GIF needs one image: a run without frames shows its last picture.
    if (s.gif->frame_count() == 0 && last_picture != nullptr && !last_picture->pixels.empty() &&
        !s.gif->add_frame(*last_picture, error))
        return false;
    return s.gif->close(error);
}

namespace {

struct InProcess {
    Request request;
    std::string frames_path;  // the stream, beside the GIF or the chosen frames
    std::string picture_path;
};

std::unique_ptr<InProcess>& in_process() {
    static std::unique_ptr<InProcess> instance;
    return instance;
}

bool convert_frames(const InProcess& r, Result* result, std::string* error) {
    FrameConverter converter;
    if (!converter.open(r.request.outputs, error)) return false;
    std::ifstream in(r.frames_path, std::ios::binary);
    std::vector<char> buffer(1 << 20);
    while (in) {
        in.read(buffer.data(), std::streamsize(buffer.size()));
        if (!converter.feed(buffer.data(), std::size_t(in.gcount()), error)) return false;
    }
    win::Image last;
    if (!r.picture_path.empty() && !harness::load_png(r.picture_path, &last, error)) return false;
    return converter.close(&last, result, error);
}

}  // namespace

bool start(const Request& request, std::string* error) {
    if (active()) {
        *error = "a render is already running";
        return false;
    }
    auto r = std::make_unique<InProcess>();
    r->request = request;
    const FrameOutputs& outputs = request.outputs;
    if (!outputs.gif_path.empty() || !outputs.frames.empty()) {
        r->frames_path =
            (outputs.gif_path.empty() ? chosen_frame_path(outputs, 0) : outputs.gif_path) +
            ".frames";
    }
    // The GIF needs the last picture when the run has no frames.
    r->picture_path = request.picture_path.empty() && !outputs.gif_path.empty()
                          ? outputs.gif_path + ".last.png"
                          : request.picture_path;
    if (!outputs.gif_path.empty()) {
        FrameConverter probe;  // the GIF must be writable before the run
        if (!probe.open(outputs, error)) return false;
    }
    run_client::Request client;
    client.input = request.input;
    client.idle_limit_ms = request.idle_limit_ms;
    client.picture_path = r->picture_path;
    client.frames_path = r->frames_path;
    if (!run_client::start(client, error)) return false;
    in_process() = std::move(r);
    return true;
}

bool active() {
    return in_process() != nullptr;
}

bool finish(Result* result, std::string* error) {
    std::unique_ptr<InProcess> r = std::move(in_process());
    std::string why;
    if (r == nullptr) {
        why = "no render is running";
    } else if (run_client::finish(nullptr, &why)) {
        convert_frames(*r, result, &why);
    }
    if (r != nullptr) {
        std::error_code ec;
        if (!r->frames_path.empty()) std::filesystem::remove(r->frames_path, ec);
        if (r->picture_path != r->request.picture_path)
            std::filesystem::remove(r->picture_path, ec);
    }
    if (!why.empty() && error != nullptr) *error = why;
    return why.empty();
}

}  // namespace kv390::render
