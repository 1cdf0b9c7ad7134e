// Pixel storage shared by windows and memory bitmaps.  Internal to the
// windowing layer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace win {

// A bitmap of 0x00RRGGBB pixels.  Rows are kept as a ring (first_row is the
// storage row of device row 0) so that a whole-surface vertical scroll moves
// an offset instead of every pixel.
struct Surface {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint32_t> pixels;
    std::int32_t first_row = 0;
    std::uint64_t version = 0;  // bumped on every change; backends present when it moved

    std::uint32_t* row(std::int32_t y) {
        std::int32_t r = y + first_row;
        if (r >= height) r -= height;
        return pixels.data() + std::size_t(r) * std::size_t(width);
    }
    const std::uint32_t* row(std::int32_t y) const { return const_cast<Surface*>(this)->row(y); }
    void resize(std::int32_t w, std::int32_t h, std::uint32_t fill) {
        width = w < 0 ? 0 : w;
        height = h < 0 ? 0 : h;
        pixels.assign(std::size_t(width) * std::size_t(height), fill);
        first_row = 0;
        ++version;
    }
    void touch() { ++version; }
};

}  // namespace win
