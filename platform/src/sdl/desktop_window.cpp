// Presenting a core window in an SDL window: textures for the client pixels,
// the bar strip and the drop-down, uploaded only when they changed.
#include "sdl/desktop_window.h"

#include <algorithm>
#include <cstddef>
#include <cstdio>

#include "sdl/menu_layout.h"
#include "sdl/menu_painter.h"

namespace win::sdl {
namespace {

constexpr std::uint8_t FACE_GREY = 192;

std::uint64_t mix(std::uint64_t hash, std::uint64_t value) {
    hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    return hash;
}

bool same_items(const std::vector<MenuItem>& a, const std::vector<MenuItem>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].flags != b[i].flags || a[i].id != b[i].id || a[i].text != b[i].text) return false;
    }
    return true;
}

bool same_view(const MenuView& a, const MenuView& b) {
    if (!same_items(a.bar, b.bar) || a.popups.size() != b.popups.size()) return false;
    for (std::size_t i = 0; i < a.popups.size(); ++i) {
        if (!same_items(a.popups[i], b.popups[i])) return false;
    }
    return true;
}

MenuView read_menu_view(const Window& w) {
    MenuView view;
    Menu* bar = live_menu(w.menu);
    if (bar == nullptr) return view;
    view.bar = bar->items;
    for (const MenuItem& item : view.bar) {
        Menu* popup = (item.flags & MF_POPUP) != 0 ? live_menu(item.popup) : nullptr;
        view.popups.push_back(popup != nullptr ? popup->items : std::vector<MenuItem>{});
    }
    return view;
}

// The visible children of a window, depth first, each before its own children.
void visible_descendants(const Window& w, std::vector<const Window*>* out) {
    for (HWND child : w.children) {
        const Window* c = live_window(child);
        if (c == nullptr || !c->visible) continue;
        out->push_back(c);
        visible_descendants(*c, out);
    }
}

std::uint64_t client_signature(const Window& w, const std::vector<const Window*>& children) {
    std::uint64_t hash = mix(mix(mix(0, w.surface.version), std::uint64_t(w.surface.width)),
                             std::uint64_t(w.surface.height));
    Point origin = client_origin(w);
    for (const Window* c : children) {
        Point at = client_origin(*c);
        hash = mix(hash, std::uint64_t(std::uintptr_t(c)));
        hash = mix(hash, c->surface.version);
        hash = mix(hash, std::uint64_t(std::uint32_t(at.x - origin.x)));
        hash = mix(hash, std::uint64_t(std::uint32_t(at.y - origin.y)));
    }
    return hash;
}

void destroy_texture(SDL_Texture*& texture) {
    if (texture != nullptr) SDL_DestroyTexture(texture);
    texture = nullptr;
}

// Makes sure a streaming texture of the given size exists; false for an empty size.
bool ensure_texture(SDL_Renderer* renderer, SDL_Texture*& texture, int* have_w, int* have_h,
                    int width, int height) {
    if (width <= 0 || height <= 0) {
        destroy_texture(texture);
        return false;
    }
    if (texture != nullptr && *have_w == width && *have_h == height) return true;
    destroy_texture(texture);
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                width, height);
    *have_w = width;
    *have_h = height;
    return texture != nullptr;
}

// Uploads rows [from, to) of the texture from contiguous storage rows.
void upload_rows(SDL_Texture* texture, int width, int from, int to, const std::uint32_t* rows) {
    if (to <= from) return;
    SDL_Rect area{0, from, width, to - from};
    SDL_UpdateTexture(texture, &area, rows, width * int(sizeof(std::uint32_t)));
}

// A surface's rows are a ring starting at first_row: at most two contiguous runs.
void upload_surface(SDL_Texture* texture, const Surface& s) {
    int first = std::clamp(s.first_row, 0, std::max(s.height - 1, 0));
    int split = s.height - first;
    upload_rows(texture, s.width, 0, split, s.row(0));
    if (first > 0) upload_rows(texture, s.width, split, s.height, s.pixels.data());
}

