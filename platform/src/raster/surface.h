// Pixel storage shared by windows and memory bitmaps, and the GDI object and
// device-context records.  Internal to the windowing layer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "kv390/win.h"

namespace win {

// A bitmap of 0x00RRGGBB pixels.  Rows are kept as a ring (first_row is the
// storage row of device row 0) so that a whole-surface vertical scroll moves
// an offset instead of every pixel.
struct Surface {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::int32_t first_row = 0;
    std::uint64_t version = 0;  // bumped on every change; backends present when it moved

    std::uint32_t* row(std::int32_t y) {
        std::int32_t r = y + first_row;
        if (r >= height) r -= height;
        return pixels.data() + std::size_t(r) * std::size_t(width);
    }
    const std::uint32_t* row(std::int32_t y) const { return const_cast<Surface*>(this)->row(y); }
    void resize(std::int32_t w, std::int32_t h, std::uint32_t fill) {
        width = w < 0 ? 0 : w;
        height = h < 0 ? 0 : h;
        pixels.assign(std::size_t(width) * std::size_t(height), fill);
        first_row = 0;
        ++version;
    }
    void touch() { ++version; }
};

struct FontRequest {
    std::int32_t height = 0;  // as given to create_font
    std::int32_t weight = 400;
    bool fixed_pitch = false;
};

// The stock fonts, as font requests (see create_font for the height rule).
constexpr FontRequest SYSTEM_FONT_REQUEST{-13, 700, false};
constexpr FontRequest ANSI_FIXED_FONT_REQUEST{-12, 400, true};
constexpr FontRequest ANSI_VAR_FONT_REQUEST{-12, 400, false};
constexpr FontRequest DEFAULT_GUI_FONT_REQUEST{-11, 400, false};

// A record's place in a circular list of records (raster/live_list.h).  A
// copy starts outside any list, and a record destroyed while in a list (for
// instance deleted directly rather than through delete_object) leaves it.
struct LiveNode {
    LiveNode* prev = nullptr;
    LiveNode* next = nullptr;
};
struct LiveLink : LiveNode {
    void* owner = nullptr;  // the record holding this link
    LiveLink() = default;
    LiveLink(const LiveLink&) noexcept : LiveNode() {}
    LiveLink& operator=(const LiveLink&) noexcept { return *this; }
    ~LiveLink() { unlink(); }
    void unlink() {
        if (next == nullptr) return;
        prev->next = next;
        next->prev = prev;
        prev = next = nullptr;
    }
};

struct GdiObject {
    enum class Kind { Pen, Brush, Font, Bitmap } kind = Kind::Pen;
    bool stock = false;
    int selected = 0;  // number of DCs this object is selected into
    // Pen
    int pen_style = PS_SOLID;
    int pen_width = 1;
    // Pen and brush colour; a brush with is_null paints nothing.
    COLORREF color = 0;
    bool is_null = false;
    // Font
    FontRequest font;
    // Bitmap
    Surface surface;
    // Live-object list (raster/objects.cpp): alive from creation until deleted.
    bool alive = false;
    LiveLink live;
};

struct DeviceContext {
    Surface* surface = nullptr;  // window client surface or the selected bitmap's
    HWND window = nullptr;       // set for window DCs
    bool memory = false;
    bool has_clip = false;  // clip (surface coordinates) limits drawing when set
    Rect clip;
    HGDIOBJ pen = nullptr, brush = nullptr, font = nullptr, bitmap = nullptr;
    COLORREF text_color = 0;
    COLORREF bk_color = 0xFFFFFF;
    int bk_mode = OPAQUE;
    Point position;
    // Live-DC list (raster/dc.cpp): alive from make_dc until free_dc.
    bool alive = false;
    LiveLink live;
};

// Creates a DC drawing into surface (owned elsewhere), with the default
// objects selected: black pen, white brush, system font.
HDC make_dc(Surface* surface, HWND window);
void free_dc(HDC hdc);
// The rectangle a DC may draw into: its surface bounds, cut by its clip.
inline Rect dc_bounds(const DeviceContext& dc) {
    Rect r;
    if (!dc.surface) return r;
    r.right = dc.surface->width;
    r.bottom = dc.surface->height;
    if (dc.has_clip) {
        r.left = std::max(r.left, dc.clip.left);
        r.top = std::max(r.top, dc.clip.top);
        r.right = std::min(r.right, dc.clip.right);
        r.bottom = std::min(r.bottom, dc.clip.bottom);
    }
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

}  // namespace win
