// text_out: monochrome glyph runs written straight into the DC's surface,
// clipped in 64-bit arithmetic so that any int32 position is safe and only
// visible glyphs are touched.
#include <algorithm>
#include <cstdint>

#include "text/font_cache.h"

namespace win {
namespace {

struct Clip {
    std::int64_t left, top, right, bottom;
    bool empty() const { return left >= right || top >= bottom; }
};

// The DC's drawing bounds, never beyond its surface.
Clip clip_of(const DeviceContext& dc) {
    const Rect b = dc_bounds(dc);
    return Clip{std::max<std::int64_t>(b.left, 0), std::max<std::int64_t>(b.top, 0),
                std::min<std::int64_t>(b.right, dc.surface->width),
                std::min<std::int64_t>(b.bottom, dc.surface->height)};
}

// Writes [x0, x1) of row y when visible; returns whether anything was written.
bool fill_run(Surface& surface, const Clip& clip, std::int64_t y, std::int64_t x0, std::int64_t x1,
              std::uint32_t pixel) {
    if (y < clip.top || y >= clip.bottom) return false;
    x0 = std::max(x0, clip.left);
    x1 = std::min(x1, clip.right);
    if (x0 >= x1) return false;
    std::uint32_t* row = surface.row(std::int32_t(y));
    std::fill(row + x0, row + x1, pixel);
    return true;
}

bool fill_cell(Surface& surface, const Clip& clip, std::int64_t x, std::int64_t y,
               std::int64_t width, std::int64_t height, std::uint32_t pixel) {
    const std::int64_t top = std::max(y, clip.top);
    const std::int64_t bottom = std::min(y + height, clip.bottom);
    bool wrote = false;
    for (std::int64_t row = top; row < bottom; ++row)
        wrote |= fill_run(surface, clip, row, x, x + width, pixel);
    return wrote;
}

bool draw_glyph(Surface& surface, const Clip& clip, const text::Glyph& glyph, std::int64_t pen_x,
                std::int64_t cell_top, std::uint32_t pixel) {
    bool wrote = false;
    for (const text::GlyphSpan& span : glyph.spans) {
        const std::int64_t x0 = pen_x + span.x;
        wrote |= fill_run(surface, clip, cell_top + span.dy, x0, x0 + span.length, pixel);
    }
    return wrote;
}

bool draw_glyphs(Surface& surface, const Clip& clip, text::SizedFont& font, std::int64_t x,
                 std::int64_t y, const char* text, int count, std::uint32_t pixel) {
    const text::InkBounds& ink = font.ink();
    if (y + ink.bottom <= clip.top || y + ink.top >= clip.bottom) return false;
    bool wrote = false;
    std::int64_t pen_x = x;
    for (int i = 0; i < count; ++i) {
        if (pen_x + ink.left >= clip.right) break;  // advances never move left
        const auto code = static_cast<unsigned char>(text[i]);
        if (pen_x + ink.right > clip.left)
            wrote |= draw_glyph(surface, clip, font.glyph(code), pen_x, y, pixel);
        pen_x += font.advance(code);
    }
    return wrote;
}

}  // namespace

bool text_out(HDC hdc, int x, int y, const char* text, int count) {
    if (!hdc || !hdc->surface || count < 0 || (count > 0 && !text)) return false;
    Surface& surface = *hdc->surface;
    const Clip clip = clip_of(*hdc);
    text::SizedFont& font = text::font_for(text::selected_font_request(*hdc));
    bool wrote = false;
    if (!clip.empty()) {
        if (hdc->bk_mode == OPAQUE) {
            const std::int64_t width = count > 0 ? font.text_width(text, std::size_t(count)) : 0;
            wrote |= fill_cell(surface, clip, x, y, width, font.metrics().height,
                               pixel_of(hdc->bk_color));
        }
        if (count > 0)
            wrote |= draw_glyphs(surface, clip, font, x, y, text, count, pixel_of(hdc->text_color));
    }
    if (wrote) surface.touch();
    return true;
}

}  // namespace win