// Copies a child's client pixels into the composed picture at (x, y).
void compose_child(std::vector<std::uint32_t>& out, int width, int height, const Surface& s, int x,
                   int y) {
    int left = std::max(x, 0), right = std::min(x + s.width, width);
    if (right <= left) return;
    for (int row = std::max(y, 0); row < std::min(y + s.height, height); ++row) {
        const std::uint32_t* src = s.row(row - y) + (left - x);
        std::copy(src, src + (right - left), out.data() + std::size_t(row) * width + left);
    }
}

void upload_composed(DesktopWindow& d, const Window& w,
                     const std::vector<const Window*>& children) {
    const Surface& s = w.surface;
    d.composed.resize(std::size_t(s.width) * std::size_t(s.height));
    for (int y = 0; y < s.height; ++y) {
        std::copy(s.row(y), s.row(y) + s.width, d.composed.data() + std::size_t(y) * s.width);
    }
    Point origin = client_origin(w);
    for (const Window* c : children) {
        Point at = client_origin(*c);
        compose_child(d.composed, s.width, s.height, c->surface, at.x - origin.x, at.y - origin.y);
    }
    upload_rows(d.client, s.width, 0, s.height, d.composed.data());
}

// Uploads the client pixels when they changed; returns whether they did.
bool update_client_texture(DesktopWindow& d, const Window& w) {
    std::vector<const Window*> children;
    visible_descendants(w, &children);
    std::uint64_t signature = client_signature(w, children);
    if (d.has_signature && signature == d.shown_signature && d.client != nullptr) return false;
    d.shown_signature = signature;
    d.has_signature = true;
    if (!ensure_texture(d.renderer, d.client, &d.client_w, &d.client_h, w.surface.width,
                        w.surface.height)) {
        return true;
    }
    if (children.empty()) {
        upload_surface(d.client, w.surface);
    } else {
        upload_composed(d, w, children);
    }
    return true;
}

void upload_whole(SDL_Texture* texture, const Surface& s) {
    upload_rows(texture, s.width, 0, s.height, s.pixels.data());
}

// Draws and uploads the bar strip and the open drop-down after a menu change.
void update_menu_textures(DesktopWindow& d, const Window& w) {
    int width = w.surface.width;
    int bar_h = menu_layout::BAR_HEIGHT;
    paint_bar(d.bar_pixels, width, d.view, d.geometry, d.menu);
    if (ensure_texture(d.renderer, d.bar, &d.bar_w, &bar_h, width, menu_layout::BAR_HEIGHT)) {
        upload_whole(d.bar, d.bar_pixels);
    }
    if (d.menu.open < 0) return;
    const Rect& r = d.geometry.popup;
    paint_popup(d.popup_pixels, d.view.popups[std::size_t(d.menu.open)], r.right - r.left,
                d.menu.hot);
    if (ensure_texture(d.renderer, d.popup, &d.popup_w, &d.popup_h, d.popup_pixels.width,
                       d.popup_pixels.height)) {
        upload_whole(d.popup, d.popup_pixels);
    }
}

void copy_texture(SDL_Renderer* renderer, SDL_Texture* texture, int x, int y, int w, int h) {
    if (texture == nullptr) return;
    SDL_Rect area{x, y, w, h};
    SDL_RenderCopy(renderer, texture, nullptr, &area);
}

}  // namespace

int bar_height(const Window& w) {
    return live_menu(w.menu) != nullptr ? menu_layout::BAR_HEIGHT : 0;
}

Size content_size(const Window& w) {
    return Size{w.client_width, w.client_height + bar_height(w)};
}

bool is_resizable(const Window& w) {
    return (w.style & WS_THICKFRAME) != 0;
}

