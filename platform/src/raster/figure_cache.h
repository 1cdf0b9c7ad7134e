// The runs of recently drawn small one-colour figures, kept by shape.  A
// figure's pixels move exactly with its integer anchor (every row rule works
// on differences of coordinates), so a shape met again elsewhere, such as a
// blast's hundred identical fragments or a shower's raindrops, is painted
// from its stored runs without working out its rows again.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/shapes.h"
#include "raster/surface.h"

namespace win::raster {

// A figure's shape relative to its anchor.
struct FigureKey {
    static constexpr int MOST_POINTS = 8;
    enum class Kind : std::uint8_t { Empty, Polygon, Line, Ellipse };
    Kind kind = Kind::Empty;
    std::uint8_t pen = 0;    // 0 none, 1 thin, 2 wide
    std::uint8_t brush = 0;  // polygons: whether the inside is filled
    std::uint8_t count = 0;  // points
    std::int32_t width = 0;  // wide pen width
    // Point i relative to point 0 (or an ellipse's size); unused ones stay zero.
    std::int32_t x[MOST_POINTS] = {}, y[MOST_POINTS] = {};

    friend bool operator==(const FigureKey&, const FigureKey&) = default;
};

// Whether a shape this far from its anchor (on either axis) or a pen this
// wide is small enough to be kept.
bool keepable_extent(std::int64_t extent);
// Sets the key's points relative to points[0]; false when they are too far
// apart to be kept (or too many).
bool set_key_points(FigureKey& key, const Point64* points, std::size_t count);

// A figure's runs, rows and columns relative to its anchor.
struct FigureRuns {
    static constexpr int MOST_ROWS = 64, MOST_RUNS = 4;
    bool kept = false;  // false: the shape has more rows or runs than fit
    std::int32_t top = 0, rows = 0;
    std::uint8_t counts[MOST_ROWS];
    std::int16_t runs[MOST_ROWS][MOST_RUNS][2];  // x0, x1
    // Adds a run on row y; false when it does not fit.
    bool add(std::int64_t y, std::int64_t x0, std::int64_t x1);
};

// The runs stored for key, worked out by record(FigureRuns&) (anchor at the
// origin) when the shape is not stored yet.  The result's kept is false when
// the shape does not fit; the caller then draws it directly.
template <typename Record>
const FigureRuns& figure_runs(const FigureKey& key, Record record);

// Paints runs at anchor in pixel, cut to the DC's clip; bumps the surface
// version when anything visible was written.
void paint_runs(DeviceContext& dc, const FigureRuns& runs, Point64 anchor, std::uint32_t pixel);

// The slot where key is stored or goes, and whether it already holds key.
FigureRuns& figure_slot(const FigureKey& key, bool* found);

template <typename Record>
const FigureRuns& figure_runs(const FigureKey& key, Record record) {
    bool found = false;
    FigureRuns& runs = figure_slot(key, &found);
    if (!found) {
        runs.kept = true;
        runs.rows = 0;
        runs.kept = record(runs);
    }
    return runs;
}

}  // namespace win::raster
