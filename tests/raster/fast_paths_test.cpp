// The raster's fast paths against slower exact rules: rows walked without
// division, 64-bit ellipse rows started from the previous row, and whole
// figures (their union of parts, the kept runs and the painter) against the
// row rules marked pixel by pixel.
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "canvas.h"
#include "raster/paint/draw_figure.h"
#include "raster/shapes/ellipse.h"
#include "raster/shapes/exact_math.h"
#include "raster/shapes/lines.h"
#include "raster/shapes/polygon_edges.h"
#include "raster/shapes/wide_pen.h"

using namespace win::raster;
using raster_test::Canvas;

namespace {

TEST(QuotientWalk, WalksAndJumpsGiveTheDividedQuotient) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::int64_t> small(-40, 40), positions(-30, 30);
    for (int round = 0; round < 400; ++round) {
        const std::int64_t d = 1 + (small(random) & 31), step = small(random) * 3;
        const std::int64_t base = small(random) * 1000;
        auto numerator = [&](std::int64_t p) { return base + p * step; };
        QuotientWalk walk;
        walk.init(d, step);
        std::int64_t p = positions(random);
        for (int move = 0; move < 30; ++move) {
            // Mostly neighbours, sometimes a jump that makes the walk restart.
            p += move % 7 == 6 ? positions(random) : (move % 3) - 1;
            walk.seek(p, numerator);
            ASSERT_EQ(walk.floor(), floor_div<std::int64_t>(numerator(p), d)) << d << " " << step;
            ASSERT_EQ(walk.ceil(), ceil_div<std::int64_t>(numerator(p), d));
        }
    }
}

// The pixels of a line step by step from the rounding rule, one row at a time.
Span brute_line_row(Point64 a, Point64 b, std::int64_t y, bool* present) {
    const std::int64_t dx = b.x - a.x, dy = b.y - a.y;
    const std::int64_t adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const std::int64_t major = std::max(adx, ady), minor = std::min(adx, ady);
    Span s{INT64_MAX, INT64_MIN};
    for (std::int64_t i = 0; i < major; ++i) {
        const std::int64_t off = floor_div<std::int64_t>(2 * i * minor + major, 2 * major);
        const std::int64_t along = adx >= ady ? i : off, across = adx >= ady ? off : i;
        const std::int64_t x = a.x + (dx < 0 ? -along : along);
        const std::int64_t row = a.y + (dy < 0 ? -across : across);
        if (row != y) continue;
        s.x0 = std::min(s.x0, x);
        s.x1 = std::max(s.x1, x + 1);
    }
    *present = s.x0 < s.x1;
    return s;
}

TEST(LineRows, EveryRowInEitherOrderFollowsTheRoundingRule) {
    for (std::int64_t bx = -9; bx <= 9; ++bx) {
        for (std::int64_t by = -9; by <= 9; ++by) {
            const Point64 a{3, -2}, b{3 + bx, -2 + by};
            for (bool downward : {false, true}) {
                const LineRows line(a, b);  // fresh: its walk starts at the first point
                for (std::int64_t k = 0; k < 22; ++k) {
                    const std::int64_t y = downward ? 9 - k : -13 + k;
                    bool expected_present = false;
                    const Span expected = brute_line_row(a, b, y, &expected_present);
                    Span got;
                    const bool present = line.row_span(y, &got);
                    ASSERT_EQ(present, expected_present) << bx << "," << by << " row " << y;
                    if (present) {
                        ASSERT_TRUE(got.x0 == expected.x0 && got.x1 == expected.x1);
                    }
                }
            }
        }
    }
}

TEST(EllipseRows, SmallEllipsesInAnyRowOrderMatchTheCentreTest) {
    std::mt19937 random(11);
    for (std::int64_t w = 3; w <= 24; ++w) {
        for (std::int64_t h = 3; h <= 24; h += 3) {
            const Box64 box{-5, 7, -5 + w, 7 + h};
            const EllipseRows ellipse(box);
            std::vector<std::int64_t> rows;
            for (std::int64_t y = box.top - 1; y <= box.bottom; ++y) rows.push_back(y);
            std::shuffle(rows.begin(), rows.end(), random);
            for (std::int64_t y : rows) {
                // Pixel centres inside the ellipse, in doubled coordinates.
                const std::int64_t y2 = 2 * y - (box.top + box.bottom - 1);
                Span expected{INT64_MAX, INT64_MIN};
                for (std::int64_t x = box.left; x < box.right; ++x) {
                    const std::int64_t x2 = 2 * x - (box.left + box.right - 1);
                    if (y >= box.top && y < box.bottom &&
                        x2 * x2 * h * h + y2 * y2 * w * w <= w * w * h * h) {
                        expected.x0 = std::min(expected.x0, x);
                        expected.x1 = std::max(expected.x1, x + 1);
                    }
                }
                Span got;
                const bool present = ellipse.row_span(y, &got);
                ASSERT_EQ(present, expected.x0 < expected.x1) << w << "x" << h << " row " << y;
                if (present) {
                    ASSERT_TRUE(got.x0 == expected.x0 && got.x1 == expected.x1);
                }
            }
        }
    }
}

