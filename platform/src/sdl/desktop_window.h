// One SDL window showing a top-level window of the core: its client pixels
// (children composed on top), and for a window with a menu bar the bar strip
// and the open drop-down, drawn by the backend.
#pragma once

#include <SDL2/SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/window.h"
#include "sdl/menu_tracker.h"

namespace win::sdl {

struct DesktopWindow {
    HWND hwnd = nullptr;
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* client = nullptr;
    SDL_Texture* bar = nullptr;
    SDL_Texture* popup = nullptr;
    int client_w = 0, client_h = 0;  // size of the client texture
    int bar_w = 0, popup_w = 0, popup_h = 0;

    std::uint64_t shown_signature = 0;  // of the client pixels last uploaded
    bool has_signature = false;
    bool needs_present = true;  // exposed, or something in the picture changed
    bool visible = false;
    std::string title;
    Rect placed;   // outer rect last applied to the SDL window
    Size content;  // content size the SDL window has (or was given)

    // Menu bar as last drawn.
    MenuView view;
    MenuState menu;
    MenuGeometry geometry;
    bool menu_dirty = true;
    Surface bar_pixels, popup_pixels;
    std::vector<std::uint32_t> composed;  // client plus children
};

// Height of the bar strip above the client pixels (0 without a menu bar).
int bar_height(const Window& w);
// Size of the SDL window's content: bar strip plus client area.
Size content_size(const Window& w);
bool is_resizable(const Window& w);

// Creates the SDL window (hidden) at the window's outer position; false when
// SDL cannot make one (a message went to stderr).
bool open_desktop_window(DesktopWindow& d, const Window& w);
void close_desktop_window(DesktopWindow& d);
// Brings title, visibility, position and size in line with the core record.
void sync_desktop_window(DesktopWindow& d, const Window& w);
// Reads the menu bar from the core; marks the bar dirty when it changed.
void refresh_menu_view(DesktopWindow& d, const Window& w);
// Uploads what changed and shows the result when anything did.
void present_desktop_window(DesktopWindow& d, const Window& w);

}  // namespace win::sdl

namespace win::sdl {
// After the menu state changed: the drop-down's place and a redraw.
void menu_state_changed(DesktopWindow& d);
}  // namespace win::sdl
