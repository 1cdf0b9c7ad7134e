// Figures in one colour, and pen over brush.
#include "raster/paint/painter.h"

namespace win::raster {

void paint_figure(DeviceContext& dc, const Figure& figure, std::uint32_t pixel) {
    figure.with_runs([&](auto runs_of) {
        paint_rows(dc, figure.rows(), [&](std::int64_t y, auto fill) {
            runs_of(y, [&](std::int64_t x0, std::int64_t x1) { fill(x0, x1, pixel); });
        });
    });
}

void paint_figure(DeviceContext& dc, const Figure& brush, std::uint32_t brush_pixel,
                  const Figure& pen, std::uint32_t pen_pixel) {
    FigureArena& arena = brush.arena();
    RowSpans brush_runs(brush.most_spans(), arena), pen_runs(pen.most_spans(), arena);
    RowSpans brush_only(brush.most_spans() + pen.most_spans(), arena);
    RowRange rows = brush.rows();
    const RowRange pen_rows = pen.rows();
    if (rows.empty()) {
        rows = pen_rows;
    } else if (!pen_rows.empty()) {
        rows = {std::min(rows.top, pen_rows.top), std::max(rows.bottom, pen_rows.bottom)};
    }
    paint_rows(dc, rows, [&](std::int64_t y, auto fill) {
        pen.row_runs(y, pen_runs);
        brush.row_runs(y, brush_runs);
        const RowSpans* brush_part = &brush_runs;
        if (!pen_runs.empty()) {
            brush_only.set_difference(brush_runs, pen_runs);
            brush_part = &brush_only;
        }
        for (std::size_t i = 0; i < brush_part->size(); ++i)
            fill(brush_part->start(i), brush_part->end(i), brush_pixel);
        for (std::size_t i = 0; i < pen_runs.size(); ++i)
            fill(pen_runs.start(i), pen_runs.end(i), pen_pixel);
    });
}

}  // namespace win::raster