struct PenCase {
    int style, width;
    win::COLORREF pen;
    bool brush;
    win::COLORREF brush_color;
};

// The row rules marked pixel by pixel in a pen layer and a brush layer, then
// painted pen over brush: shares the rules with the raster but not its
// union of spans, its kept runs or its painter.
class Reference {
  public:
    explicit Reference(Canvas& canvas)
        : canvas_(canvas),
          bounds_(win::dc_bounds(*canvas.dc)),
          pen_(std::size_t(canvas.width() * canvas.height())),
          brush_(pen_.size()) {}

    void polygon(bool pen, const Point64* points, std::size_t n) {
        std::vector<PolygonEdge> edges;
        for_each_edge(points, n, [&](Point64 a, Point64 b) { edges.emplace_back(a, b); });
        std::vector<std::int64_t> crossings(edges.size());
        for (std::int64_t y = bounds_.top; y < bounds_.bottom; ++y) {
            const std::size_t found =
                row_crossings(edges.data(), edges.size(), y, crossings.data());
            for (std::size_t i = 0; i + 1 < found; i += 2)
                mark(pen, y, {crossings[i], crossings[i + 1]});
        }
    }
    void thin_path(const Point64* points, std::size_t n, bool closed) {
        for (std::size_t i = 0; i < path_segments(n, closed); ++i) {
            const LineRows line(points[i], points[(i + 1) % n]);
            Span s;
            for (std::int64_t y = bounds_.top; y < bounds_.bottom; ++y)
                if (line.row_span(y, &s)) mark(true, y, s);
        }
    }
    void wide_path(const Point64* points, std::size_t n, bool closed, std::int64_t width) {
        for_each_wide_part(
            points, n, closed, width, [&](const Point64* quad) { polygon(true, quad, 4); },
            [&](Point64 centre) { ellipse(true, disc_box(centre, width)); });
    }
    void ellipse(bool pen, const Box64& box) {
        const EllipseRows rows(box);
        Span s;
        for (std::int64_t y = bounds_.top; y < bounds_.bottom; ++y)
            if (rows.row_span(y, &s)) mark(pen, y, s);
    }
    // The DC's pen and brush along a closed path of points.
    void polygon_with_dc_objects(const std::vector<Point64>& points) {
        const FigureColours c = colours_of(*canvas_.dc);
        if (c.brush) polygon(false, points.data(), points.size());
        if (c.pen == PenMode::Thin) thin_path(points.data(), points.size(), true);
        if (c.pen == PenMode::Wide) wide_path(points.data(), points.size(), true, c.pen_width);
        paint(c.brush_pixel, c.pen_pixel);
    }
    // Writes the layers; bumps the surface version once when anything was written.
    void paint(std::uint32_t brush_pixel, std::uint32_t pen_pixel) {
        bool wrote = false;
        for (int y = 0; y < canvas_.height(); ++y) {
            for (int x = 0; x < canvas_.width(); ++x) {
                const std::size_t i = index(x, y);
                if (!pen_[i] && !brush_[i]) continue;
                canvas_.surface.row(y)[x] = pen_[i] ? pen_pixel : brush_pixel;
                wrote = true;
            }
        }
        if (wrote) canvas_.surface.touch();
    }

  private:
    std::size_t index(std::int64_t x, std::int64_t y) const {
        return std::size_t(y * canvas_.width() + x);
    }
    void mark(bool pen, std::int64_t y, Span s) {
        for (std::int64_t x = std::max<std::int64_t>(s.x0, bounds_.left);
             x < std::min<std::int64_t>(s.x1, bounds_.right); ++x)
            (pen ? pen_ : brush_)[index(x, y)] = true;
    }

    Canvas& canvas_;
    win::Rect bounds_;
    std::vector<bool> pen_, brush_;
};

