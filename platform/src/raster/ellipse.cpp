// Ellipses: each row's span comes straight from an exact integer inequality,
// so any box, however large, costs only its visible rows.
#include <algorithm>
#include <cmath>

#include "raster/figures.h"
#include "raster/one_colour.h"
#include "raster/raster_math.h"

namespace win::raster {

namespace {

// Whether x2^2 h^2 <= limit, in the arithmetic the box needs.
struct RowTest {
    bool narrow;  // both axes below 2^31: 128-bit products suffice
    u128 h2, limit128;
    U256 limit256;
    bool fits(std::int64_t x2) const {
        const u128 x2sq = u128(x2) * u128(x2);
        return narrow ? x2sq * h2 <= limit128 : mul_wide(x2sq, h2) <= limit256;
    }
};

// The largest x2 in [-1, w - 1] with fits(x2) (fits is monotone), searched
// from estimate, then given the parity of w - 1.
template <typename Fits>
std::int64_t settle(std::int64_t w, std::int64_t estimate, Fits fits) {
    std::int64_t x2 = std::min<std::int64_t>(std::max<std::int64_t>(estimate, 0), w - 1);
    while (x2 < w - 1 && fits(x2 + 1)) ++x2;
    while (x2 >= 0 && !fits(x2)) --x2;
    if (x2 >= 0 && ((x2 ^ (w - 1)) & 1)) --x2;
    return x2;
}

std::int64_t estimate_half_width(std::int64_t w, std::int64_t h, std::int64_t y2) {
    const double ratio = double(y2) / double(h);
    return std::int64_t(double(w) * std::sqrt(std::max(0.0, 1.0 - ratio * ratio)));
}

// Below this size on both axes every product of the row test fits 63 bits.
constexpr std::int64_t SMALL_AXIS = std::int64_t(1) << 15;

// Half-width, in doubled coordinates, of the ellipse row at doubled offset
// y2 from the centre: the largest x2 with the parity of width - 1 such that
// x2^2 h^2 + y2^2 w^2 <= w^2 h^2; -1 when the row is empty.  The search of a
// small ellipse starts from hint (a neighbouring row's answer) when there is
// one: rows come in order, so it moves a few steps instead of taking a root.
std::int64_t doubled_half_width(std::int64_t w, std::int64_t h, std::int64_t y2,
                                const std::int64_t* hint) {
    const std::int64_t ay = y2 < 0 ? -y2 : y2;
    if (w < SMALL_AXIS && h < SMALL_AXIS) {
        const std::int64_t h2 = h * h, limit = w * w * ((h - ay) * (h + ay));
        const std::int64_t estimate = hint ? *hint : estimate_half_width(w, h, y2);
        return settle(w, estimate, [&](std::int64_t x2) { return x2 * x2 * h2 <= limit; });
    }
    const std::int64_t estimate = estimate_half_width(w, h, y2);
    const u128 uay = u128(ay), uw = u128(w), uh = u128(h);
    const u128 rest = (uh - uay) * (uh + uay);
    RowTest test{w < (std::int64_t(1) << 31) && h < (std::int64_t(1) << 31), uh * uh, 0, {}};
    if (test.narrow) {
        test.limit128 = uw * uw * rest;
    } else {
        test.limit256 = mul_wide(uw * uw, rest);
    }
    return settle(w, estimate, [&test](std::int64_t x2) { return test.fits(x2); });
}

}  // namespace

bool EllipseShape::row_span(std::int64_t y, Span* span) const {
    if (box_.empty() || y < box_.top || y >= box_.bottom) return false;
    const std::int64_t w = box_.width(), h = box_.height();
    if (w <= 2 || h <= 2) {
        *span = {box_.left, box_.right};
        return true;
    }
    const std::int64_t y2 = 2 * y - (box_.top + box_.bottom - 1);
    const std::int64_t x2 = doubled_half_width(w, h, y2, has_hint_ ? &hint_ : nullptr);
    hint_ = x2;
    has_hint_ = true;
    if (x2 < 0) return false;
    const std::int64_t centre2 = box_.left + box_.right - 1;
    *span = {(centre2 - x2) / 2, (centre2 + x2) / 2 + 1};
    return true;
}

void EllipseShape::add_spans(std::int64_t y, SpanList& out) const {
    Span s;
    if (row_span(y, &s)) out.push_back(s);
}

bool EllipseOutlineShape::cached_row(std::int64_t y, Span* span) const {
    // Rows are painted in order, so each row is asked for three times in a row.
    CachedRow& slot = cache_[std::size_t(y & 3)];
    if (!slot.valid || slot.y != y) {
        slot.y = y;
        slot.valid = true;
        slot.present = fill_.row_span(y, &slot.span);
    }
    *span = slot.span;
    return slot.present;
}

void EllipseOutlineShape::add_spans(std::int64_t y, SpanList& out) const {
    Span here, above, below;
    if (!cached_row(y, &here)) return;
    if (!cached_row(y - 1, &above) || !cached_row(y + 1, &below)) {
        out.push_back(here);
        return;
    }
    const std::int64_t inner0 = std::max({here.x0 + 1, above.x0, below.x0});
    const std::int64_t inner1 = std::min({here.x1 - 1, above.x1, below.x1});
    if (inner0 >= inner1) {
        out.push_back(here);
        return;
    }
    out.push_back({here.x0, inner0});
    out.push_back({inner1, here.x1});
}

namespace {

// The boxes of a pen of width w centred on the boundary path of box, which
// runs through columns left .. right - 1 and rows top .. bottom - 1.
Box64 outer_ring_box(const Box64& b, std::int64_t w) {
    const std::int64_t half = w / 2;
    return {b.left - half, b.top - half, b.right - 1 - half + w, b.bottom - 1 - half + w};
}
Box64 inner_ring_box(const Box64& b, std::int64_t w) {
    const std::int64_t half = w / 2;
    return {b.left - half + w, b.top - half + w, b.right - 1 - half, b.bottom - 1 - half};
}

}  // namespace

EllipseRingShape::EllipseRingShape(Box64 box, std::int64_t pen_width)
    : outer_(outer_ring_box(box, pen_width)),
      inner_box_(inner_ring_box(box, pen_width)),
      inner_(inner_box_) {}

void EllipseRingShape::add_spans(std::int64_t y, SpanList& out) const {
    Span o, i;
    if (!outer_.row_span(y, &o)) return;
    if (inner_box_.empty() || !inner_.row_span(y, &i)) {
        out.push_back(o);
        return;
    }
    out.push_back({o.x0, std::min(i.x0, o.x1)});
    out.push_back({std::max(i.x1, o.x0), o.x1});
}

}  // namespace win::raster

