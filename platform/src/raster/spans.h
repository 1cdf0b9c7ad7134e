// Per-scanline span machinery.  Every filled shape is described row by row as
// half-open column spans [x0, x1) in 64-bit device coordinates; painting visits
// only the visible rows and writes each span with one std::fill_n.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "raster/surface.h"

namespace win::raster {

struct Span {
    std::int64_t x0 = 0, x1 = 0;  // columns [x0, x1)
};
using SpanList = std::vector<Span>;

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

// The union of several shapes (pen strokes: segments, caps and joins).
class UnionShape final : public RowShape {
  public:
    void add(std::unique_ptr<RowShape> part);
    bool empty() const { return parts_.empty(); }
    RowRange rows() const override { return rows_; }
    void add_spans(std::int64_t y, SpanList& out) const override;

  private:
    std::vector<std::unique_ptr<RowShape>> parts_;
    RowRange rows_;
};

// The pixels a DC may write: its surface bounds cut by its clip.
struct Clip64 {
    std::int64_t left = 0, top = 0, right = 0, bottom = 0;
};
Clip64 clip_of(const DeviceContext& dc);

// Paints a figure: the pen region in pen_pixel, and the brush region minus the
// pen region in brush_pixel, each pixel once.  Either shape may be null.
// Bumps the surface version once when anything visible was written.
void paint_figure(DeviceContext& dc, const RowShape* brush, std::uint32_t brush_pixel,
                  const RowShape* pen, std::uint32_t pen_pixel);

}  // namespace win::raster
