// The request a runner hands a program (kv390/run_protocol.h): a text file
// of "key value" lines named by the environment variable KV390_RUN.
#pragma once

#include <cstdint>
#include <string>

namespace kv390::run_client {

struct Request {
    std::string input;                   // timed input, the harness's list format
    std::uint64_t idle_limit_ms = 1000;  // the run ends this long after the input
    std::uint64_t time_limit_ms = 0;     // virtual time limit; 0: none
    std::string picture_path;            // the client area at the end of the run (PNG)
    std::string frames_path;             // every animation frame (frame stream)
    std::string log_path;                // every logged line
    std::string report_path;             // what the program tells the runner
};

// False with "run request line N: ..." for a line it does not know.
bool parse_request(const std::string& text, Request* request, std::string* error);

}  // namespace kv390::run_client
