// A direct-mapped table of figure runs: the slot is chosen by a hash of the
// shape, and a new shape replaces whatever the slot held.
#include "raster/figure_cache.h"

#include <algorithm>
#include <array>
#include <memory>

#include "raster/row_fill.h"

namespace win::raster {

namespace {

constexpr std::size_t SLOTS = 128;

struct Slot {
    FigureKey key;
    FigureRuns runs;
};

std::size_t slot_of(const FigureKey& key) {
    std::uint64_t h = 0x9E3779B97F4A7C15u ^ (std::uint64_t(key.kind) << 24) ^
                      (std::uint64_t(key.pen) << 16) ^ (std::uint64_t(key.brush) << 8) ^ key.count ^
                      (std::uint64_t(std::uint32_t(key.width)) << 32);
    for (int i = 0; i < key.count; ++i) {
        h = (h ^ std::uint32_t(key.x[i])) * 0x100000001B3u;
        h = (h ^ std::uint32_t(key.y[i])) * 0x100000001B3u;
    }
    return std::size_t(h ^ (h >> 29)) % SLOTS;
}

// Made on first use; the slots start empty (kind Empty matches no figure).
std::array<Slot, SLOTS>& slots() {
    static const std::unique_ptr<std::array<Slot, SLOTS>> table =
        std::make_unique<std::array<Slot, SLOTS>>();
    return *table;
}

}  // namespace

bool keepable_extent(std::int64_t extent) {
    return extent > -FigureRuns::MOST_ROWS && extent < FigureRuns::MOST_ROWS;
}

bool set_key_points(FigureKey& key, const Point64* points, std::size_t count) {
    if (count > std::size_t(FigureKey::MOST_POINTS)) return false;
    key.count = std::uint8_t(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::int64_t dx = points[i].x - points[0].x, dy = points[i].y - points[0].y;
        if (!keepable_extent(dx) || !keepable_extent(dy)) return false;
        key.x[i] = std::int32_t(dx);
        key.y[i] = std::int32_t(dy);
    }
    return true;
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
    Slot& slot = slots()[slot_of(key)];
    *found = slot.key == key;
    if (!*found) slot.key = key;
    return slot.runs;
}

void paint_runs(DeviceContext& dc, const FigureRuns& figure, Point64 anchor, std::uint32_t pixel) {
    if (!dc.surface) return;
    const Clip64 clip = clip_of(dc);
    if (clip.left >= clip.right) return;
    const std::int64_t first = std::max<std::int64_t>(0, clip.top - anchor.y - figure.top);
    const std::int64_t end =
        std::min<std::int64_t>(figure.rows, clip.bottom - anchor.y - figure.top);
    bool wrote = false;
    for (std::int64_t r = first; r < end; ++r) {
        std::uint32_t* row = nullptr;
        for (int i = 0; i < figure.counts[r]; ++i) {
            const std::int64_t x0 = std::max(anchor.x + figure.runs[r][i][0], clip.left);
            const std::int64_t x1 = std::min(anchor.x + figure.runs[r][i][1], clip.right);
            if (x0 >= x1) continue;
            if (!row) row = dc.surface->row(std::int32_t(anchor.y + figure.top + r));
            fill_pixels(row + x0, x1 - x0, pixel);
            wrote = true;
        }
    }
    if (wrote) dc.surface->touch();
}

}  // namespace win::raster
