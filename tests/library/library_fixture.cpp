#include "library_fixture.h"

namespace kv390::test {

void LibraryTest::SetUp() {
    harness::reset();
    reset_library_state();
}

void LibraryTest::TearDown() {
    harness::reset();
    reset_library_state();
}

void LibraryTest::open_cleared() {
    KV390_begin(nullptr, nullptr, "", win::SW_SHOW);
    const std::uint8_t logging = lib().logging_on;
    lib().logging_on = 0;
    KV390_clear();
    lib().logging_on = logging;
}

std::uint32_t pixel_of_color(int color) {
    return win::pixel_of(palette_rgb[color]);
}

win::Image canvas() {
    return win::dc_image(lib().canvas_dc);
}

int text_line_height() {
    win::HDC dc = win::get_dc(lib().text_window);
    win::HGDIOBJ previous = win::select_object(dc, win::get_stock_object(win::ANSI_FIXED_FONT));
    win::TextMetrics metrics;
    win::get_text_metrics(dc, &metrics);
    win::select_object(dc, previous);
    win::release_dc(lib().text_window, dc);
    return metrics.tmHeight + metrics.tmExternalLeading;
}

std::uint32_t canvas_at(const win::Image& image, int x, int y) {
    return image.at(lib().origin_x + x, lib().origin_y - y);
}

int count_pixels(const win::Image& image, std::uint32_t pixel) {
    int count = 0;
    for (std::uint32_t p : image.pixels) count += p == pixel ? 1 : 0;
    return count;
}

win::Rect bounds_of(const win::Image& image, std::uint32_t pixel) {
    win::Rect box{-1, -1, -1, -1};
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.at(x, y) != pixel) continue;
            if (box.left < 0 || x < box.left) box.left = x;
            if (box.top < 0) box.top = y;
            if (x > box.right) box.right = x;
            box.bottom = y;
        }
    }
    return box;
}

std::vector<std::string> log_lines() {
    const LogRing& ring = lib().log;
    std::vector<std::string> lines;
    int index = ring.oldest;
    for (int count = 0; index >= 0 && !(index == ring.next && count != 0); ++count) {
        lines.push_back(ring.slots[index]);
        index = index == LOG_RING_SIZE - 1 ? 0 : index + 1;
    }
    return lines;
}

std::vector<std::string> log_lines_since(std::size_t before) {
    std::vector<std::string> lines = log_lines();
    lines.erase(lines.begin(), lines.begin() + std::ptrdiff_t(before));
    return lines;
}

ScratchCanvas::ScratchCanvas(int width, int height) {
    dc = win::create_compatible_dc(nullptr);
    bitmap = win::create_compatible_bitmap(dc, width, height);
    previous_bitmap = win::select_object(dc, bitmap);
    win::Rect all{0, 0, width, height};
    win::fill_rect(dc, &all, win::get_stock_object(win::WHITE_BRUSH));
}

ScratchCanvas::~ScratchCanvas() {
    win::select_object(dc, previous_bitmap);
    win::delete_object(bitmap);
    win::delete_dc(dc);
}

}  // namespace kv390::test
