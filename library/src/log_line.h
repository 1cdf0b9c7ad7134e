// Building a log line from pieces, for the messages every drawing call
// writes while logging is on: the same text the printf format would give,
// without parsing a format for each of several hundred calls a frame.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "kv390.h"
#include "state.h"

namespace kv390 {

class LogLine {
  public:
    // Text beyond FORMAT_AREA_SIZE - 1 characters is cut, as the formatter cuts it.
    LogLine& text(std::string_view s) {
        const std::size_t room = LIMIT - length_;
        const std::size_t kept = s.size() < room ? s.size() : room;
        std::memcpy(area_ + length_, s.data(), kept);
        length_ += kept;
        return *this;
    }
    // Literals are measured when compiled.
    template <std::size_t N>
    LogLine& text(const char (&literal)[N]) {
        return text(std::string_view(literal, N - 1));
    }
    LogLine& text(const char* s) { return text(std::string_view(s)); }
    LogLine& number(int value) {
        char digits[12];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        return text(std::string_view(digits, std::size_t(end - digits)));
    }
    // "(x,y)"
    LogLine& point(KV390_point p) { return text("(").number(p.x).text(",").number(p.y).text(")"); }

    // Saves the line in the ring and shows it in the text window, as KV390_log does.
    void log() {
        area_[length_] = '\0';
        log_message(area_);
    }

  private:
    static constexpr std::size_t LIMIT = FORMAT_AREA_SIZE - 1;
    char area_[FORMAT_AREA_SIZE];
    std::size_t length_ = 0;
};

}  // namespace kv390
