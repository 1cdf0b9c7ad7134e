// Reading a run request.
#include "run_client/run_request.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace kv390::run_client {

namespace {

bool parse_milliseconds(const std::string& text, std::uint64_t* value) {
    if (text.empty() || text.size() > 15 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *value = std::strtoull(text.c_str(), nullptr, 10);
    return true;
}

bool apply_setting(const std::string& key, const std::string& value, Request* r) {
    if (key == "input") {
        r->input += value + "\n";
        return true;
    }
    if (key == "idle-limit") return parse_milliseconds(value, &r->idle_limit_ms);
    if (key == "palette") return true;  // older requests: the GIF's colours, now the runner's
    if (key == "time-limit") return parse_milliseconds(value, &r->time_limit_ms);
    std::string* path = key == "picture"  ? &r->picture_path
                        : key == "frames" ? &r->frames_path
                        : key == "log"    ? &r->log_path
                        : key == "report" ? &r->report_path
                                          : nullptr;
    if (path == nullptr || value.empty()) return false;
    *path = value;
    return true;
}

}  // namespace

bool parse_request(const std::string& text, Request* request, std::string* error) {
    Request r;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value =
            space == std::string::npos ? std::string() : line.substr(space + 1);
        if (!apply_setting(key, value, &r)) {
            *error =
                "run request line " + std::to_string(number) + ": bad setting \"" + line + "\"";
            return false;
        }
    }
    *request = r;
    return true;
}

}  // namespace kv390::run_client
