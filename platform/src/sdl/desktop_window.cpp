// Presenting a core window's picture in an SDL window: one texture, uploaded
// only when the picture changed.
#include "sdl/desktop_window.h"

#include <algorithm>
#include <cstdio>

#include "sdl/backend_state.h"

namespace win::sdl {
namespace {

// Shown where the SDL window is larger than the picture (during a resize).
constexpr std::uint8_t FACE_GREY = 192;

void destroy_texture(SDL_Texture*& texture) {
    if (texture != nullptr) SDL_DestroyTexture(texture);
    texture = nullptr;
}

// Makes sure a streaming texture of the picture's size exists; false for an
// empty picture.
bool ensure_texture(DesktopWindow& d, int width, int height) {
    if (width <= 0 || height <= 0) {
        destroy_texture(d.texture);
        return false;
    }
    if (d.texture != nullptr && d.texture_w == width && d.texture_h == height) return true;
    destroy_texture(d.texture);
    d.texture = SDL_CreateTexture(d.renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                  width, height);
    d.texture_w = width;
    d.texture_h = height;
    if (d.texture == nullptr) return false;
    // Enlarged by the whole-window scale, each pixel becomes a square of
    // pixels: the picture stays exact.
    SDL_SetTextureScaleMode(d.texture, SDL_ScaleModeNearest);
    return true;
}

// The picture's rows lie in a few contiguous runs (the menu bar strip, the
// client's ring of rows): one upload per run.
void upload_picture(SDL_Texture* texture, const backend::Picture& p) {
    int from = 0;
    for (int y = 1; y <= p.height; ++y) {
        if (y < p.height && p.rows[std::size_t(y)] == p.rows[std::size_t(y - 1)] + p.width)
            continue;
        SDL_Rect area{0, from, p.width, y - from};
        SDL_UpdateTexture(texture, &area, p.rows[std::size_t(from)],
                          p.width * int(sizeof(std::uint32_t)));
        from = y;
    }
}

}  // namespace

bool open_desktop_window(DesktopWindow& d, const backend::TopLevel& w) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (w.resizable) flags |= SDL_WINDOW_RESIZABLE;
    if (!w.captioned) flags |= SDL_WINDOW_BORDERLESS;
    const int s = state().scale;
    d.window =
        SDL_CreateWindow(w.title.c_str(), w.outer.left * s, w.outer.top * s,
                         std::max(w.content.cx, 1) * s, std::max(w.content.cy, 1) * s, flags);
    if (d.window == nullptr) {
        std::fprintf(stderr, "KV390: cannot create a desktop window (%s)\n", SDL_GetError());
        return false;
    }
    d.renderer = SDL_CreateRenderer(d.window, -1, 0);
    if (d.renderer == nullptr) d.renderer = SDL_CreateRenderer(d.window, -1, SDL_RENDERER_SOFTWARE);
    if (d.renderer == nullptr) {
        std::fprintf(stderr, "KV390: cannot draw into a desktop window (%s)\n", SDL_GetError());
        SDL_DestroyWindow(d.window);
        d.window = nullptr;
        return false;
    }
    d.hwnd = w.hwnd;
    d.title = w.title;
    d.placed = w.outer;
    d.content = w.content;
    return true;
}

void close_desktop_window(DesktopWindow& d) {
    destroy_texture(d.texture);
    if (d.renderer != nullptr) SDL_DestroyRenderer(d.renderer);
    if (d.window != nullptr) SDL_DestroyWindow(d.window);
    d.renderer = nullptr;
    d.window = nullptr;
}

void sync_desktop_window(DesktopWindow& d, const backend::TopLevel& w) {
    if (w.title != d.title) {
        d.title = w.title;
        SDL_SetWindowTitle(d.window, w.title.c_str());
    }
    // Only a size the core chose is given to the desktop; one the user gave
    // the SDL window reaches the core through its resize event.
    const int s = state().scale;
    Size size = w.content;
    if (size.cx > 0 && size.cy > 0 && (d.content.cx != size.cx || d.content.cy != size.cy)) {
        SDL_SetWindowSize(d.window, size.cx * s, size.cy * s);
        d.needs_present = true;
    }
    d.content = size;
    if (w.outer.left != d.placed.left || w.outer.top != d.placed.top) {
        SDL_SetWindowPosition(d.window, w.outer.left * s, w.outer.top * s);
    }
    d.placed = w.outer;
    if (w.visible != d.visible) {
        d.visible = w.visible;
        if (w.visible) {
            SDL_ShowWindow(d.window);
            d.needs_present = true;
        } else {
            SDL_HideWindow(d.window);
        }
    }
}

void present_desktop_window(DesktopWindow& d) {
    if (d.window == nullptr || !d.visible) return;
    const backend::Picture& picture = backend::compose(d.hwnd);
    bool changed = picture.version != d.shown_version;
    if (changed) {
        d.shown_version = picture.version;
        if (ensure_texture(d, picture.width, picture.height)) upload_picture(d.texture, picture);
    }
    if (!changed && !d.needs_present) return;
    d.needs_present = false;
    SDL_SetRenderDrawColor(d.renderer, FACE_GREY, FACE_GREY, FACE_GREY, 255);
    SDL_RenderClear(d.renderer);
    if (d.texture != nullptr) {
        // Enlarged by the scale, nearest neighbour (see ensure_texture).
        const int s = state().scale;
        SDL_Rect area{0, 0, d.texture_w * s, d.texture_h * s};
        SDL_RenderCopy(d.renderer, d.texture, nullptr, &area);
    }
    SDL_RenderPresent(d.renderer);
}

}  // namespace win::sdl
