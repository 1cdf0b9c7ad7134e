// Exact integer helpers for the raster: 128-bit floor/ceil division and a
// 256-bit product comparison, so that shapes built from any int32 arguments
// (and pen widths up to INT_MAX) are computed without overflow.
#pragma once

#include <cstdint>

namespace win::raster {

using i128 = __int128;
using u128 = unsigned __int128;

// Floor and ceiling of n / d for d > 0.
inline i128 floor_div(i128 n, i128 d) {
    i128 q = n / d;
    if ((n % d) != 0 && n < 0) --q;
    return q;
}
inline i128 ceil_div(i128 n, i128 d) {
    i128 q = n / d;
    if ((n % d) != 0 && n > 0) ++q;
    return q;
}

// A 256-bit unsigned value as two 128-bit halves.
struct U256 {
    u128 hi = 0, lo = 0;
    friend bool operator<=(const U256& a, const U256& b) {
        return a.hi < b.hi || (a.hi == b.hi && a.lo <= b.lo);
    }
};

// Full product of two 128-bit unsigned values.
inline U256 mul_wide(u128 a, u128 b) {
    const u128 mask = ~std::uint64_t{0};
    const u128 a0 = a & mask, a1 = a >> 64, b0 = b & mask, b1 = b >> 64;
    const u128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const u128 middle = (p00 >> 64) + (p01 & mask) + (p10 & mask);
    U256 r;
    r.lo = (p00 & mask) | (middle << 64);
    r.hi = p11 + (p01 >> 64) + (p10 >> 64) + (middle >> 64);
    return r;
}

inline std::int64_t clamp64(i128 v, std::int64_t lo, std::int64_t hi) {
    if (v < lo) return lo;
    if (v > hi) return hi;
    return std::int64_t(v);
}

}  // namespace win::raster
