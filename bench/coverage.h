// How many canvas pixels each drawing call writes.
#pragma once

#include <cstdint>
#include <vector>

#include "frame_calls.h"

namespace bench {

// Draws each call alone onto a canvas filled with a colour outside the
// palette and counts the pixels that changed.  Needs an open library
// session; leaves the canvas filled with that colour.
std::vector<std::uint64_t> pixels_per_call(const CallList& calls);

}  // namespace bench
