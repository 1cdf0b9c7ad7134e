// Invalid regions (one bounding rectangle per window), painting, window DCs
// and copies of the client pixels.
#include <algorithm>

#include "core/window.h"

namespace win {

static Rect intersect(const Rect& a, const Rect& b) {
    return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

static bool is_empty(const Rect& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

static Rect client_bounds(const Window& w) {
    return Rect{0, 0, w.client_width, w.client_height};
}

bool invalidate_rect(HWND hwnd, const Rect* rect, bool erase) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    Rect area = rect != nullptr ? intersect(*rect, client_bounds(*w)) : client_bounds(*w);
    if (is_empty(area)) return true;
    if (w->has_invalid) {
        const Rect& old = w->invalid;
        area = Rect{std::min(old.left, area.left), std::min(old.top, area.top),
                    std::max(old.right, area.right), std::max(old.bottom, area.bottom)};
    }
    w->invalid = area;
    w->has_invalid = true;
    w->erase = w->erase || erase;
    return true;
}

// What stays invalid after taking away a rectangle: the bounding rectangle
// may only shrink where the validated part spans it completely.
static Rect subtract(const Rect& invalid, const Rect& valid) {
    Rect r = invalid;
    bool spans_x = valid.left <= r.left && valid.right >= r.right;
    bool spans_y = valid.top <= r.top && valid.bottom >= r.bottom;
    if (spans_x && valid.top <= r.top && valid.bottom > r.top) r.top = valid.bottom;
    if (spans_x && valid.bottom >= r.bottom && valid.top < r.bottom) r.bottom = valid.top;
    if (spans_y && valid.left <= r.left && valid.right > r.left) r.left = valid.right;
    if (spans_y && valid.right >= r.right && valid.left < r.right) r.right = valid.left;
    return r;
}

bool validate_rect(HWND hwnd, const Rect* rect) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    if (!w->has_invalid) return true;
    Rect rest = rect != nullptr ? subtract(w->invalid, *rect) : Rect{};
    if (is_empty(rest)) {
        w->has_invalid = false;
        w->erase = false;
        w->invalid = Rect{};
    } else {
        w->invalid = rest;
    }
    return true;
}

bool get_update_rect(HWND hwnd, Rect* rect) {
    Window* w = live_window(hwnd);
    if (w == nullptr || !w->has_invalid) {
        if (rect != nullptr) *rect = Rect{};
        return false;
    }
    if (rect != nullptr) *rect = w->invalid;
    return true;
}

// Fills the rectangle with the class background; false when the class has
// none (the window then erases itself).
static bool erase_background(Window& w, const Rect& area) {
    const GdiObject* brush = w.background;
    if (brush == nullptr || brush->kind != GdiObject::Kind::Brush) return false;
    if (brush->is_null) return true;
    std::uint32_t px = pixel_of(brush->color);
    for (int y = area.top; y < area.bottom; ++y) {
        std::fill(w.surface.row(y) + area.left, w.surface.row(y) + area.right, px);
    }
    w.surface.touch();
    return true;
}

HDC begin_paint(HWND hwnd, PaintStruct* ps) {
    flush_deferred(hwnd);
    Window* w = live_window(hwnd);
    if (w == nullptr || ps == nullptr) return nullptr;
    Rect area = w->has_invalid ? intersect(w->invalid, client_bounds(*w)) : Rect{};
    if (is_empty(area)) area = Rect{};
    bool erase_asked = w->has_invalid && w->erase;
    bool erased = erase_asked && !is_empty(area) && erase_background(*w, area);
    validate_rect(hwnd, nullptr);
    HDC hdc = make_dc(&w->surface, hwnd);
    hdc->has_clip = true;
    hdc->clip = area;
    ps->hdc = hdc;
    ps->paint = area;
    ps->erase = erase_asked && !erased;
    return hdc;
}

bool end_paint(HWND, const PaintStruct* ps) {
    if (ps == nullptr || ps->hdc == nullptr) return false;
    free_dc(ps->hdc);
    return true;
}

bool update_window(HWND hwnd) {
    Window* w = live_window(hwnd);
    if (w == nullptr) return false;
    if (w->has_invalid && is_shown(hwnd)) send_message(hwnd, WM_PAINT, 0, 0);
    return true;
}

HDC get_dc(HWND hwnd) {
    flush_deferred(hwnd);
    Window* w = live_window(hwnd);
    if (w == nullptr) return nullptr;
    return make_dc(&w->surface, hwnd);
}

int release_dc(HWND, HDC hdc) {
    if (hdc == nullptr) return 0;
    free_dc(hdc);
    return 1;
}

// The client rows of the window's picture: what a desktop shows below the
// menu bar, child windows and an open drop-down included.
Image window_image(HWND hwnd) {
    Image image;
    const backend::Picture& picture = backend::compose(hwnd);
    image.width = picture.width;
    image.height = picture.height - picture.client_top;
    image.pixels.resize(std::size_t(image.width) * std::size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        std::copy_n(picture.rows[std::size_t(picture.client_top + y)], image.width,
                    image.pixels.data() + std::size_t(y) * std::size_t(image.width));
    }
    return image;
}

Image backend::record_image(HWND hwnd) {
    Image image;
    for (const auto& record : core().windows) {
        if (record.get() != hwnd) continue;
        const Surface& s = record->surface;
        image.width = s.width;
        image.height = s.height;
        image.pixels.resize(std::size_t(s.width) * std::size_t(s.height));
        for (int y = 0; y < s.height; ++y) {
            std::copy_n(s.row(y), s.width, image.pixels.data() + std::size_t(y) * s.width);
        }
    }
    return image;
}

// Recorders (the headless render request) take their frames in the backend.
void note_frame(HWND hwnd) {
    ensure_backend().window_event(hwnd, backend::WindowEvent::Frame);
}

}  // namespace win