namespace win {

using namespace raster;

bool ellipse(HDC hdc, int left, int top, int right, int bottom) {
    if (!hdc || !hdc->surface) return false;
    const Box64 box = ordered_box(left, top, right, bottom);
    if (box.empty()) return true;
    if (box.width() <= 2 || box.height() <= 2) {
        draw_rectangle_figure(*hdc, box);
        return true;
    }
    const PenInfo pen = pen_info(*hdc);
    std::uint32_t brush_pixel = 0;
    const bool has_brush = brush_paints(*hdc, &brush_pixel);
    if (pen.mode == PenMode::None) {
        // Without a pen the brush covers the box less one pixel right and bottom.
        if (has_brush) {
            paint_ellipse(*hdc, {box.left, box.top, box.right - 1, box.bottom - 1}, brush_pixel);
        }
        return true;
    }
    const EllipseShape fill(box);
    const RowShape* brush = has_brush ? &fill : nullptr;
    if (pen.mode == PenMode::Thin && has_brush && pen.pixel == brush_pixel) {
        // The thin outline lies inside the fill: one colour paints the fill alone.
        paint_ellipse(*hdc, box, brush_pixel);
    } else if (pen.mode == PenMode::Thin) {
        const EllipseOutlineShape outline(box);
        paint_figure(*hdc, brush, brush_pixel, &outline, pen.pixel);
    } else {
        const EllipseRingShape ring(box, pen.width);
        paint_figure(*hdc, brush, brush_pixel, &ring, pen.pixel);
    }
    return true;
}

}  // namespace win
