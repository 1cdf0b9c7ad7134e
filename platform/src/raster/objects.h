// GDI object bookkeeping shared by the object and DC code.
#pragma once

#include "raster/device_context.h"

namespace win::raster {

// The stock 1x1 bitmap a fresh memory DC draws into.
GdiObject* default_bitmap();

// A new live object of that kind with default settings, kept in the live list
// until delete_object or free_all_objects.
GdiObject* new_object(GdiObject::Kind kind);
// Frees every DC still live (their selections released first).
void free_all_dcs();
// Frees every non-stock object still live, selected or not.  Free the DCs
// first: a live DC would keep pointing at the freed objects.
void free_all_objects();
std::size_t live_dc_count();
std::size_t live_object_count();

// Puts object into the DC's slot for its kind and keeps the selection counts;
// returns the previous object of that kind, or null when it cannot be selected.
HGDIOBJ swap_selection(DeviceContext& dc, GdiObject* object);
// Drops the DC's hold on all its selected objects.
void release_selections(DeviceContext& dc);

}  // namespace win::raster
