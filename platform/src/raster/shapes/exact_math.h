// Exact integer helpers for the raster: 128-bit floor/ceil division and a
// 256-bit product comparison, so that shapes built from any int32 arguments
// (and pen widths up to INT_MAX) are computed without overflow.
#pragma once

#include <cstdint>

namespace win::raster {

using i128 = __int128;
using u128 = unsigned __int128;

// Floor and ceiling of n / d for d > 0, in 64-bit or 128-bit arithmetic.
template <typename T>
inline T floor_div(T n, T d) {
    T q = n / d;
    if ((n % d) != 0 && n < 0) --q;
    return q;
}
template <typename T>
inline T ceil_div(T n, T d) {
    T q = n / d;
    if ((n % d) != 0 && n > 0) ++q;
    return q;
}

// The quotients n(p) / d at successive positions p, where the numerator grows
// by a fixed step from one position to the next: rows of an edge or a line.
// Moving a position or two costs additions instead of a division.  Every
// numerator must fit 64 bits.
class QuotientWalk {
  public:
    // d > 0.  Needs a division only when the step is d or more either way.
    void init(std::int64_t d, std::int64_t step) {
        d_ = d;
        split(step, &step_q_, &step_r_);
        placed_ = false;
    }
    // Puts the walk at position p, whose numerator is n.
    void place(std::int64_t p, std::int64_t n) {
        split(n, &q_, &r_);
        p_ = p;
        placed_ = true;
    }
    // Puts the walk at position p, whose quotient and rest are known.
    void place_quotient(std::int64_t p, std::int64_t q, std::int64_t r) {
        q_ = q;
        r_ = r;
        p_ = p;
        placed_ = true;
    }
    // Moves to position p; numerator_at(p) gives n(p) when the walk restarts.
    template <typename NumeratorAt>
    void seek(std::int64_t p, NumeratorAt numerator_at) {
        if (placed_ && p - p_ >= -2 && p - p_ <= 2) {
            for (; p_ < p; ++p_) forward();
            for (; p_ > p; --p_) backward();
            return;
        }
        place(p, numerator_at(p));
    }
    void next() {
        forward();
        ++p_;
    }
    std::int64_t floor() const { return q_; }
    std::int64_t ceil() const { return q_ + (r_ != 0); }

  private:
    // n = q d + r with r in [0, d).
    void split(std::int64_t n, std::int64_t* q, std::int64_t* r) const {
        if (n >= 0 && n < d_) {
            *q = 0;
            *r = n;
        } else if (n < 0 && n >= -d_) {
            *q = -1;
            *r = n + d_;
        } else {
            *q = floor_div(n, d_);
            *r = n - *q * d_;
        }
    }
    void forward() {
        q_ += step_q_;
        r_ += step_r_;
        if (r_ >= d_) {
            r_ -= d_;
            ++q_;
        }
    }
    void backward() {
        q_ -= step_q_;
        r_ -= step_r_;
        if (r_ < 0) {
            r_ += d_;
            --q_;
        }
    }

    std::int64_t d_ = 1, step_q_ = 0, step_r_ = 0;
    std::int64_t p_ = 0, q_ = 0, r_ = 0;  // q = floor(n(p) / d), r = n(p) - q d in [0, d)
    bool placed_ = false;
};

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
