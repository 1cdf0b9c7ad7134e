// Writing one pixel value into a run of a row.
#pragma once

#include <cstdint>

namespace win::raster {

// Eight stores per step, which the compiler turns into vector stores even at
// -O2 (std::fill_n stays a one-pixel loop there).
inline void fill_pixels(std::uint32_t* p, std::int64_t n, std::uint32_t px) {
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
    for (; n > 0; --n) *p++ = px;
}

}  // namespace win::raster
