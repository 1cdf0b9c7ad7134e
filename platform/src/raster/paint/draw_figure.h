// The one way every drawing call reaches the painter: the DC's pen and brush
// decide the colours, and a figure of one colour whose shape can be kept is
// painted from the figure cache (worked out once, at the origin), any other
// figure directly.
#pragma once

#include <algorithm>
#include <cstdint>

#include "raster/device_context.h"
#include "raster/paint/arena.h"
#include "raster/paint/figure.h"
#include "raster/paint/figure_cache.h"
#include "raster/paint/painter.h"

namespace win::raster {

enum class PenMode { None, Thin, Wide };

// The DC's pen and brush as the raster sees them.
struct FigureColours {
    PenMode pen = PenMode::None;
    std::int64_t pen_width = 1;
    std::uint32_t pen_pixel = 0;
    bool brush = false;
    std::uint32_t brush_pixel = 0;

    bool one_colour() const { return pen == PenMode::None || !brush || pen_pixel == brush_pixel; }
    // The pixel of a one-colour figure.
    std::uint32_t pixel() const { return pen != PenMode::None ? pen_pixel : brush_pixel; }
};

// The DC's pen alone, as lines use it (a line has no inside to brush).
inline FigureColours pen_colours_of(const DeviceContext& dc) {
    FigureColours c;
    const GdiObject* pen = dc.pen;
    if (pen && pen->kind == GdiObject::Kind::Pen && pen->pen_style != PS_NULL) {
        c.pen_pixel = pixel_of(pen->color);
        c.pen_width = std::max(pen->pen_width, 1);
        c.pen = c.pen_width > 1 ? PenMode::Wide : PenMode::Thin;
    }
    return c;
}

inline FigureColours colours_of(const DeviceContext& dc) {
    FigureColours c = pen_colours_of(dc);
    const GdiObject* brush = dc.brush;
    if (brush && brush->kind == GdiObject::Kind::Brush && !brush->is_null) {
        c.brush = true;
        c.brush_pixel = pixel_of(brush->color);
    }
    return c;
}

// Draws in one pixel value the figure build(figure, origin) makes, moved by
// -origin.  When key is given (the shape relative to anchor, keepable) the
// figure is painted from the runs kept for the key, worked out once at the
// origin; else directly.
template <typename Build>
void draw_one_colour(DeviceContext& dc, std::uint32_t pixel, const FigureKey* key, Point64 anchor,
                     Build build) {
    if (key) {
        const FigureRuns& runs = figure_runs(*key, [&](FigureRuns& out) {
            FigureArena arena;
            Figure figure(arena);
            build(figure, anchor);
            return record_runs(figure, out);
        });
        if (runs.kept) {
            paint_runs(dc, runs, anchor, pixel);
            return;
        }
    }
    FigureArena arena;
    Figure figure(arena);
    build(figure, Point64{});
    paint_figure(dc, figure, pixel);
}

// Draws the figure build(brush, pen, origin) makes with the DC's colours: it
// adds the brush's parts to brush and the pen's to pen, moved by -origin.  A
// one-colour figure gets a single figure as both (see draw_one_colour); pen
// and brush of two colours are painted directly.
template <typename Build>
void draw_figure(DeviceContext& dc, const FigureColours& colours, const FigureKey* key,
                 Point64 anchor, Build build) {
    if (colours.pen == PenMode::None && !colours.brush) return;
    if (colours.one_colour()) {
        draw_one_colour(dc, colours.pixel(), key, anchor, [&build](Figure& figure, Point64 origin) {
            build(figure, figure, origin);
        });
        return;
    }
    FigureArena arena;
    Figure brush(arena), pen(arena);
    build(brush, pen, Point64{});
    paint_figure(dc, brush, colours.brush_pixel, pen, colours.pen_pixel);
}

}  // namespace win::raster