bool open_desktop_window(DesktopWindow& d, const Window& w) {
    Size size = content_size(w);
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (is_resizable(w)) flags |= SDL_WINDOW_RESIZABLE;
    if ((w.style & WS_CAPTION) != WS_CAPTION) flags |= SDL_WINDOW_BORDERLESS;
    d.window = SDL_CreateWindow(w.title.c_str(), w.outer.left, w.outer.top, std::max(size.cx, 1),
                                std::max(size.cy, 1), flags);
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
    d.hwnd = const_cast<Window*>(&w);
    d.title = w.title;
    d.placed = w.outer;
    d.content = content_size(w);
    return true;
}

void close_desktop_window(DesktopWindow& d) {
    destroy_texture(d.client);
    destroy_texture(d.bar);
    destroy_texture(d.popup);
    if (d.renderer != nullptr) SDL_DestroyRenderer(d.renderer);
    if (d.window != nullptr) SDL_DestroyWindow(d.window);
    d.renderer = nullptr;
    d.window = nullptr;
}

void sync_desktop_window(DesktopWindow& d, const Window& w) {
    if (w.title != d.title) {
        d.title = w.title;
        SDL_SetWindowTitle(d.window, w.title.c_str());
    }
    // Only a size the core chose is given to the desktop; one the user gave
    // the SDL window reaches the core through its resize event.
    Size size = content_size(w);
    if (size.cx > 0 && size.cy > 0 && (d.content.cx != size.cx || d.content.cy != size.cy)) {
        SDL_SetWindowSize(d.window, size.cx, size.cy);
        d.needs_present = true;
        d.menu_dirty = true;
    }
    d.content = size;
    if (w.outer.left != d.placed.left || w.outer.top != d.placed.top) {
        SDL_SetWindowPosition(d.window, w.outer.left, w.outer.top);
    }
    d.placed = w.outer;
    if (w.visible != d.visible) {
        d.visible = w.visible;
        if (w.visible) {
            SDL_ShowWindow(d.window);
            d.needs_present = true;
        } else {
            SDL_HideWindow(d.window);
            if (menu_close(d.menu)) d.menu_dirty = true;
        }
    }
}

void menu_state_changed(DesktopWindow& d) {
    if (d.menu.open >= 0) d.geometry.popup = measure_popup(d.view, d.geometry, d.menu.open);
    d.menu_dirty = true;
}

void refresh_menu_view(DesktopWindow& d, const Window& w) {
    MenuView view = read_menu_view(w);
    if (same_view(view, d.view)) return;
    d.view = std::move(view);
    measure_bar(d.view, &d.geometry);
    bool still_open = d.menu.open >= 0 && std::size_t(d.menu.open) < d.view.popups.size() &&
                      !d.view.popups[std::size_t(d.menu.open)].empty();
    if (!still_open) menu_close(d.menu);
    menu_state_changed(d);
}

void present_desktop_window(DesktopWindow& d, const Window& w) {
    if (d.window == nullptr || !d.visible) return;
    refresh_menu_view(d, w);
    bool changed = update_client_texture(d, w);
    int bar_h = bar_height(w);
    bool with_menu = bar_h > 0;
    if (with_menu && (d.menu_dirty || d.bar_w != w.surface.width)) {
        update_menu_textures(d, w);
        changed = true;
    }
    d.menu_dirty = false;
    if (!changed && !d.needs_present) return;
    d.needs_present = false;
    SDL_SetRenderDrawColor(d.renderer, FACE_GREY, FACE_GREY, FACE_GREY, 255);
    SDL_RenderClear(d.renderer);
    copy_texture(d.renderer, d.client, 0, bar_h, d.client_w, d.client_h);
    if (with_menu) {
        copy_texture(d.renderer, d.bar, 0, 0, d.bar_w, menu_layout::BAR_HEIGHT);
        if (d.menu.open >= 0) {
            copy_texture(d.renderer, d.popup, d.geometry.popup.left, d.geometry.popup.top,
                         d.popup_w, d.popup_h);
        }
    }
    SDL_RenderPresent(d.renderer);
}

}  // namespace win::sdl
