// A direct-mapped table of figure runs: the slot is chosen by a hash of the
// shape, and a new shape replaces whatever the slot held.
#include "raster/paint/figure_cache.h"

#include <algorithm>
#include <memory>

#include "raster/paint/painter.h"

namespace win::raster {

namespace {

constexpr std::size_t SLOTS = 128;

// Whether an offset from the anchor, or a pen width, is small enough to keep.
bool keepable_extent(std::int64_t extent) {
    return extent > -FigureRuns::MOST_ROWS && extent < FigureRuns::MOST_ROWS;
}

// The keys in one small array, apart from the runs, so a lookup reads only
// a line or two of memory.
struct Table {
    FigureKey keys[SLOTS];  // empty slots hold the empty key
    FigureRuns runs[SLOTS];
};

// Made on first use.
Table& table() {
    static const std::unique_ptr<Table> kept = std::make_unique<Table>();
    return *kept;
}

}  // namespace

FigureKey::FigureKey(Kind kind, unsigned pen, bool brush, std::int64_t width) {
    if (pen != 2) width = 0;
    keepable_ = width >= 0 && keepable_extent(width);
    words_[0] = std::uint64_t(kind) | std::uint64_t(pen & 0xFF) << 8 | std::uint64_t(brush) << 16 |
                (keepable_ ? std::uint64_t(width) << 32 : 0);
}

bool FigureKey::set_points(const Point64* points, std::size_t count) {
    if (count > std::size_t(MOST_POINTS)) keepable_ = false;
    for (std::size_t i = 0; keepable_ && i < count; ++i) {
        const std::int64_t dx = points[i].x - points[0].x, dy = points[i].y - points[0].y;
        keepable_ = keepable_extent(dx) && keepable_extent(dy);
        words_[1] |= std::uint64_t(std::uint8_t(std::int8_t(dx))) << (8 * i);
        words_[2] |= std::uint64_t(std::uint8_t(std::int8_t(dy))) << (8 * i);
    }
    words_[0] |= std::uint64_t(count & 0xFF) << 24;
    return keepable_;
}

bool FigureKey::set_size(std::int64_t width, std::int64_t height) {
    keepable_ = keepable_ && keepable_extent(width) && keepable_extent(height);
    if (keepable_) {
        words_[1] = std::uint64_t(width);
        words_[2] = std::uint64_t(height);
    }
    return keepable_;
}

std::uint64_t FigureKey::hash() const {
    const std::uint64_t h = (words_[0] * 0x9E3779B97F4A7C15u) ^ (words_[1] * 0xC2B2AE3D27D4EB4Fu) ^
                            (words_[2] * 0x165667B19E3779F9u);
    return h ^ (h >> 29);
}

bool FigureRuns::add(std::int64_t y, std::int64_t x0, std::int64_t x1) {
    // Columns and rows stay within a few hundred pixels of the anchor for keepable shapes.
    if (x0 < INT16_MIN || x1 > INT16_MAX) return false;
    if (rows == 0) top = std::int32_t(y);
    const std::int64_t row = y - top;
    if (row < 0 || row >= MOST_ROWS) return false;
    for (; rows <= row; ++rows) counts[rows] = 0;
    if (counts[row] == MOST_RUNS) return false;
    std::int16_t* run = runs[row][counts[row]++];
    run[0] = std::int16_t(x0);
    run[1] = std::int16_t(x1);
    return true;
}

FigureRuns& figure_slot(const FigureKey& key, bool* found) {
    Table& kept = table();
    const std::size_t slot = std::size_t(key.hash() >> 40) % SLOTS;
    *found = kept.keys[slot] == key;
    if (!*found) kept.keys[slot] = key;
    return kept.runs[slot];
}

bool record_runs(const Figure& figure, FigureRuns& out) {
    const RowRange rows = figure.rows();
    bool fits = true;
    figure.with_runs([&](auto runs_of) {
        for (std::int64_t y = rows.top; y < rows.bottom && fits; ++y)
            runs_of(y,
                    [&](std::int64_t x0, std::int64_t x1) { fits = fits && out.add(y, x0, x1); });
    });
    return fits;
}

void paint_runs(DeviceContext& dc, const FigureRuns& figure, Point64 anchor, std::uint32_t pixel) {
    const std::int64_t top = anchor.y + figure.top;
    paint_rows(dc, {top, top + figure.rows}, [&](std::int64_t y, auto fill) {
        const std::int64_t r = y - top;
        for (int i = 0; i < figure.counts[r]; ++i)
            fill(anchor.x + figure.runs[r][i][0], anchor.x + figure.runs[r][i][1], pixel);
    });
}

}  // namespace win::raster
