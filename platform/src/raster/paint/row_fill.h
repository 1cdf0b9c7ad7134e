// Writing one pixel value into a run of a row.
#pragma once

#include <cstdint>
#include <cstring>

namespace win::raster {

// Four pixels in one 16-byte store.
inline void store_four(std::uint32_t* p, std::uint32_t px) {
    const std::uint32_t four[4] = {px, px, px, px};
    std::memcpy(p, four, sizeof four);
}

// Eight stores per step, which the compiler turns into vector stores even at
// -O2 (std::fill_n stays a one-pixel loop there).  The short rest of a run,
// and runs of four to seven pixels, are written by two overlapping four-pixel
// stores instead of one pixel at a time.
inline void fill_pixels(std::uint32_t* p, std::int64_t n, std::uint32_t px) {
    if (n < 4) {
        for (; n > 0; --n) *p++ = px;
        return;
    }
    std::uint32_t* const end = p + n;
    for (; n >= 8; n -= 8, p += 8) {
        p[0] = px;
        p[1] = px;
        p[2] = px;
        p[3] = px;
        p[4] = px;
        p[5] = px;
        p[6] = px;
        p[7] = px;
    }
    if (n > 0) {
        store_four(end - 4, px);
        if (n > 4) store_four(p, px);
    }
}

}  // namespace win::raster
