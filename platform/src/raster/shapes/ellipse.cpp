// Ellipse rows from the exact centre test, searched from a neighbouring row's
// answer or a floating-point estimate.
#include "raster/shapes/ellipse.h"

#include <algorithm>
#include <cmath>

#include "raster/shapes/exact_math.h"

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

bool EllipseRows::row_span(std::int64_t y, Span* span) const {
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

Box64 outer_ring_box(const Box64& b, std::int64_t w) {
    const std::int64_t half = w / 2;
    return {b.left - half, b.top - half, b.right - 1 - half + w, b.bottom - 1 - half + w};
}

Box64 inner_ring_box(const Box64& b, std::int64_t w) {
    const std::int64_t half = w / 2;
    return {b.left - half + w, b.top - half + w, b.right - 1 - half, b.bottom - 1 - half};
}

EllipsePart::EllipsePart(Kind kind, Box64 box, std::int64_t pen_width) : kind_(kind) {
    if (kind == Kind::Ring) {
        outer_ = EllipseRows(outer_ring_box(box, pen_width));
        inner_ = EllipseRows(inner_ring_box(box, pen_width));
        return;
    }
    outer_ = EllipseRows(box);
    if (kind == Kind::Outline) {
        for (CachedRow& row : cache_) row.valid = false;
    }
}

bool EllipsePart::cached_row(std::int64_t y, Span* span) const {
    CachedRow& slot = cache_[std::size_t(y & 3)];
    if (!slot.valid || slot.y != y) {
        slot.y = y;
        slot.valid = true;
        slot.present = outer_.row_span(y, &slot.span);
    }
    *span = slot.span;
    return slot.present;
}

std::size_t EllipsePart::outline_spans(std::int64_t y, Span out[2]) const {
    Span here, above, below;
    if (!cached_row(y, &here)) return 0;
    out[0] = here;
    if (!cached_row(y - 1, &above) || !cached_row(y + 1, &below)) return 1;
    const std::int64_t inner0 = std::max({here.x0 + 1, above.x0, below.x0});
    const std::int64_t inner1 = std::min({here.x1 - 1, above.x1, below.x1});
    if (inner0 >= inner1) return 1;
    out[0] = {here.x0, inner0};
    out[1] = {inner1, here.x1};
    return 2;
}

std::size_t EllipsePart::ring_spans(std::int64_t y, Span out[2]) const {
    Span o, i;
    if (!outer_.row_span(y, &o)) return 0;
    if (inner_.box().empty() || !inner_.row_span(y, &i)) {
        out[0] = o;
        return 1;
    }
    out[0] = {o.x0, std::min(i.x0, o.x1)};
    out[1] = {std::max(i.x1, o.x0), o.x1};
    return 2;
}

}  // namespace win::raster
