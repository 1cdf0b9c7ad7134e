// Top-level windows as canvases: created (hidden) in the windows' creation
// order, hidden and shown with them, removed when they are destroyed.  The
// program's own windows follow each other down the page; pop-up windows
// (dialogs) float over it at their screen position.
#include "web/page_windows.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/backend.h"
#include "web/page.h"

namespace win::web {
namespace {

struct Canvases {
    std::vector<PageWindow> windows;
    std::vector<std::uint32_t> pixels;  // one picture, rows one after another
    int next_id = 1;
    bool title_set = false;
};

Canvases& canvases() {
    static Canvases* instance = new Canvases;  // lives as long as the page
    return *instance;
}

bool is_alive(HWND hwnd) {
    for (const backend::TopLevel& t : backend::top_levels()) {
        if (t.hwnd == hwnd) return true;
    }
    return false;
}

void remove_gone_windows() {
    auto& windows = canvases().windows;
    auto gone = std::stable_partition(windows.begin(), windows.end(),
                                      [](const PageWindow& p) { return is_alive(p.hwnd); });
    for (auto p = gone; p != windows.end(); ++p) kv390_page_window(p->id, -1, 0, 0, 0, "");
    windows.erase(gone, windows.end());
}

// Where a floating window's picture goes: its outer rectangle less the frame
// and caption.
Point picture_position(const backend::TopLevel& t) {
    int frame = std::max(0, (t.outer.right - t.outer.left - t.content.cx) / 2);
    int below_caption = t.outer.bottom - frame - t.content.cy;
    return Point{t.outer.left + frame, std::max(t.outer.top, below_caption)};
}

void update(PageWindow& p, const backend::TopLevel& t) {
    bool floating = (get_window_style(t.hwnd) & WS_POPUP) != 0;
    Point at = floating ? picture_position(t) : Point{};
    if (p.visible == t.visible && p.floating == floating && p.title == t.title && p.at.x == at.x &&
        p.at.y == at.y) {
        return;
    }
    p.visible = t.visible;
    p.floating = floating;
    p.at = at;
    p.title = t.title;
    p.needs_present = true;
    kv390_page_window(p.id, p.visible ? 1 : 0, p.floating ? 1 : 0, p.at.x, p.at.y, p.title.c_str());
}

}  // namespace

void sync_page_windows() {
    auto& c = canvases();
    remove_gone_windows();
    for (const backend::TopLevel& t : backend::top_levels()) {
        PageWindow* p = page_window_of(t.hwnd);
        if (p == nullptr) {
            c.windows.push_back(PageWindow{});
            p = &c.windows.back();
            p->hwnd = t.hwnd;
            p->id = c.next_id++;
            p->visible = !t.visible;  // forces the first update
        }
        update(*p, t);
        if (!c.title_set && t.visible) {  // the page is named after the first window
            kv390_page_set_title(t.title.c_str());
            c.title_set = true;
        }
    }
}

void present_page_windows() {
    auto& c = canvases();
    for (PageWindow& p : c.windows) {
        if (!p.visible) continue;
        const backend::Picture& picture = backend::compose(p.hwnd);
        if (!p.needs_present && picture.version == p.shown) continue;
        std::size_t width = std::size_t(picture.width);
        c.pixels.resize(width * std::size_t(picture.height));
        for (std::size_t y = 0; y < picture.rows.size(); ++y) {
            std::memcpy(&c.pixels[y * width], picture.rows[y], width * sizeof(std::uint32_t));
        }
        kv390_page_present(p.id, c.pixels.data(), picture.width, picture.height);
        p.shown = picture.version;
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
