// Loads the embedded DejaVu faces from the byte arrays the build generates.
#include "text/font_faces.h"

#include <cstddef>
#include <cstdint>
#include <stdexcept>

namespace win::fonts {
extern const std::uint8_t sans[];
extern const std::size_t sans_size;
extern const std::uint8_t mono[];
extern const std::size_t mono_size;
}  // namespace win::fonts

namespace win::text {
namespace {

struct LoadedFaces {
    FT_Library library = nullptr;
    FT_Face sans = nullptr;
    FT_Face mono = nullptr;
};

FT_Face load_face(FT_Library library, const std::uint8_t* data, std::size_t size) {
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library, data, FT_Long(size), 0, &face) != 0)
        font_failure("cannot load an embedded font");
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0)
        font_failure("embedded font has no Unicode charmap");
    return face;
}

LoadedFaces load_faces() {
    LoadedFaces faces;
    if (FT_Init_FreeType(&faces.library) != 0) font_failure("cannot start FreeType");
    faces.sans = load_face(faces.library, fonts::sans, fonts::sans_size);
    faces.mono = load_face(faces.library, fonts::mono, fonts::mono_size);
    return faces;
}

}  // namespace

FT_Face face_of(Face face) {
    static const LoadedFaces faces = load_faces();
    return face == Face::Mono ? faces.mono : faces.sans;
}

}  // namespace win::text

namespace win::text {
namespace {

std::int32_t scale_up(std::int64_t units, std::int32_t pixels_per_em, std::int64_t units_per_em) {
    if (units <= 0 || units_per_em <= 0) return 0;
    return std::int32_t((units * pixels_per_em + units_per_em - 1) / units_per_em);
}

}  // namespace

std::int32_t scaled_ascent(FT_Face face, std::int32_t pixels_per_em) {
    return scale_up(face->ascender, pixels_per_em, face->units_per_EM);
}

std::int32_t scaled_descent(FT_Face face, std::int32_t pixels_per_em) {
    return scale_up(-std::int64_t(face->descender), pixels_per_em, face->units_per_EM);
}

std::int32_t scaled_line_gap(FT_Face face, std::int32_t pixels_per_em) {
    std::int64_t gap = std::int64_t(face->height) - (face->ascender - face->descender);
    if (gap <= 0 || face->units_per_EM == 0) return 0;
    return std::int32_t((gap * pixels_per_em + face->units_per_EM / 2) / face->units_per_EM);
}

}  // namespace win::text
