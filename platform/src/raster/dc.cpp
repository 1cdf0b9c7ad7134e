// Device contexts: creation with the default objects, bounds, memory DCs,
// pixel copies, and the text colour / background state.
#include <algorithm>
#include <cstring>

#include "raster/live_list.h"
#include "raster/objects.h"

namespace win {
namespace {

// A paint or window DC is made and freed for every repaint.
constexpr std::size_t SPARE_DCS = 16;

constinit raster::LiveList<DeviceContext, SPARE_DCS> live_dcs;

}  // namespace

HDC make_dc(Surface* surface, HWND window) {
    HDC dc = live_dcs.acquire();
    dc->surface = surface;
    dc->window = window;
    raster::swap_selection(*dc, get_stock_object(BLACK_PEN));
    raster::swap_selection(*dc, get_stock_object(WHITE_BRUSH));
    raster::swap_selection(*dc, get_stock_object(SYSTEM_FONT));
    dc->text_color = rgb(0, 0, 0);
    dc->bk_color = rgb(255, 255, 255);
    dc->bk_mode = OPAQUE;
    return dc;
}

void free_dc(HDC hdc) {
    // A DC freed before is ignored: its record is marked not alive.
    if (!hdc || !hdc->alive) return;
    raster::release_selections(*hdc);
    live_dcs.release(hdc);
}

namespace raster {

void free_all_dcs() {
    while (HDC dc = live_dcs.first()) free_dc(dc);
}

std::size_t live_dc_count() {
    return live_dcs.live_count();
}

}  // namespace raster

HDC create_compatible_dc(HDC /*hdc*/) {
    HDC dc = make_dc(nullptr, nullptr);
    dc->memory = true;
    raster::swap_selection(*dc, raster::default_bitmap());
    return dc;
}

bool delete_dc(HDC hdc) {
    // Window DCs go back through release_dc / end_paint.
    if (!hdc || !hdc->alive || !hdc->memory) return false;
    free_dc(hdc);
    return true;
}

Image dc_image(HDC hdc) {
    Image image;
    if (!hdc || !hdc->surface) return image;
    const Surface& s = *hdc->surface;
    image.width = s.width;
    image.height = s.height;
    image.pixels.resize(std::size_t(s.width) * std::size_t(s.height));
    for (std::int32_t y = 0; y < s.height; ++y) {
        std::memcpy(image.pixels.data() + std::size_t(y) * std::size_t(s.width), s.row(y),
                    std::size_t(s.width) * sizeof(std::uint32_t));
    }
    return image;
}

COLORREF set_text_color(HDC hdc, COLORREF color) {
    if (!hdc) return 0xFFFFFFFFu;
    const COLORREF previous = hdc->text_color;
    hdc->text_color = color & 0xFFFFFFu;
    return previous;
}

COLORREF get_text_color(HDC hdc) {
    return hdc ? hdc->text_color : 0xFFFFFFFFu;
}

COLORREF set_bk_color(HDC hdc, COLORREF color) {
    if (!hdc) return 0xFFFFFFFFu;
    const COLORREF previous = hdc->bk_color;
    hdc->bk_color = color & 0xFFFFFFu;
    return previous;
}

COLORREF get_bk_color(HDC hdc) {
    return hdc ? hdc->bk_color : 0xFFFFFFFFu;
}

int set_bk_mode(HDC hdc, int mode) {
    if (!hdc || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = hdc->bk_mode;
    hdc->bk_mode = mode;
    return previous;
}

int get_bk_mode(HDC hdc) {
    return hdc ? hdc->bk_mode : 0;
}

}  // namespace win
