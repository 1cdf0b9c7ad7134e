// Figures of one colour painted straight into the rows, without span lists:
// each row of a box or an ellipse is a single span.
#pragma once

#include <cstdint>

#include "raster/shapes.h"

namespace win::raster {

// The same pixels as paint_figure with a BoxShape or an EllipseShape of that
// box as the brush and no pen.  Bumps the surface version when anything was written.
void paint_box(DeviceContext& dc, const Box64& box, std::uint32_t pixel);
void paint_ellipse(DeviceContext& dc, const Box64& box, std::uint32_t pixel);

}  // namespace win::raster
