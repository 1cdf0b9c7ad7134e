// The ellipse rules: the filled ellipse inscribed in a box, its one-pixel
// boundary, and the ring a wide pen paints around it.  Each row is computed
// directly from an exact integer inequality, so any box, however large,
// costs only the rows asked for.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/geometry.h"

namespace win::raster {

// The filled ellipse inscribed in a box: the pixels whose centres lie inside
// the ellipse touching the box's outer edges.  A box 2 pixels or less across
// in either direction is the whole box.
class EllipseRows {
  public:
    EllipseRows() = default;
    explicit EllipseRows(Box64 box) : box_(box) {}
    const Box64& box() const { return box_; }
    RowRange rows() const { return {box_.top, box_.bottom}; }
    // The row's single span; false when the row is empty.
    bool row_span(std::int64_t y, Span* span) const;

  private:
    Box64 box_;
    // The last row's doubled half-width: where the next row's search starts.
    mutable std::int64_t hint_ = -1;
    mutable bool has_hint_ = false;
};

// The boxes of a wide pen of width w centred on the boundary path of box,
// which runs through columns left .. right - 1 and rows top .. bottom - 1.
Box64 outer_ring_box(const Box64& box, std::int64_t w);
Box64 inner_ring_box(const Box64& box, std::int64_t w);

// One ellipse part of a figure: the fill of a box, its one-pixel boundary
// (the fill's pixels with a horizontal or vertical neighbour outside it), or
// a wide pen's ring (the outer ring box's fill minus the inner one's).
class EllipsePart {
  public:
    enum class Kind : std::uint8_t { Fill, Outline, Ring };
    // pen_width counts for rings only.
    EllipsePart(Kind kind, Box64 box, std::int64_t pen_width = 0);

    RowRange rows() const { return outer_.rows(); }
    // Writes the row's spans (at most two, possibly empty) to out; returns how many.
    std::size_t row_spans(std::int64_t y, Span out[2]) const {
        if (kind_ == Kind::Fill) return outer_.row_span(y, &out[0]) ? 1 : 0;
        return kind_ == Kind::Outline ? outline_spans(y, out) : ring_spans(y, out);
    }

  private:
    struct CachedRow {
        std::int64_t y;
        bool valid, present;
        Span span;
    };
    // The fill's span on row y, remembered: an outline asks for each row three times.
    bool cached_row(std::int64_t y, Span* span) const;
    std::size_t outline_spans(std::int64_t y, Span out[2]) const;
    std::size_t ring_spans(std::int64_t y, Span out[2]) const;

    Kind kind_;
    EllipseRows outer_;
    EllipseRows inner_;  // rings only
    // Outlines only (left unset for the others, which are most parts).
    mutable CachedRow cache_[4];
};

}  // namespace win::raster
