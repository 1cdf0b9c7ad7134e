// Rendering a headless run to pictures: every animation frame of the graphics
// window into an animated GIF, chosen frames into PNG files and the last
// picture into a PNG file.
//
// A render runs inside the process that runs the program.  Either that
// process starts it itself (start, then finish after the program returned),
// or, for any program linked with the headless backend, a tool names a
// request file (format_request) in the environment variable KV390_RENDER:
// the backend then starts the render when it initialises and writes the
// outputs when the process exits (an error is reported on stderr and the
// process exits with status 2).
//
// Frames are the pictures the window shows after each win::note_frame; the
// last picture is the one the window showed when it was destroyed, or at
// finish if it still exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kv390::render {

constexpr const char* REQUEST_VARIABLE = "KV390_RENDER";

struct Request {
    // Timed input for the run, in the harness's list format ("at 0 menu 6").
    std::string input;
    // Once the input is used up, the run ends after this much idle virtual time.
    std::uint64_t idle_limit_ms = 1;
    std::string picture_path;  // last picture (PNG); empty: none
    std::string gif_path;      // every frame (GIF); empty: none
    std::string frame_dir;     // where chosen frames go, as frame_file_name(n)
    std::vector<int> frames;   // chosen frame numbers, counted from 1
    // The GIF's global colour table (0x00RRGGBB, 1 to 256 colours).  Pixels of
    // other colours take the nearest entry.
    std::vector<std::uint32_t> palette;
};

struct Result {
    int frame_count = 0;
    std::vector<std::string> warnings;  // e.g. chosen frames the run never reached
};

// One "key value" line per setting; values may hold spaces but no newlines.
std::string format_request(const Request& request);
bool parse_request(const std::string& text, Request* request, std::string* error);

// "frame-0042.png"
std::string frame_file_name(int frame);

// Schedules the input and opens the outputs.  False (nothing started) when
// the request is unusable or an output cannot be written.
bool start(const Request& request, std::string* error);
bool active();
// Takes the last picture if it is not taken yet and writes the outputs.
bool finish(Result* result, std::string* error);

// Called by the headless backend when it initialises: starts the render
// named by KV390_RENDER, if any, and finishes it at exit.
void start_from_environment();

}  // namespace kv390::render
