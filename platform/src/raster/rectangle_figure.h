// The rectangle figure, which ellipses 2 pixels or less across also draw.
#pragma once

#include "raster/device_context.h"
#include "raster/geometry.h"
#include "raster/paint/draw_figure.h"

namespace win::raster {

// Draws a rectangle figure (pen outline and brush inside) for a non-empty box.
void draw_rectangle_figure(DeviceContext& dc, const Box64& box, const FigureColours& colours);

}  // namespace win::raster
