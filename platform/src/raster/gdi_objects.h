// The GDI object records: pens, brushes, fonts and bitmaps, and the links
// that keep live records in a list.  Internal to the windowing layer.
#pragma once

#include "kv390/win.h"
#include "raster/surface.h"

namespace win {

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

}  // namespace win