// The same polygon by the exact rules, as the drawing call must paint it.
void general_polygon(Canvas& canvas, const std::vector<Point64>& points) {
    Reference(canvas).polygon_with_dc_objects(points);
}

// The pixels in which two canvases of one size differ.
int differing_pixels(const Canvas& fast, const Canvas& general) {
    int differing = 0;
    fast.for_each_pixel([&](int x, int y, win::COLORREF v) { differing += v != general.at(x, y); });
    return differing;
}

std::vector<Point64> widened(const std::vector<win::Point>& points) {
    std::vector<Point64> wide(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) wide[i] = {points[i].x, points[i].y};
    return wide;
}

void select(Canvas& canvas, const PenCase& c) {
    canvas.use(c.style, c.width, c.pen, c.brush ? &c.brush_color : nullptr);
}

TEST(Figures, PolygonsMatchTheExactRulesPixelForPixel) {
    using namespace raster_test;
    const PenCase cases[] = {
        {win::PS_SOLID, 1, RED, true, RED},   {win::PS_SOLID, 0, BLUE, false, 0},
        {win::PS_NULL, 0, 0, true, BLUE},     {win::PS_SOLID, 3, RED, false, 0},
        {win::PS_SOLID, 2, BLUE, true, BLUE}, {win::PS_SOLID, 1, RED, true, BLUE},
    };
    std::mt19937 random(5);
    std::uniform_int_distribution<int> coordinate(-8, 47), vertices(3, 9);
    for (int round = 0; round < 300; ++round) {
        std::vector<win::Point> points(std::size_t(vertices(random)));
        for (win::Point& p : points) p = {coordinate(random), coordinate(random)};
        const std::vector<Point64> wide = widened(points);
        const PenCase& c = cases[std::size_t(round) % std::size(cases)];
        Canvas fast(40, 40), general(40, 40);
        if (round % 4 == 3) {  // a clip cuts both the same way
            fast.dc->has_clip = general.dc->has_clip = true;
            fast.dc->clip = general.dc->clip = {5, 3, 31, 29};
        }
        select(fast, c);
        select(general, c);
        ASSERT_TRUE(win::polygon(fast.dc, points.data(), int(points.size())));
        general_polygon(general, wide);
        const int differing = differing_pixels(fast, general);
        ASSERT_EQ(differing, 0) << "round " << round << ", " << points.size() << " vertices";
        EXPECT_EQ(fast.surface.version, general.surface.version) << "round " << round;
    }
}

TEST(Figures, LinesMatchTheExactRules) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> coordinate(-6, 45), width(0, 7);
    for (int round = 0; round < 400; ++round) {
        const win::Point a{coordinate(random), coordinate(random)};
        const win::Point b =
            round % 5 == 0 ? a : win::Point{coordinate(random), coordinate(random)};
        const int pen_width = width(random);
        Canvas fast(40, 40), general(40, 40);
        fast.outlined(pen_width, raster_test::RED);
        general.outlined(pen_width, raster_test::RED);
        win::move_to(fast.dc, a.x, a.y, nullptr);
        ASSERT_TRUE(win::line_to(fast.dc, b.x, b.y));

        Reference stroke(general);
        const Point64 ends[2] = {{a.x, a.y}, {b.x, b.y}};
        if (pen_width <= 1) stroke.thin_path(ends, 2, false);
        if (pen_width > 1 && !(ends[0] == ends[1])) stroke.wide_path(ends, 2, false, pen_width);
        stroke.paint(0, win::pixel_of(raster_test::RED));

        const int differing = differing_pixels(fast, general);
        ASSERT_EQ(differing, 0) << "round " << round << " width " << pen_width;
    }
}

}  // namespace

