// Per-scanline span machinery.  Every filled shape is described row by row as
// half-open column spans [x0, x1) in 64-bit device coordinates; painting visits
// only the visible rows and writes each span with fill_pixels (row_fill.h).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "raster/arena.h"
#include "raster/device_context.h"
#include "raster/geometry.h"
#include "raster/row_fill.h"

namespace win::raster {

struct Span {
    std::int64_t x0 = 0, x1 = 0;  // columns [x0, x1)
};
using SpanList = std::vector<Span>;

// Sorts a list in place.  A row holds only a few spans or crossings, where
// straight insertion beats std::sort; long lists still go to std::sort.
template <typename T, typename Less>
void sort_short(T* first, T* last, Less less) {
    if (last - first > 16) {
        std::sort(first, last, less);
        return;
    }
    for (T* i = first + 1; i < last; ++i) {
        const T value = *i;
        T* j = i;
        for (; j > first && less(value, *(j - 1)); --j) *j = *(j - 1);
        *j = value;
    }
}

// Sorts spans and merges overlapping or touching ones; drops empty ones.
void normalize(SpanList& spans);
// out = a minus b; both inputs normalized.
void subtract(const SpanList& a, const SpanList& b, SpanList& out);

struct RowRange {
    std::int64_t top = 0, bottom = 0;  // rows [top, bottom)
    bool empty() const { return bottom <= top; }
};

// A region known row by row.  add_spans appends the spans of row y (in any
// order, possibly overlapping) and must accept any y, inside rows() or not.
class RowShape {
  public:
    virtual ~RowShape() = default;
    virtual RowRange rows() const = 0;
    virtual void add_spans(std::int64_t y, SpanList& out) const = 0;
};

// An axis-aligned box [left, right) x [top, bottom).
class BoxShape final : public RowShape {
  public:
    BoxShape(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom)
        : left_(left), top_(top), right_(right), bottom_(bottom) {}
    RowRange rows() const override;
    void add_spans(std::int64_t y, SpanList& out) const override;

  private:
    std::int64_t left_, top_, right_, bottom_;
};

// The union of several shapes (pen strokes: segments, caps and joins), each
// made in the arena.
class UnionShape final : public RowShape {
  public:
    explicit UnionShape(FigureArena& arena) : arena_(&arena), parts_(ArenaAllocator<Part>(arena)) {}
    UnionShape(const UnionShape&) = delete;
    UnionShape& operator=(const UnionShape&) = delete;
    ~UnionShape() override;

    // Makes a Part from args; a part that covers no row is dropped.
    template <typename Part, typename... Args>
    void add(Args&&... args) {
        keep(arena_->make<Part>(std::forward<Args>(args)...));
    }
    void reserve(std::size_t parts) { parts_.reserve(parts); }
    FigureArena& arena() const { return *arena_; }
    bool empty() const { return parts_.empty(); }
    RowRange rows() const override { return rows_; }
    void add_spans(std::int64_t y, SpanList& out) const override;

  private:
    void keep(RowShape* part);

    struct Part {
        RowRange rows;  // kept beside the part: most parts miss most rows
        RowShape* shape;
    };
    FigureArena* arena_;
    std::vector<Part, ArenaAllocator<Part>> parts_;
    RowRange rows_;
};

// The pixels a DC may write: its surface bounds cut by its clip.
inline Box64 clip_of(const DeviceContext& dc) {
    const Rect b = dc_bounds(dc);
    return {b.left, b.top, b.right, b.bottom};
}

// Writes columns [x0, x1) of a row, cut to the clip; returns whether any
// pixel was written.
inline bool fill_clipped(std::uint32_t* row, std::int64_t x0, std::int64_t x1, const Box64& clip,
                         std::uint32_t pixel) {
    x0 = std::max(x0, clip.left);
    x1 = std::min(x1, clip.right);
    if (x0 >= x1) return false;
    fill_pixels(row + x0, x1 - x0, pixel);
    return true;
}

// Paints a figure: the pen region in pen_pixel, and the brush region minus the
// pen region in brush_pixel, each pixel once.  Either shape may be null.
// Bumps the surface version once when anything visible was written.
void paint_figure(DeviceContext& dc, const RowShape* brush, std::uint32_t brush_pixel,
                  const RowShape* pen, std::uint32_t pen_pixel);

}  // namespace win::raster
