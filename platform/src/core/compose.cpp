// Composing a window's picture: its menu bar strip, its client pixels, its
// visible child windows (each clipped to its parents' client areas) and the
// open drop-down.  Every backend presents this picture and the headless
// window images are cut from it, so all of them show the same pixels.
#include <algorithm>

#include "core/window.h"
#include "menu_bar/layout.h"
#include "raster/surface_copy.h"

namespace win {
namespace {

// The band between a framed child's outer rectangle and its client area.
constexpr std::uint32_t CHILD_FRAME = 0x404040;

// One child window's pixels, placed in picture coordinates.
struct Layer {
    const Surface* pixels = nullptr;
    Rect outer;   // the child's outer rectangle
    Rect client;  // where its client pixels go
    Rect clip;    // what its parents let show
};

Rect intersect(const Rect& a, const Rect& b) {
    return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool is_empty(const Rect& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

Rect moved(const Rect& r, Point by) {
    return Rect{r.left - by.x, r.top - by.y, r.right - by.x, r.bottom - by.y};
}

// The visible children of w, depth first, each before its own children.
// base is the screen position of the picture's top-left corner.
void collect_children(const Window& w, Point base, const Rect& clip, std::vector<Layer>* out) {
    for (HWND child : w.children) {
        const Window* c = live_window(child);
        if (c == nullptr || !c->visible) continue;
        Point origin = client_origin(*c);
        Layer layer;
        layer.pixels = &c->surface;
        layer.outer = moved(c->outer, base);
        layer.client = moved(
            Rect{origin.x, origin.y, origin.x + c->surface.width, origin.y + c->surface.height},
            base);
        layer.clip = clip;
        out->push_back(layer);
        collect_children(*c, base, intersect(clip, layer.client), out);
    }
}

void shown_descendants(const Window& w, std::vector<HWND>* out) {
    for (HWND child : w.children) {
        const Window* c = live_window(child);
        if (c == nullptr || !c->visible) continue;
        out->push_back(child);
        shown_descendants(*c, out);
    }
}

// A flush may draw, create or destroy windows: the list is taken first.
void flush_window_and_children(HWND hwnd) {
    std::vector<HWND> windows{hwnd};
    if (const Window* w = live_window(hwnd)) shown_descendants(*w, &windows);
    for (HWND each : windows) flush_deferred(each);
}

void fill(Surface& s, const Rect& r, std::uint32_t pixel) {
    Rect area = intersect(r, Rect{0, 0, s.width, s.height});
    for (int y = area.top; y < area.bottom; ++y) {
        std::fill(s.row(y) + area.left, s.row(y) + area.right, pixel);
    }
}

void add_surface_key(std::vector<std::uint64_t>& key, const Surface& s) {
    key.push_back(std::uint64_t(std::uintptr_t(&s)));
    key.push_back(s.version);
    key.push_back(std::uint64_t(std::uint32_t(s.width)) << 32 | std::uint32_t(s.height));
}

void add_rect_key(std::vector<std::uint64_t>& key, const Rect& r) {
    key.push_back(std::uint64_t(std::uint32_t(r.left)) << 32 | std::uint32_t(r.top));
    key.push_back(std::uint64_t(std::uint32_t(r.right)) << 32 | std::uint32_t(r.bottom));
}

// Everything a picture is made of; the picture is rebuilt only when it changes.
struct Parts {
    const Surface* bar = nullptr;
    const Surface* client = nullptr;
    int client_top = 0;
    std::vector<Layer> children;
    const Surface* popup = nullptr;
    Rect popup_place;

    std::vector<std::uint64_t> key() const {
        std::vector<std::uint64_t> key;
        add_surface_key(key, *client);
        key.push_back(std::uint64_t(std::uint32_t(client->first_row)));
        if (bar != nullptr) add_surface_key(key, *bar);
        for (const Layer& layer : children) {
            add_surface_key(key, *layer.pixels);
            add_rect_key(key, layer.outer);
            add_rect_key(key, layer.client);
            add_rect_key(key, layer.clip);
        }
        if (popup != nullptr) {
            add_surface_key(key, *popup);
            add_rect_key(key, popup_place);
        }
        return key;
    }
};

Parts parts_of(Window& w) {
    Parts parts;
    parts.client = &w.surface;
    parts.client_top = menu_strip_height(w);
    if (parts.client_top > 0) {
        w.menu_bar.refresh(&w);
        parts.bar = &w.menu_bar.bar(w.surface.width);
        parts.popup = w.menu_bar.popup(&parts.popup_place);
    }
    Point origin = client_origin(w);
    Point base{origin.x, origin.y - parts.client_top};
    Rect client_area{0, parts.client_top, w.surface.width, parts.client_top + w.surface.height};
    collect_children(w, base, client_area, &parts.children);
    return parts;
}

// Without overlapping layers the rows are the strip's and the client's own.
void point_at_parts(const Parts& parts, backend::Picture& picture) {
    for (int y = 0; y < parts.client_top; ++y) picture.rows.push_back(parts.bar->row(y));
    for (int y = 0; y < parts.client->height; ++y) picture.rows.push_back(parts.client->row(y));
}

void compose_layers(const Parts& parts, Surface& scratch, backend::Picture& picture) {
    if (scratch.width != picture.width || scratch.height != picture.height) {
        scratch.resize(picture.width, picture.height, 0);
    }
    if (parts.bar != nullptr) copy_surface(*parts.bar, scratch, 0, 0);
    copy_surface(*parts.client, scratch, 0, parts.client_top);
    for (const Layer& layer : parts.children) {
        if (layer.outer.left != layer.client.left || layer.outer.top != layer.client.top ||
            layer.outer.right != layer.client.right || layer.outer.bottom != layer.client.bottom) {
            fill(scratch, intersect(layer.outer, layer.clip), CHILD_FRAME);
        }
        Rect shown = intersect(layer.client, layer.clip);
        if (is_empty(shown)) continue;
        Rect area = moved(shown, Point{layer.client.left, layer.client.top});
        copy_surface_area(*layer.pixels, area, scratch, shown.left, shown.top);
    }
    if (parts.popup != nullptr) {
        copy_surface(*parts.popup, scratch, parts.popup_place.left, parts.popup_place.top);
    }
    for (int y = 0; y < scratch.height; ++y) picture.rows.push_back(scratch.row(y));
}

std::uint64_t next_picture_version() {
    static std::uint64_t version = 0;
    return ++version;
}

}  // namespace

int menu_strip_height(const Window& w) {
    return w.parent == nullptr && live_menu(w.menu) != nullptr ? menu_bar::layout::BAR_HEIGHT : 0;
}

const backend::Picture& backend::compose(HWND hwnd) {
    static const Picture none;
    flush_window_and_children(hwnd);
    Window* w = live_window(hwnd);
    if (w == nullptr) return none;
    Parts parts = parts_of(*w);
    std::vector<std::uint64_t> key = parts.key();
    Composition& c = w->composition;
    if (c.picture.version != 0 && key == c.key) return c.picture;
    c.key = std::move(key);
    Picture& picture = c.picture;
    picture.width = w->surface.width;
    picture.height = parts.client_top + w->surface.height;
    picture.client_top = parts.client_top;
    picture.rows.clear();
    if (parts.children.empty() && parts.popup == nullptr) {
        point_at_parts(parts, picture);
        c.scratch = Surface{};
    } else {
        compose_layers(parts, c.scratch, picture);
    }
    picture.version = next_picture_version();
    return picture;
}

}  // namespace win
