// The spans of one row, gathered from a figure's parts, and their union.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "raster/geometry.h"
#include "raster/paint/arena.h"

namespace win::raster {

// A row's spans [x0, x1) as two columns, starts and ends: sorting them by
// start moves single values, which the processor forwards from store to load
// without stalling.  Rows hold only a few spans.
class RowSpans {
  public:
    // Room for most spans: inline for a few, else from the arena.
    RowSpans(std::size_t most, FigureArena& arena) {
        if (most > INLINE) {
            x0_ = arena.allocate_array<std::int64_t>(most);
            x1_ = arena.allocate_array<std::int64_t>(most);
        }
        if (most > SHORT) long_sort_room_ = arena.allocate_array<Span>(most);
    }
    RowSpans(const RowSpans&) = delete;
    RowSpans& operator=(const RowSpans&) = delete;

    void clear() { count_ = 0; }
    // Adds [x0, x1), which may be empty (merge leaves it out).
    void add(std::int64_t x0, std::int64_t x1) {
        x0_[count_] = x0;
        x1_[count_] = x1;
        ++count_;
    }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    std::int64_t start(std::size_t i) const { return x0_[i]; }
    std::int64_t end(std::size_t i) const { return x1_[i]; }

    // Replaces the spans by the runs of their union, left to right:
    // overlapping and touching spans merged, empty ones left out.
    void merge() {
        const std::size_t n = count_;
        if (n > 1) sort_by_start();
        std::uint32_t runs = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::int64_t x0 = x0_[i], x1 = x1_[i];
            if (x1 <= x0) continue;
            if (runs > 0 && x0 <= x1_[runs - 1]) {
                x1_[runs - 1] = std::max(x1_[runs - 1], x1);
            } else {
                x0_[runs] = x0;
                x1_[runs] = x1;
                ++runs;
            }
        }
        count_ = runs;
    }
    // Calls emit(x0, x1) for each run of the union, left to right, as merge
    // would leave them, without storing them.
    template <typename Emit>
    void for_each_run(Emit emit) {
        const std::size_t n = count_;
        if (n > 1) sort_by_start();
        bool open = false;
        std::int64_t run0 = 0, run1 = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const std::int64_t x0 = x0_[i], x1 = x1_[i];
            if (x1 <= x0) continue;
            if (open && x0 <= run1) {
                run1 = std::max(run1, x1);
                continue;
            }
            if (open) emit(run0, run1);
            run0 = x0;
            run1 = x1;
            open = true;
        }
        if (open) emit(run0, run1);
    }
    // Sets these spans to the runs of a minus the runs of b (both merged);
    // room for the spans of both.
    void set_difference(const RowSpans& a, const RowSpans& b);

  private:
    void sort_by_start() {
        const std::size_t n = count_;
        if (n > SHORT) {
            sort_long();
            return;
        }
        for (std::size_t i = 1; i < n; ++i) {
            const std::int64_t start = x0_[i], end = x1_[i];
            std::size_t j = i;
            for (; j > 0 && start < x0_[j - 1]; --j) {
                x0_[j] = x0_[j - 1];
                x1_[j] = x1_[j - 1];
            }
            x0_[j] = start;
            x1_[j] = end;
        }
    }
    void sort_long();

    static constexpr std::size_t SHORT = 16;  // sorted by straight insertion
    static constexpr std::size_t INLINE = 24;
    std::int64_t inline0_[INLINE], inline1_[INLINE];
    std::int64_t* x0_ = inline0_;
    std::int64_t* x1_ = inline1_;
    Span* long_sort_room_ = nullptr;
    // Not a size_t: stores of span ends cannot change it, so it stays in a register.
    std::uint32_t count_ = 0;
};

}  // namespace win::raster
