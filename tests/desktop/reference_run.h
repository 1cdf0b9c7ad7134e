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

// Seeds the generator, lets the picture animate until halt_at_ms (virtual),
// presses Ctrl+H there, clicks the client positions 100 ms apart and takes the
// picture a little later.
ReferenceRun render_reference(std::uint32_t seed, std::uint64_t halt_at_ms,
                              const std::vector<win::Point>& clicks);

}  // namespace desktop
