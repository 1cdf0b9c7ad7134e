// The player reads lines of at most 511 characters, skips empty ones, tells
// the forms apart by the seventh character ("KV390_" is not checked) and
// scans forward for the numbers; a last line without its newline is never
// played.  Every line is held to that, and to carrying its numbers.
#include "script_check.h"

#include <cctype>
#include <cstddef>

namespace run_tool {

namespace {

constexpr std::size_t LONGEST_LINE = 511;

// Digits (or, for a mouse line, "-") after index 6, count times.
bool has_numbers(const std::string& line, int count, bool signed_numbers) {
    std::size_t at = 6;
    for (int n = 0; n < count; ++n) {
        auto starts_number = [&](char c) {
            return std::isdigit(static_cast<unsigned char>(c)) || (signed_numbers && c == '-');
        };
        while (at < line.size() && !starts_number(line[at])) ++at;
        if (at == line.size()) return false;
        std::size_t digits = 0;
        while (at < line.size() && starts_number(line[at])) {
            digits += std::isdigit(static_cast<unsigned char>(line[at])) ? 1 : 0;
            ++at;
        }
        if (digits == 0) return false;
    }
    return true;
}

// The lines of the extended input events: "KV390_" and exactly this word
// and "(", then a position or a key code.
struct InputForm {
    const char* word;
    bool position;
};
constexpr InputForm INPUT_FORMS[] = {
    {"DOWN", false},      {"UP", false},      {"LEFT_UP", true},     {"CURSOR", true},
    {"RIGHT_DOWN", true}, {"RIGHT_UP", true}, {"CENTRE_DOWN", true}, {"CENTRE_UP", true},
};

constexpr const char* UNKNOWN_LINE =
    "not a line of the script format (KV390_MOUSE, KV390_KBD, KV390_PERIODIC, ...)";

std::string problem_of_input_line(const std::string& line) {
    for (const InputForm& form : INPUT_FORMS) {
        const std::string start = std::string("KV390_") + form.word + "(";
        if (line.rfind(start, 0) != 0) continue;
        if (form.position) return has_numbers(line, 2, true) ? "" : "this line needs x and y";
        return has_numbers(line, 1, false) ? "" : "this line needs a key code";
    }
    return UNKNOWN_LINE;
}

// Why the player cannot play the line; empty when it can.
std::string problem_of(const std::string& line) {
    if (line.size() > LONGEST_LINE) return "longer than 511 characters";
    if (line.size() < 7) return UNKNOWN_LINE;
    switch (line[6]) {
        case 'M':
            return has_numbers(line, 2, true) ? "" : "a mouse line needs x and y";
        case 'K':
            return has_numbers(line, 1, false) ? "" : "a key line needs a character code";
        case 'P':
            return has_numbers(line, 1, false) ? "" : "a periodic line needs a count";
        default:
            return problem_of_input_line(line);
    }
}

}  // namespace

bool check_script(const std::string& script, std::string* error) {
    std::size_t start = 0;
    for (int number = 1; start < script.size(); ++number) {
        const std::size_t end = script.find('\n', start);
        std::string line = script.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string problem;
        if (end == std::string::npos) {
            problem = "the last line has no newline, so it is never played";
        } else if (!line.empty()) {
            problem = problem_of(line);
        }
        if (!problem.empty()) {
            *error = "script line " + std::to_string(number) + " cannot be played: \"" + line +
                     "\" (" + problem + ")";
            return false;
        }
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return true;
}

}  // namespace run_tool
