// create_font: a font object is only the request (height, weight, face); the
// sized font behind it is found in the cache when text is measured or drawn.
#include <algorithm>
#include <cctype>
#include <string_view>

#include "raster/objects.h"

namespace win {
namespace {

constexpr int PITCH_MASK = 3;
constexpr int FIXED_PITCH = 1;

bool contains_ignoring_case(std::string_view text, std::string_view word) {
    auto same = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    };
    return std::search(text.begin(), text.end(), word.begin(), word.end(), same) != text.end();
}

bool wants_fixed_pitch(int pitch_and_family, const char* face) {
    if ((pitch_and_family & PITCH_MASK) == FIXED_PITCH) return true;
    if (!face) return false;
    const std::string_view name(face);
    return contains_ignoring_case(name, "Mono") || contains_ignoring_case(name, "Courier") ||
           contains_ignoring_case(name, "Fixed");
}

}  // namespace

HGDIOBJ create_font(int height, int /*width*/, int /*escapement*/, int /*orientation*/, int weight,
                    int /*italic*/, int /*underline*/, int /*strike_out*/, int /*charset*/,
                    int /*out_precision*/, int /*clip_precision*/, int /*quality*/,
                    int pitch_and_family, const char* face) {
    GdiObject* font = raster::new_object(GdiObject::Kind::Font);
    font->font.height = height;
    font->font.weight = weight <= 0 ? 400 : std::min(weight, 1000);
    font->font.fixed_pitch = wants_fixed_pitch(pitch_and_family, face);
    return font;
}

}  // namespace win
