// Pictures of a headless run: every animation frame of the graphics window
// into an animated GIF, chosen frames into PNG files and the last picture
// (the client area at the end, drawing not yet shown included) into a PNG.
//
// The program's side of a run writes a frame stream (kv390/run_protocol.h);
// FrameConverter turns such a stream into the GIF and the chosen frames, as
// it arrives.  start and finish do a whole render inside this process (tests
// and benchmarks).  Link KV390::render (it needs giflib) besides the
// headless backend.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kv390/win.h"

namespace kv390::render {

// What becomes of the frames.
struct FrameOutputs {
    std::string gif_path;     // every frame (GIF); empty: none
    std::string frame_dir;    // where chosen frames go, as frame_file_name(n)
    std::vector<int> frames;  // chosen frame numbers, counted from 1
    // The GIF's global colour table (0x00RRGGBB, 1 to 256 colours); pixels
    // of other colours take the nearest entry.
    std::vector<std::uint32_t> palette;
    // The GIF may grow to this many bytes (0: no limit); a frame beyond it
    // is a failure.
    std::uint64_t gif_limit_bytes = 0;
};

struct Result {
    int frame_count = 0;
    std::vector<std::string> warnings;  // e.g. chosen frames the run never reached
};

// "frame-0042.png"
std::string frame_file_name(int frame);

class FrameConverter {
  public:
    FrameConverter();
    ~FrameConverter();
    FrameConverter(const FrameConverter&) = delete;
    FrameConverter& operator=(const FrameConverter&) = delete;

    // Creates the GIF; false when it cannot be written or the palette is unusable.
    bool open(const FrameOutputs& outputs, std::string* error);
    // Takes more bytes of the stream (any split); false for a bad stream or
    // an output that fails.
    bool feed(const char* data, std::size_t size, std::string* error);
    // Completes the outputs.  A GIF of a run without frames shows
    // last_picture (when given) as its one image.
    bool close(const win::Image* last_picture, Result* result, std::string* error);

  private:
    struct State;
    std::unique_ptr<State> state_;
};

// A whole render inside this process.
struct Request {
    // Timed input for the run, in the harness's list format ("at 0 menu 6").
    std::string input;
    // Once the input is used up, the run ends after this much idle virtual time.
    std::uint64_t idle_limit_ms = 1;
    std::string picture_path;  // last picture (PNG); empty: none
    FrameOutputs outputs;
};
// Schedules the input and opens the outputs.  False (nothing started) when
// the request is unusable or an output cannot be written.
bool start(const Request& request, std::string* error);
bool active();
// Takes the last picture if it is not taken yet and writes the outputs.
bool finish(Result* result, std::string* error);

}  // namespace kv390::render
