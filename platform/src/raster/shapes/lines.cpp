// Line rows: steep lines step one pixel a row, shallow ones find the steps
// that land on the row.
#include "raster/shapes/lines.h"

#include <algorithm>

namespace win::raster {

namespace {

std::int64_t sign_of(std::int64_t v) {
    return v < 0 ? -1 : 1;
}

// Lines shorter than this on both axes keep every product below 2^62.
constexpr std::int64_t SHORT_AXIS = std::int64_t(1) << 30;

// Minor-axis offset of step i: i * minor / major rounded, halves away from the start.
template <typename T>
std::int64_t minor_offset(std::int64_t i, std::int64_t minor, std::int64_t major) {
    return std::int64_t(floor_div<T>(T(2) * i * minor + major, T(2) * major));
}

// The steps [first, last] of a shallow line that land on row offset.
// Long lines divide in 128 bits; short ones walk their rows instead.
void shallow_steps(std::int64_t offset, std::int64_t adx, std::int64_t ady, std::int64_t* first,
                   std::int64_t* last) {
    const i128 twice_minor = i128(2) * ady;
    *first = std::max<std::int64_t>(
        *first, std::int64_t(ceil_div<i128>(i128(2) * adx * offset - adx, twice_minor)));
    *last = std::min<std::int64_t>(
        *last, std::int64_t(ceil_div<i128>(i128(2) * adx * (offset + 1) - adx, twice_minor)) - 1);
}

}  // namespace

LineRows::LineRows(Point64 a, Point64 b)
    : a_(a),
      b_(b),
      adx_(b.x > a.x ? b.x - a.x : a.x - b.x),
      ady_(b.y > a.y ? b.y - a.y : a.y - b.y),
      sx_(sign_of(b.x - a.x)),
      sy_(sign_of(b.y - a.y)),
      short_(adx_ < SHORT_AXIS && ady_ < SHORT_AXIS) {
    const std::int64_t steps = std::max(adx_, ady_);
    if (steps == 0) {
        rows_ = {a.y, a.y};
        return;
    }
    const std::int64_t last_row_offset =
        adx_ < ady_ ? steps - 1
                    : (short_ ? minor_offset<std::int64_t>(steps - 1, ady_, adx_)
                              : minor_offset<i128>(steps - 1, ady_, adx_));
    rows_ = sy_ > 0 ? RowRange{a.y, a.y + last_row_offset + 1}
                    : RowRange{a.y - last_row_offset, a.y + 1};
    if (!short_ || ady_ == 0) return;
    // Both walks step 2 adx over 2 ady; they start at row offset 0.
    walk_.init(2 * std::max<std::int64_t>(ady_, 1), 2 * adx_);
    walk_.place(0, adx_ < ady_ ? ady_ : -adx_);
}

bool LineRows::row_span(std::int64_t y, Span* span) const {
    if (y < rows_.top || y >= rows_.bottom) return false;
    const std::int64_t offset = (y - a_.y) * sy_;
    if (ady_ > adx_) {  // steep: one pixel per row
        std::int64_t minor = 0;
        if (short_) {
            walk_.seek(offset, [this](std::int64_t k) { return 2 * adx_ * k + ady_; });
            minor = walk_.floor();
        } else {
            minor = minor_offset<i128>(offset, adx_, ady_);
        }
        const std::int64_t x = a_.x + sx_ * minor;
        *span = {x, x + 1};
        return true;
    }
    std::int64_t first = 0, last = adx_ - 1;
    if (ady_ > 0 && short_) {
        // The row's steps run from its own first step to the next row's, less one.
        walk_.seek(offset, [this](std::int64_t k) { return 2 * adx_ * k - adx_; });
        first = std::max(first, walk_.ceil());
        walk_.next();
        last = std::min(last, walk_.ceil() - 1);
    }
    if (ady_ > 0 && !short_) shallow_steps(offset, adx_, ady_, &first, &last);
    if (first > last) return false;
    if (sx_ > 0) {
        *span = {a_.x + first, a_.x + last + 1};
    } else {
        *span = {a_.x - last, a_.x - first + 1};
    }
    return true;
}

}  // namespace win::raster
