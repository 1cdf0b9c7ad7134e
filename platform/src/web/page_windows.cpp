// Top-level windows as canvases: created (hidden) in the windows' creation
// order, hidden and shown with them, removed when it is destroyed; a window's picture
// is presented when its pixels changed.
#include "web/page_windows.h"

#include <algorithm>
#include <memory>

#include "core/window.h"
#include "web/page.h"

namespace win::web {
namespace {

struct Canvases {
    std::vector<PageWindow> windows;
    int next_id = 1;
    bool title_set = false;
};

Canvases& canvases() {
    static Canvases* instance = new Canvases;  // lives as long as the page
    return *instance;
}

std::uint64_t mix(std::uint64_t hash, std::uint64_t value) {
    return hash ^ (value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2));
}

std::uint64_t picture_signature(const Window& w) {
    std::uint64_t hash = mix(mix(mix(0, w.surface.version), std::uint64_t(w.surface.width)),
                             std::uint64_t(w.surface.height));
    for (HWND child : w.children) {
        const Window* c = live_window(child);
        if (c != nullptr && c->visible) hash = mix(mix(hash, c->surface.version), 1);
    }
    return hash;
}

void tell_page(const PageWindow& p) {
    kv390_page_window(p.id, p.visible ? 1 : 0, p.floating ? 1 : 0, p.at.x, p.at.y,
                      p.title.c_str());
}

void update(PageWindow& p, const Window& w) {
    Point origin = client_origin(w);
    bool floating = w.owner != nullptr;
    if (p.visible == w.visible && p.floating == floating && p.title == w.title &&
        (!floating || (p.at.x == origin.x && p.at.y == origin.y))) {
        return;
    }
    p.visible = w.visible;
    p.floating = floating;
    p.at = floating ? origin : Point{};
    p.title = w.title;
    p.needs_present = true;
    tell_page(p);
}

}  // namespace

void sync_page_windows() {
    auto& c = canvases();
    for (PageWindow& p : c.windows) {
        if (live_window(p.hwnd) == nullptr) kv390_page_window(p.id, -1, 0, 0, 0, "");
    }
    c.windows.erase(std::remove_if(c.windows.begin(), c.windows.end(),
                                   [](const PageWindow& p) { return live_window(p.hwnd) == nullptr; }),
                    c.windows.end());
    for (const auto& record : core().windows) {
        const Window& w = *record;
        if (w.parent != nullptr || w.destroyed) continue;
        PageWindow* p = page_window_of(record.get());
        if (p == nullptr) {  // canvases follow each other in creation order
            c.windows.push_back(PageWindow{});
            p = &c.windows.back();
            p->hwnd = record.get();
            p->id = c.next_id++;
            p->visible = !w.visible;  // forces the first update
        }
        update(*p, w);
        if (!c.title_set && w.visible) {
            kv390_page_set_title(w.title.c_str());
            c.title_set = true;
        }
    }
}

void present_page_windows() {
    for (PageWindow& p : canvases().windows) {
        const Window* w = live_window(p.hwnd);
        if (w == nullptr || !p.visible) continue;
        std::uint64_t signature = picture_signature(*w);
        if (!p.needs_present && signature == p.shown) continue;
        Image picture = window_image(p.hwnd);
        kv390_page_present(p.id, picture.pixels.data(), picture.width, picture.height);
        p.shown = signature;
        p.needs_present = false;
    }
}

PageWindow* page_window_by_id(int id) {
    for (PageWindow& p : canvases().windows) {
        if (p.id == id) return &p;
    }
    return nullptr;
}

PageWindow* page_window_of(HWND hwnd) {
    for (PageWindow& p : canvases().windows) {
        if (p.hwnd == hwnd) return &p;
    }
    return nullptr;
}

}  // namespace win::web
