// One busy frame of the weather picture and a headless library session to
// draw it in.
#pragma once

#include <cstdint>

#include "weather.h"

namespace bench {

// Everything one redraw of the weather picture reads.
struct WeatherFrame {
    ItemStore items{};
    WalkerStore walkers{};
    SceneCounts counts{};
    int panel_kind = KIND_RAIN;
    int panel_color = 0;
    int sun_x = 120;
    int sun_y = 215;
};

// 500 items of every kind and the three item colours, spread over the sky
// (a fifth of the grenades low enough to show as a blast), and 10 walkers:
// rabbits in all three poses and hunters facing both ways.
WeatherFrame busy_frame();

// The weather picture's full redraw: scene, panel, items, walkers.  The
// random generator is seeded first, so every redraw draws the same blast
// fragments.
void draw_frame(const WeatherFrame& frame);

// Forgets the library state and resets the windowing layer, which frees what
// the library opened (its canvas, DCs and class brush).
void close_library();

// The library opened on the headless backend with logging off and a clear
// canvas; closed again at the end of the scope.  Each session starts from a
// fresh windowing layer and library state.
class LibrarySession {
  public:
    LibrarySession();
    ~LibrarySession();
    LibrarySession(const LibrarySession&) = delete;
    LibrarySession& operator=(const LibrarySession&) = delete;
};

}  // namespace bench
