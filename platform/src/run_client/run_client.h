// The program's side of the run protocol (kv390/run_protocol.h): started by
// the headless backend when KV390_RUN names a request, it schedules the
// request's input, writes the frame stream, the log and the report while the
// program runs, and the last picture when the process exits.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/backend.h"

namespace kv390::run_client {

// Called once when the headless backend initialises.  A request that cannot
// be read or an output that cannot be opened ends the process with status 2
// and a one-line message on stderr.
void start_from_environment();
bool active();

struct Request;
// A run inside this process (tests, benchmarks): the same outputs, and
// failures returned instead of ending the process.  finish() takes the last
// picture and completes every output.
bool start(const Request& request, std::string* error);
bool finish(int* frame_count, std::string* error);

// Hooks of the headless backend.
void window_event(win::HWND hwnd, win::backend::WindowEvent event);
void log_line(const char* line, std::size_t length);
// The virtual clock moved to now_ms: progress, and the time limit.
void clock_moved(std::uint64_t now_ms);

}  // namespace kv390::run_client
