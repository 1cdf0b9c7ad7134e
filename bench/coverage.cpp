// Per-call coverage, measured on the library's own canvas.
#include "coverage.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "state.h"

namespace bench {
namespace {

// No palette colour has this value, so every pixel a call writes differs.
constexpr win::COLORREF UNTOUCHED = win::rgb(0x12, 0x34, 0x57);

struct Box {
    int left, top, right, bottom;  // right and bottom excluded
};

// A box in canvas pixels that surely holds everything the call writes.
Box reach_of(const DrawCall& call) {
    const int ox = kv390::lib().origin_x;
    const int oy = kv390::lib().origin_y;
    std::int64_t margin = std::int64_t(call.width) + 4;
    std::int64_t left = call.x1, right = call.x1, low = call.y1, high = call.y1;
    auto include = [&](std::int64_t x, std::int64_t y) {
        left = std::min(left, x);
        right = std::max(right, x);
        low = std::min(low, y);
        high = std::max(high, y);
    };
    switch (call.kind) {
        case CallKind::Circle:
            margin += call.x2;
            break;
        case CallKind::Triangle:
            include(call.x3, call.y3);
            [[fallthrough]];
        case CallKind::Rectangle:
        case CallKind::Oval:
        case CallKind::Line:
            include(call.x2, call.y2);
            break;
        case CallKind::Text:
            right += std::int64_t(call.size) * std::int64_t(call.text.size() + 1);
            low -= call.size;
            high += 2 * std::int64_t(call.size);
            break;
    }
    auto clamp = [](std::int64_t v, int limit) {
        return int(std::clamp<std::int64_t>(v, 0, limit));
    };
    return {clamp(ox + left - margin, kv390::CANVAS_WIDTH),
            clamp(oy - high - margin, kv390::CANVAS_HEIGHT),
            clamp(ox + right + margin + 1, kv390::CANVAS_WIDTH),
            clamp(oy - low + margin + 1, kv390::CANVAS_HEIGHT)};
}

void fill_untouched(win::HDC dc, const Box& box) {
    win::HGDIOBJ brush = win::create_solid_brush(UNTOUCHED);
    const win::Rect rect{box.left, box.top, box.right, box.bottom};
    win::fill_rect(dc, &rect, brush);
    win::delete_object(brush);
}

std::uint64_t changed_pixels(win::HDC dc, const Box& box) {
    std::uint64_t changed = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            if (win::get_pixel(dc, x, y) != UNTOUCHED) ++changed;
        }
    }
    return changed;
}

}  // namespace

std::vector<std::uint64_t> pixels_per_call(const CallList& calls) {
    win::HDC dc = kv390::lib().canvas_dc;
    fill_untouched(dc, {0, 0, kv390::CANVAS_WIDTH, kv390::CANVAS_HEIGHT});
    std::vector<std::uint64_t> counts;
    counts.reserve(calls.size());
    for (const DrawCall& call : calls) {
        const Box box = reach_of(call);
        replay(call);
        counts.push_back(changed_pixels(dc, box));
        fill_untouched(dc, box);
    }
    return counts;
}

}  // namespace bench
