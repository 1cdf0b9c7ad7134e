// One SDL window showing the picture the core composes of a top-level window
// (menu bar strip, client area, child windows, open drop-down).
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>

#include "core/backend.h"

namespace win::sdl {

struct DesktopWindow {
    HWND hwnd = nullptr;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int texture_w = 0, texture_h = 0;

    std::uint64_t shown_version = 0;  // of the picture last uploaded (0: none yet)
    bool needs_present = true;        // exposed, or resized by the desktop
    bool visible = false;
    std::string title;
    // In the layer's units; the SDL window has them times the scale.
    Rect placed;   // outer rect last applied to the SDL window
    Size content;  // content size the SDL window has (or was given)
};

// Creates the SDL window (hidden) at the window's outer position; false when
// SDL cannot make one (a message went to stderr).
bool open_desktop_window(DesktopWindow& d, const backend::TopLevel& w);
void close_desktop_window(DesktopWindow& d);
// Brings title, visibility, position and size in line with the core's window.
void sync_desktop_window(DesktopWindow& d, const backend::TopLevel& w);
// Uploads the window's picture when it changed and shows it when anything did.
void present_desktop_window(DesktopWindow& d);

}  // namespace win::sdl