namespace {

// Kept shapes: a figure drawn once and then again elsewhere (partly outside
// the canvas or the clip too) paints what drawing it fresh there paints.
TEST(FigureCache, ShapesDrawnAgainElsewhereMatchTheExactRules) {
    using namespace raster_test;
    std::mt19937 random(9);
    std::uniform_int_distribution<int> offset(-12, 40), shape(0, 12), width(0, 4);
    for (int round = 0; round < 300; ++round) {
        const int kind = round % 3;
        std::vector<win::Point> points{
            {0, 0}, {shape(random), shape(random) - 6}, {shape(random) - 6, shape(random)}};
        const int pen_width = width(random);
        Canvas first(40, 40), fast(40, 40), general(40, 40);
        if (round % 4 == 1) {
            fast.dc->has_clip = general.dc->has_clip = true;
            fast.dc->clip = general.dc->clip = {4, 6, 33, 30};
        }
        for (Canvas* c : {&first, &fast, &general}) {
            if (kind == 0) c->filled(pen_width, RED, RED);
            if (kind == 1) c->outlined(pen_width, RED);
            if (kind == 2) c->brush_only(RED);
        }
        // The first drawing keeps the shape; the second is painted from it.
        const int dx = offset(random), dy = offset(random);
        std::vector<win::Point> moved = points;
        for (win::Point& p : moved) p = {p.x + dx, p.y + dy};
        std::vector<Point64> moved64(moved.size());
        for (std::size_t i = 0; i < moved.size(); ++i) moved64[i] = {moved[i].x, moved[i].y};
        if (kind == 2) {  // ellipses: the box of the first two points
            const int l = std::min(moved[1].x, dx), t = std::min(moved[1].y, dy);
            const int r = std::max(moved[1].x, dx) + 1, b = std::max(moved[1].y, dy) + 1;
            win::ellipse(first.dc, l - dx + 3, t - dy + 3, r - dx + 3, b - dy + 3);
            win::ellipse(fast.dc, l, t, r, b);
            Reference fill(general);
            fill.ellipse(false, Box64{l, t, r - 1, b - 1});
            fill.paint(win::pixel_of(RED), 0);
        } else {
            win::polygon(first.dc, points.data(), 3);
            win::polygon(fast.dc, moved.data(), 3);
            general_polygon(general, moved64);
        }
        const int differing = differing_pixels(fast, general);
        ASSERT_EQ(differing, 0) << "round " << round << " kind " << kind;
        EXPECT_EQ(fast.surface.version, general.surface.version) << "round " << round;
    }
}

TEST(FigureCache, ShapesTooLargeOrTooFarApartAreDrawnDirectly) {
    using namespace raster_test;
    // Ellipses of 64 rows and more, and polygons whose points lie 64 or more apart.
    for (int size : {63, 64, 90}) {
        Canvas fast(100, 100), general(100, 100);
        fast.brush_only(BLUE);
        win::ellipse(fast.dc, 2, 3, 2 + size + 1, 3 + size + 1);
        Reference fill(general);
        fill.ellipse(false, Box64{2, 3, 2 + size, 3 + size});
        fill.paint(win::pixel_of(BLUE), 0);
        EXPECT_EQ(differing_pixels(fast, general), 0) << size;

        Canvas fast_polygon(100, 100), general_polygon_canvas(100, 100);
        fast_polygon.filled(1, RED, RED);
        general_polygon_canvas.filled(1, RED, RED);
        const win::Point points[3] = {{1, 1}, {1 + size, 5}, {9, 1 + size}};
        const std::vector<Point64> wide{{1, 1}, {1 + size, 5}, {9, 1 + size}};
        win::polygon(fast_polygon.dc, points, 3);
        general_polygon(general_polygon_canvas, wide);
        EXPECT_EQ(differing_pixels(fast_polygon, general_polygon_canvas), 0) << size;
    }
}

}  // namespace

namespace {

// Long paths outgrow a figure's inline parts and spill to its arena: many
// edges in one polygon, many quads and discs along a wide pen, with pen and
// brush in one colour or two.
TEST(Figures, LongPathsMatchTheExactRules) {
    using namespace raster_test;
    const PenCase cases[] = {
        {win::PS_SOLID, 1, RED, true, BLUE},
        {win::PS_SOLID, 3, RED, true, RED},
        {win::PS_SOLID, 4, BLUE, true, RED},
        {win::PS_NULL, 0, 0, true, BLUE},
    };
    std::mt19937 random(13);
    std::uniform_int_distribution<int> coordinate(-8, 47), vertices(17, 70);
    for (int round = 0; round < 40; ++round) {
        std::vector<win::Point> points(std::size_t(vertices(random)));
        for (win::Point& p : points) p = {coordinate(random), coordinate(random)};
        const std::vector<Point64> wide = widened(points);
        const PenCase& c = cases[std::size_t(round) % std::size(cases)];
        Canvas fast(40, 40), general(40, 40);
        select(fast, c);
        select(general, c);
        ASSERT_TRUE(win::polygon(fast.dc, points.data(), int(points.size())));
        general_polygon(general, wide);
        const int differing = differing_pixels(fast, general);
        ASSERT_EQ(differing, 0) << "round " << round << ", " << points.size() << " vertices";
    }
}

}  // namespace
