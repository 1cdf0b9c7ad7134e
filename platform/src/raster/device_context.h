// The device-context record: where drawing goes and with which objects.
// Internal to the windowing layer.
#pragma once

#include <algorithm>

#include "kv390/win.h"
#include "raster/gdi_objects.h"
#include "raster/surface.h"

namespace win {

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
