// A figure whose pen and brush share one colour is painted in a single pass.
// Its pixels must be exactly those of the same figure with a pen and a brush
// of different colours: the pen region united with the brush region.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "kv390/win.h"

namespace {

using namespace win;

constexpr int WIDTH = 120;
constexpr int HEIGHT = 100;
constexpr COLORREF PAPER = rgb(255, 255, 255);
constexpr COLORREF PEN_COLOR = rgb(255, 0, 0);
constexpr COLORREF BRUSH_COLOR = rgb(0, 0, 255);

using Figure = std::function<void(HDC)>;

// Which pixels a figure writes, with the given pen and brush colours.
std::vector<bool> coverage(const Figure& figure, COLORREF pen_color, COLORREF brush_color) {
    HDC dc = create_compatible_dc(nullptr);
    HGDIOBJ bitmap = create_compatible_bitmap(dc, WIDTH, HEIGHT);
    HGDIOBJ old_bitmap = select_object(dc, bitmap);
    HGDIOBJ paper = create_solid_brush(PAPER);
    const Rect all{0, 0, WIDTH, HEIGHT};
    fill_rect(dc, &all, paper);
    HGDIOBJ pen = create_pen(PS_SOLID, 1, pen_color);
    HGDIOBJ brush = create_solid_brush(brush_color);
    HGDIOBJ old_pen = select_object(dc, pen);
    HGDIOBJ old_brush = select_object(dc, brush);
    figure(dc);
    std::vector<bool> written;
    for (int y = 0; y < HEIGHT; ++y) {
        for (int x = 0; x < WIDTH; ++x) written.push_back(get_pixel(dc, x, y) != PAPER);
    }
    select_object(dc, old_pen);
    select_object(dc, old_brush);
    select_object(dc, old_bitmap);
    for (HGDIOBJ object : {pen, brush, paper, bitmap}) delete_object(object);
    delete_dc(dc);
    return written;
}

void expect_one_colour_covers_the_union(const Figure& figure) {
    const std::vector<bool> two_colours = coverage(figure, PEN_COLOR, BRUSH_COLOR);
    const std::vector<bool> one_colour = coverage(figure, PEN_COLOR, PEN_COLOR);
    int written = 0;
    for (bool w : two_colours) written += w ? 1 : 0;
    EXPECT_GT(written, 0);
    EXPECT_EQ(one_colour, two_colours);
}

TEST(OneColourFigure, EllipsesOfEverySmallSizeAndALargeOne) {
    for (int w = 1; w <= 12; ++w) {
        for (int h = 1; h <= 12; ++h) {
            SCOPED_TRACE(testing::Message() << w << " x " << h);
            expect_one_colour_covers_the_union(
                [=](HDC dc) { ellipse(dc, 10, 10, 10 + w, 10 + h); });
        }
    }
    expect_one_colour_covers_the_union([](HDC dc) { ellipse(dc, -30, -20, 150, 90); });
}

TEST(OneColourFigure, RectanglesThinWideAndCutByTheEdge) {
    expect_one_colour_covers_the_union([](HDC dc) { rectangle(dc, 5, 5, 6, 40); });
    expect_one_colour_covers_the_union([](HDC dc) { rectangle(dc, 5, 5, 40, 7); });
    expect_one_colour_covers_the_union([](HDC dc) { rectangle(dc, 40, 30, 12, 8); });
    expect_one_colour_covers_the_union([](HDC dc) { rectangle(dc, -10, -10, 200, 50); });
}

TEST(OneColourFigure, TrianglesSmallLargeAndFarOutside) {
    const std::vector<std::vector<Point>> triangles = {
        {{10, 10}, {15, 10}, {10, 15}},
        {{0, 99}, {119, 99}, {60, 0}},
        {{3, 50}, {100, 47}, {20, 52}},
        {{-2000000000, 50}, {2000000000, 40}, {60, 90}},  // beyond the 64-bit crossing range
    };
    for (const auto& corners : triangles) {
        expect_one_colour_covers_the_union([&](HDC dc) { polygon(dc, corners.data(), 3); });
    }
}

}  // namespace
