// The runs of recently drawn small one-colour figures, kept by shape.  A
// figure's pixels move exactly with its integer anchor (every row rule works
// on differences of coordinates), so a shape met again elsewhere, such as a
// blast's hundred identical fragments or a shower's raindrops, is painted
// from its stored runs without working out its rows again.
#pragma once

#include <cstddef>
#include <cstdint>

#include "raster/device_context.h"
#include "raster/geometry.h"
#include "raster/paint/figure.h"

namespace win::raster {

// A figure's shape relative to its anchor, packed in three words so it is
// built, hashed and compared in registers: what is drawn, then the points'
// x and y offsets from point 0, one byte each.  A kept shape has its points
// within 63 pixels of point 0 either way (an ellipse: a box less than 64
// across), and its pen less than 64 wide.
class FigureKey {
  public:
    static constexpr int MOST_POINTS = 8;
    enum class Kind : std::uint8_t { Polygon = 1, Line, Ellipse };

    // The empty key, which no figure has.
    FigureKey() = default;
    // pen: 0 none, 1 thin, 2 wide; width counts for wide pens only.
    FigureKey(Kind kind, unsigned pen, bool brush, std::int64_t width);
    // Sets the points relative to points[0]; false when they are too many or too far apart.
    bool set_points(const Point64* points, std::size_t count);
    // Sets an ellipse's box size; false when it is too large.
    bool set_size(std::int64_t width, std::int64_t height);

    std::uint64_t hash() const;
    friend bool operator==(const FigureKey& a, const FigureKey& b) {
        return ((a.words_[0] ^ b.words_[0]) | (a.words_[1] ^ b.words_[1]) |
                (a.words_[2] ^ b.words_[2])) == 0;
    }

  private:
    std::uint64_t words_[3] = {0, 0, 0};
    bool keepable_ = true;
};

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

// Stores the runs of a figure built at the origin; false when they do not fit.
bool record_runs(const Figure& figure, FigureRuns& out);

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
        runs.rows = 0;
        runs.kept = record(runs);
    }
    return runs;
}

}  // namespace win::raster
