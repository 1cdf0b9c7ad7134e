// The SDL backend's record of its desktop windows, and the steps shared by
// the backend's operations and the input translation.
#pragma once

#include <SDL2/SDL.h>

#include <memory>
#include <string>
#include <vector>

#include "sdl/desktop_window.h"

namespace win::sdl {

struct BackendState {
    std::vector<std::unique_ptr<DesktopWindow>> windows;
    bool suppress_text = false;       // the next text input belongs to a key the layer did not get
    bool focus_lost_pending = false;  // focus left a window; did it go to another of ours?
    HWND synced_active = nullptr;     // the core's active window as last given to the desktop
    int scale = 1;                    // every window shown enlarged by this factor (sdl/scale.h)
};

BackendState& state();
DesktopWindow* desktop_of(HWND hwnd);
DesktopWindow* desktop_of_sdl_window(Uint32 window_id);
// Creates, updates and closes desktop windows to match the core's windows.
void sync_windows();
// Feeds one SDL event to the core.
void handle_event(const SDL_Event& event);
// After a batch of events: focus that left all of the layer's windows.
void finish_event_batch();

}  // namespace win::sdl
