// Timed input entries for harness::schedule, in the graphics window's
// drawing coordinates (origin in the middle, y up) where positions matter.
#pragma once

#include <cstdint>

#include "kv390/harness.h"

namespace kv390::test {

// The graphics window's drawing origin as a client position (595 x 497 client).
constexpr int DRAWING_ORIGIN_X = 297;
constexpr int DRAWING_ORIGIN_Y = 248;

inline harness::TimedInput timed(harness::TimedInput::Kind kind, std::uint64_t at_ms) {
    harness::TimedInput input{};
    input.kind = kind;
    input.at_ms = at_ms;
    return input;
}

inline harness::TimedInput click_at(std::uint64_t at_ms, int x, int y) {
    harness::TimedInput input = timed(harness::TimedInput::Kind::Click, at_ms);
    input.x = DRAWING_ORIGIN_X + x;
    input.y = DRAWING_ORIGIN_Y - y;
    return input;
}

inline harness::TimedInput key_at(std::uint64_t at_ms, int vk) {
    harness::TimedInput input = timed(harness::TimedInput::Kind::Key, at_ms);
    input.vk = vk;
    return input;
}

inline harness::TimedInput ctrl_key_at(std::uint64_t at_ms, int vk) {
    harness::TimedInput input = timed(harness::TimedInput::Kind::CtrlKey, at_ms);
    input.vk = vk;
    return input;
}

inline harness::TimedInput end_at(std::uint64_t at_ms) {
    return timed(harness::TimedInput::Kind::End, at_ms);
}

}  // namespace kv390::test
