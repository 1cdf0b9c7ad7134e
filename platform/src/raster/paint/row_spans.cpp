// Union and difference of a row's spans.
#include "raster/paint/row_spans.h"

#include <algorithm>

namespace win::raster {

void RowSpans::sort_long() {
    Span* spans = long_sort_room_;
    for (std::size_t i = 0; i < count_; ++i) spans[i] = {x0_[i], x1_[i]};
    std::sort(spans, spans + count_, [](const Span& a, const Span& b) { return a.x0 < b.x0; });
    for (std::size_t i = 0; i < count_; ++i) {
        x0_[i] = spans[i].x0;
        x1_[i] = spans[i].x1;
    }
}

void RowSpans::set_difference(const RowSpans& a, const RowSpans& b) {
    count_ = 0;
    std::size_t j = 0;
    for (std::size_t i = 0; i < a.count_; ++i) {
        std::int64_t x0 = a.x0_[i];
        const std::int64_t x1 = a.x1_[i];
        while (j < b.count_ && b.x1_[j] <= x0) ++j;
        for (std::size_t k = j; k < b.count_ && b.x0_[k] < x1; ++k) {
            if (b.x0_[k] > x0) add(x0, b.x0_[k]);
            x0 = std::max(x0, b.x1_[k]);
        }
        if (x0 < x1) add(x0, x1);
    }
}

}  // namespace win::raster
