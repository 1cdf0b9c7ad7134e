// The two embedded faces, loaded into FreeType once.  Internal to the text code.
#pragma once

#include <cstdint>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "text/font_cache.h"

namespace win::text {

// The loaded face (Unicode charmap selected).  Loaded on first use, kept for
// the life of the process.
FT_Face face_of(Face face);

// Design-unit values of a face scaled to a pixel size and rounded outward.
std::int32_t scaled_ascent(FT_Face face, std::int32_t pixels_per_em);
std::int32_t scaled_descent(FT_Face face, std::int32_t pixels_per_em);
// The face's line gap (the spacing it asks for between lines), rounded.
std::int32_t scaled_line_gap(FT_Face face, std::int32_t pixels_per_em);

}  // namespace win::text
