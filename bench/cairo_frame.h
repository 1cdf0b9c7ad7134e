// The peer: the same drawing calls rendered by cairo's image surface,
// aliased, on a canvas of the same size and with the same origin.
#pragma once

#include <cairo.h>

#include "frame_calls.h"

namespace bench {

class CairoCanvas {
  public:
    CairoCanvas();
    ~CairoCanvas();
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    void draw(const DrawCall& call);
    void draw(const CallList& calls);
    // Finishes pending drawing so that the pixels are really written.
    void flush() { cairo_surface_flush(surface_); }

  private:
    void set_color(int color);
    void box_path(const DrawCall& call);
    void oval_path(double left, double top, double right, double bottom);
    void fill_or_stroke(int width);
    void line(const DrawCall& call);
    void text(const DrawCall& call);

    cairo_surface_t* surface_;
    cairo_t* cr_;
};

}  // namespace bench
