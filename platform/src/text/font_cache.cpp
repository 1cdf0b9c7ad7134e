// Resolves font requests to sized fonts and keeps the sized fonts in use.  The
// library creates and deletes a font for every text command, so a font object
// is only a request; everything costly lives here, built once per size.
#include <algorithm>
#include <map>

#include "text/font_cache.h"
#include "text/font_faces.h"

namespace win::text {
namespace {

// More distinct sizes than this and the least recently used one is dropped.
constexpr std::size_t MAX_CACHED_FONTS = 64;

struct CacheEntry {
    std::unique_ptr<SizedFont> font;
    std::uint64_t last_use = 0;
};

struct FontCache {
    std::map<SizeKey, CacheEntry> entries;
    std::uint64_t clock = 0;
};

FontCache& cache() {
    static FontCache instance;
    return instance;
}

std::int32_t cell_height(FT_Face face, std::int32_t pixels_per_em) {
    return scaled_ascent(face, pixels_per_em) + scaled_descent(face, pixels_per_em);
}

// The largest em size whose cell (ascent + descent) fits the wanted height.
std::int32_t em_for_cell(FT_Face face, std::int32_t cell) {
    const std::int64_t design_cell = std::int64_t(face->ascender) - face->descender;
    std::int64_t guess =
        design_cell > 0 ? std::int64_t(cell) * face->units_per_EM / design_cell : cell;
    std::int32_t em = std::int32_t(std::clamp<std::int64_t>(guess, 1, MAX_PIXEL_SIZE));
    while (em > 1 && cell_height(face, em) > cell) --em;
    while (em < MAX_PIXEL_SIZE && cell_height(face, em + 1) <= cell) ++em;
    return em;
}

std::int32_t pixels_per_em(FT_Face face, std::int32_t height) {
    if (height < 0)
        return std::int32_t(std::min<std::int64_t>(-std::int64_t(height), MAX_PIXEL_SIZE));
    const std::int32_t cell = height == 0 ? DEFAULT_CELL_HEIGHT : std::min(height, MAX_PIXEL_SIZE);
    return em_for_cell(face, cell);
}

void evict_least_recently_used(FontCache& c) {
    auto oldest = std::min_element(c.entries.begin(), c.entries.end(), [](auto& a, auto& b) {
        return a.second.last_use < b.second.last_use;
    });
    if (oldest != c.entries.end()) c.entries.erase(oldest);
}

}  // namespace

SizeKey resolve(const FontRequest& request) {
    SizeKey key;
    key.face = request.fixed_pitch ? Face::Mono : Face::Sans;
    key.bold = request.weight >= 600;
    key.pixels_per_em = pixels_per_em(face_of(key.face), request.height);
    return key;
}

SizedFont& font_for(const FontRequest& request) {
    FontCache& c = cache();
    const SizeKey key = resolve(request);
    auto found = c.entries.find(key);
    if (found == c.entries.end()) {
        if (c.entries.size() >= MAX_CACHED_FONTS) evict_least_recently_used(c);
        found = c.entries.emplace(key, CacheEntry{std::make_unique<SizedFont>(key), 0}).first;
    }
    found->second.last_use = ++c.clock;
    return *found->second.font;
}

std::size_t cached_font_count() {
    return cache().entries.size();
}

FontRequest selected_font_request(const DeviceContext& dc) {
    if (dc.font && dc.font->kind == GdiObject::Kind::Font) return dc.font->font;
    return SYSTEM_FONT_REQUEST;
}

}  // namespace win::text
