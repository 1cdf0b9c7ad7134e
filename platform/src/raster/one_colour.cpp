// One-colour boxes and ellipses, row by row.
#include "raster/one_colour.h"

#include <algorithm>
#include <cstdint>

#include "raster/figure_cache.h"

namespace win::raster {

namespace {

// Paints rows [top, bottom) of box, cut to the DC's clip; span_of gives a
// row's span and returns false for an empty row.
template <typename SpanOf>
void paint_rows(DeviceContext& dc, const Box64& box, std::uint32_t pixel, SpanOf span_of) {
    if (!dc.surface) return;
    const Box64 clip = clip_of(dc);
    if (clip.left >= clip.right) return;
    const std::int64_t top = std::max(box.top, clip.top);
    const std::int64_t bottom = std::min(box.bottom, clip.bottom);
    bool wrote = false;
    for (std::int64_t y = top; y < bottom; ++y) {
        Span s;
        if (span_of(y, &s))
            wrote |= fill_clipped(dc.surface->row(std::int32_t(y)), s.x0, s.x1, clip, pixel);
    }
    if (wrote) dc.surface->touch();
}

}  // namespace

void paint_box(DeviceContext& dc, const Box64& box, std::uint32_t pixel) {
    if (box.empty()) return;
    paint_rows(dc, box, pixel, [&box](std::int64_t, Span* s) {
        *s = {box.left, box.right};
        return true;
    });
}

void paint_ellipse(DeviceContext& dc, const Box64& box, std::uint32_t pixel) {
    if (box.empty()) return;
    FigureKey key(FigureKey::Kind::Ellipse, 0, true, 0);
    if (key.set_size(box.width(), box.height())) {
        const FigureRuns& runs = figure_runs(key, [&box](FigureRuns& out) {
            const EllipseShape shape({0, 0, box.width(), box.height()});
            bool fits = true;
            Span s;
            for (std::int64_t y = 0; y < box.height(); ++y) {
                if (shape.row_span(y, &s)) fits = fits && out.add(y, s.x0, s.x1);
            }
            return fits;
        });
        if (runs.kept) {
            paint_runs(dc, runs, {box.left, box.top}, pixel);
            return;
        }
    }
    const EllipseShape fill(box);
    paint_rows(dc, box, pixel, [&fill](std::int64_t y, Span* s) { return fill.row_span(y, s); });
}

}  // namespace win::raster
