// GDI object bookkeeping shared by the object and DC code.
#pragma once

#include "raster/surface.h"

namespace win::raster {

// The stock 1x1 bitmap a fresh memory DC draws into.
GdiObject* default_bitmap();

// Puts object into the DC's slot for its kind and keeps the selection counts;
// returns the previous object of that kind, or null when it cannot be selected.
HGDIOBJ swap_selection(DeviceContext& dc, GdiObject* object);
// Drops the DC's hold on all its selected objects.
void release_selections(DeviceContext& dc);

}  // namespace win::raster
