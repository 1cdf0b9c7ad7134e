// One-pixel lines and the current position.  A line's pixels on any row are
// found directly from the Bresenham rounding rule, so a clipped line covers
// exactly the visible pixels of the unclipped one.
#include <algorithm>

#include "raster/figures.h"
#include "raster/raster_math.h"

namespace win::raster {

namespace {

std::int64_t sign_of(std::int64_t v) {
    return v < 0 ? -1 : 1;
}

// Minor-axis offset of step i: i * minor / major rounded, halves away from the start.
std::int64_t minor_offset(std::int64_t i, std::int64_t minor, std::int64_t major) {
    return std::int64_t(floor_div(i128(2) * i * minor + major, i128(2) * major));
}

}  // namespace

LineShape::LineShape(Point64 a, Point64 b)
    : a_(a),
      b_(b),
      adx_(b.x > a.x ? b.x - a.x : a.x - b.x),
      ady_(b.y > a.y ? b.y - a.y : a.y - b.y),
      sx_(sign_of(b.x - a.x)),
      sy_(sign_of(b.y - a.y)) {
    const std::int64_t steps = std::max(adx_, ady_);
    if (steps == 0) {
        rows_ = {a.y, a.y};
        return;
    }
    const std::int64_t last_row_offset =
        adx_ >= ady_ ? minor_offset(steps - 1, ady_, adx_) : steps - 1;
    rows_ = sy_ > 0 ? RowRange{a.y, a.y + last_row_offset + 1}
                    : RowRange{a.y - last_row_offset, a.y + 1};
}

void LineShape::add_spans(std::int64_t y, SpanList& out) const {
    if (y < rows_.top || y >= rows_.bottom) return;
    const std::int64_t offset = (y - a_.y) * sy_;
    if (ady_ > adx_) {  // steep: one pixel per row
        const std::int64_t x = a_.x + sx_ * minor_offset(offset, adx_, ady_);
        out.push_back({x, x + 1});
        return;
    }
    std::int64_t first = 0, last = adx_ - 1;
    if (ady_ > 0) {
        const i128 twice_minor = i128(2) * ady_;
        first = std::max<std::int64_t>(
            first, std::int64_t(ceil_div(i128(2) * adx_ * offset - adx_, twice_minor)));
        last = std::min<std::int64_t>(
            last, std::int64_t(ceil_div(i128(2) * adx_ * (offset + 1) - adx_, twice_minor)) - 1);
    }
    if (first > last) return;
    if (sx_ > 0) {
        out.push_back({a_.x + first, a_.x + last + 1});
    } else {
        out.push_back({a_.x - last, a_.x - first + 1});
    }
}

std::unique_ptr<UnionShape> make_thin_path(const std::vector<Point64>& points, bool closed) {
    auto path = std::make_unique<UnionShape>();
    const std::size_t n = points.size();
    const std::size_t segments = closed ? n : (n == 0 ? 0 : n - 1);
    for (std::size_t i = 0; i < segments; ++i) {
        path->add(std::make_unique<LineShape>(points[i], points[(i + 1) % n]));
    }
    return path;
}

}  // namespace win::raster

namespace win {

using namespace raster;

bool move_to(HDC hdc, int x, int y, Point* previous) {
    if (!hdc) return false;
    if (previous) *previous = hdc->position;
    hdc->position = {x, y};
    return true;
}

bool line_to(HDC hdc, int x, int y) {
    if (!hdc || !hdc->surface) return false;
    const Point64 from{hdc->position.x, hdc->position.y};
    const Point64 to{x, y};
    hdc->position = {x, y};
    const PenInfo pen = pen_info(*hdc);
    if (pen.mode == PenMode::Thin) {
        const LineShape line(from, to);
        paint_figure(*hdc, nullptr, 0, &line, pen.pixel);
    } else if (pen.mode == PenMode::Wide && !(from == to)) {
        const auto stroke = make_wide_path({from, to}, false, pen.width);
        paint_figure(*hdc, nullptr, 0, stroke.get(), pen.pixel);
    }
    return true;
}

}  // namespace win
