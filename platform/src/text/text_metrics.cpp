// Measuring text: metrics of the selected font, the extent of a string, and the
// dialog base units of the system font.
#include <algorithm>
#include <climits>
#include <cstring>

#include "text/font_cache.h"

namespace win {

bool get_text_metrics(HDC hdc, TextMetrics* metrics) {
    if (!hdc || !metrics) return false;
    const text::FontMetrics& m = text::font_for(text::selected_font_request(*hdc)).metrics();
    *metrics = TextMetrics{};
    metrics->tmHeight = m.height;
    metrics->tmAscent = m.ascent;
    metrics->tmDescent = m.descent;
    metrics->tmInternalLeading = m.internal_leading;
    metrics->tmExternalLeading = m.external_leading;
    metrics->tmAveCharWidth = m.average_width;
    metrics->tmMaxCharWidth = m.max_width;
    metrics->tmWeight = m.weight;
    metrics->fixed_pitch = m.fixed_pitch;
    return true;
}

bool get_text_extent_point(HDC hdc, const char* text, int count, Size* size) {
    if (!hdc || !size || count < 0 || (count > 0 && !text)) return false;
    text::SizedFont& font = text::font_for(text::selected_font_request(*hdc));
    const std::int64_t width = text ? font.text_width(text, std::size_t(count)) : 0;
    size->cx = std::int32_t(std::min<std::int64_t>(width, INT32_MAX));
    size->cy = font.metrics().height;
    return true;
}

// Average width as the classic dialog manager computes it: the mean advance of
// the 52 Latin letters, rounded; the height is the cell height.
Size dialog_base_units() {
    text::SizedFont& font = text::font_for(SYSTEM_FONT_REQUEST);
    static constexpr char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const std::int64_t total = font.text_width(letters, std::strlen(letters));
    return Size{std::int32_t((total / 26 + 1) / 2), font.metrics().height};
}

}  // namespace win
