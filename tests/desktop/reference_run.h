// The weather picture run headless with the same input as a desktop session.
#pragma once

#include <cstdint>
#include <vector>

#include "kv390/win.h"

namespace desktop {

struct ReferenceRun {
    win::Image picture;                   // graphics window client pixels after the clicks
    std::vector<win::MenuItem> run_menu;  // items of the Run drop-down
};

// Seeds the generator and lets the picture animate for ticks periodic
// steps; halfway to the next one presses Ctrl+H and clicks the client
// positions at once, so that the first click replaces the periodic event the
// halt left pending: the program takes exactly ticks steps, then the clicks
// (as a live program does that takes the halt and the clicks before any
// further tick, for instance one that starts slowly with its input already
// queued).  The picture is taken a little later.
ReferenceRun render_reference(std::uint32_t seed, int ticks, const std::vector<win::Point>& clicks);

}  // namespace desktop
