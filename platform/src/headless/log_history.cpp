// The program's log lines as the harness hands them out: kept in one string
// (a line costs a copy, not an allocation), each without its trailing newline.
#include <algorithm>

#include "headless/headless.h"
#include "run_client/run_client.h"

namespace win::headless {

void keep_log_line(const char* line, std::size_t length, void*) {
    kv390::run_client::log_line(line, length);
    State& s = state();
    if (length > 0 && line[length - 1] == '\n') --length;
    s.log_text.append(line, length);
    s.log_line_ends.push_back(s.log_text.size());
}

static std::vector<std::string> log_lines_from(std::size_t first) {
    const State& s = state();
    std::vector<std::string> lines;
    for (std::size_t i = first; i < s.log_line_ends.size(); ++i) {
        std::size_t begin = i == 0 ? 0 : s.log_line_ends[i - 1];
        lines.push_back(s.log_text.substr(begin, s.log_line_ends[i] - begin));
    }
    return lines;
}

}  // namespace win::headless

namespace kv390::harness {

std::vector<std::string> log_history() {
    return win::headless::log_lines_from(0);
}

std::vector<std::string> log_ring() {
    const std::size_t count = win::headless::state().log_line_ends.size();
    return win::headless::log_lines_from(count - std::min(count, LOG_RING_LINES));
}

}  // namespace kv390::harness
