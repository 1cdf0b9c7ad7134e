// What a backend supplies to the windowing core: the screen, a clock, input,
// a way to sleep until something may have happened, and a way to show window
// pixels.  Exactly one backend is linked into a program.
#pragma once

#include <cstdint>

#include "kv390/win.h"

namespace win::backend {

enum class WindowEvent { Created, Destroyed, Shown, Hidden, Moved, Retitled, MenuChanged, Enabled };

// Called once, before the first window is created or the clock is read.
void init();
Size screen_size();
std::uint64_t now_ms();
// Feeds pending native input to the core (through win::input), never blocks.
void poll_input();
// Sleeps until native input may be waiting or the clock reaches deadline_ms
// (no deadline when has_deadline is false).  The headless backend advances its
// virtual clock instead of sleeping.
void sleep_until(std::uint64_t deadline_ms, bool has_deadline);
// Shows every window whose pixels changed since it was last shown.
void present();
void window_event(HWND hwnd, WindowEvent event);

}  // namespace win::backend
