// The coordinates every coverage rule works in: 64-bit device pixels, so
// shapes built from any int32 arguments, however far off the surface, are
// computed without overflow.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace win::raster {

struct Point64 {
    std::int64_t x = 0, y = 0;
    friend bool operator==(const Point64&, const Point64&) = default;
};

// A box [left, right) x [top, bottom) of device pixels.
struct Box64 {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
    std::int64_t width() const { return right - left; }
    std::int64_t height() const { return bottom - top; }
    bool empty() const { return right <= left || bottom <= top; }
    Box64 shifted(std::int64_t dx, std::int64_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    friend Box64 intersect(const Box64& a, const Box64& b) {
        return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
    }
};

// Rows [top, bottom).
struct RowRange {
    std::int64_t top = 0, bottom = 0;
    bool empty() const { return bottom <= top; }
    bool holds(std::int64_t y) const { return y >= top && y < bottom; }
};

// Columns [x0, x1) of one row.
struct Span {
    std::int64_t x0 = 0, x1 = 0;
};

// The number of segments of a path of n points.
inline std::size_t path_segments(std::size_t n, bool closed) {
    return closed ? n : (n == 0 ? 0 : n - 1);
}

}  // namespace win::raster
