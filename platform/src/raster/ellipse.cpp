// Ellipses: each row's span comes straight from an exact integer inequality,
// so any box, however large, costs only its visible rows.
#include <algorithm>
#include <cmath>

#include "raster/figures.h"
#include "raster/one_colour.h"
#include "raster/raster_math.h"

namespace win::raster {

namespace {

// Half-width, in doubled coordinates, of the ellipse row at doubled offset
// y2 from the centre: the largest x2 with the parity of width - 1 such that
// x2^2 h^2 + y2^2 w^2 <= w^2 h^2; -1 when the row is empty.
std::int64_t doubled_half_width(std::int64_t w, std::int64_t h, std::int64_t y2) {
    const u128 ay = u128(y2 < 0 ? -y2 : y2);
    const u128 uw = u128(w), uh = u128(h);
    const u128 h2 = uh * uh, rest = (uh - ay) * (uh + ay);
    // Below 2^31 on both axes every product fits 128 bits; beyond, use 256.
    const bool narrow = w < (std::int64_t(1) << 31) && h < (std::int64_t(1) << 31);
    const u128 limit128 = narrow ? uw * uw * rest : 0;
    const U256 limit256 = narrow ? U256{} : mul_wide(uw * uw, rest);
    auto fits = [&](std::int64_t x2) {
        const u128 x2sq = u128(x2) * u128(x2);
        return narrow ? x2sq * h2 <= limit128 : mul_wide(x2sq, h2) <= limit256;
    };

    const double ratio = double(y2) / double(h);
    const double estimate = double(w) * std::sqrt(std::max(0.0, 1.0 - ratio * ratio));
    std::int64_t x2 = std::int64_t(estimate);
    x2 = std::min<std::int64_t>(std::max<std::int64_t>(x2, 0), w - 1);
    while (x2 < w - 1 && fits(x2 + 1)) ++x2;
    while (x2 >= 0 && !fits(x2)) --x2;
    if (x2 >= 0 && ((x2 ^ (w - 1)) & 1)) --x2;
    return x2;
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
    const std::int64_t x2 = doubled_half_width(w, h, y2);
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
