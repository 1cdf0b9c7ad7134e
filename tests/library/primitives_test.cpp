// Argument corrections, their messages and order, and the description lines.
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "library_fixture.h"

namespace kv390::test {
namespace {

using Lines = std::vector<std::string>;
using PrimitivesTest = LibraryTest;

TEST_F(PrimitivesTest, BadColoursAreReportedAndDrawnRed) {
    for (int color : {24, -1}) {
        restart();
        open_cleared();
        EXPECT_EQ(KV390_pixel(color, 3, 4), 1);
        EXPECT_EQ(log_lines(), (Lines{"Illegal color " + std::to_string(color) + "; using RED.\n",
                                      "red pixel at (3,4)\n"}));
        EXPECT_EQ(canvas_at(canvas(), 3, 4), pixel_of_color(RED));
    }
}

TEST_F(PrimitivesTest, NegativeRadiusIsMadePositive) {
    open_cleared();
    KV390_circle(RED, 0, 0, -5);
    EXPECT_EQ(log_lines(), (Lines{"Radius of -5 not possible, using radius 5\n",
                                  "red circle at (0,0), radius 5\n"}));
    const win::Rect box = bounds_of(canvas(), pixel_of_color(RED));
    EXPECT_EQ(box.right - box.left + 1, 11);
    EXPECT_EQ(box.bottom - box.top + 1, 11);
    EXPECT_EQ(box.left, lib().origin_x - 5);
    EXPECT_EQ(box.top, lib().origin_y - 5);
}

TEST_F(PrimitivesTest, PointSizesAreKeptBetweenZeroAnd127) {
    struct Case {
        int size;
        Lines corrections;
    };
    const Case cases[] = {
        {-200,
         {"ptsize of -200 not possible, using ptsize 200\n",
          "ptsize of 200 not possible, using ptsize 127\n"}},
        {128, {"ptsize of 128 not possible, using ptsize 127\n"}},
        {-5, {"ptsize of -5 not possible, using ptsize 5\n"}},
        {127, {}},
        {0, {}},
    };
    for (const Case& c : cases) {
        restart();
        open_cleared();
        KV390_text(BLUE, 1, 2, c.size, "Hi");
        Lines expected = c.corrections;
        expected.push_back("blue text at (1,2), \"Hi\"\n");
        EXPECT_EQ(log_lines(), expected) << c.size;
    }
    // Too large is drawn at 127.
    restart();
    open_cleared();
    KV390_text(BLUE, -100, -100, -200, "Hi");
    const win::Image corrected = canvas();
    erase_canvas();
    KV390_text(BLUE, -100, -100, 127, "Hi");
    EXPECT_EQ(corrected.pixels, canvas().pixels);
    EXPECT_GT(count_pixels(corrected, pixel_of_color(BLUE)), 100);
}

TEST_F(PrimitivesTest, CorrectionsComeInEachPrimitivesOwnOrder) {
    open_cleared();
    KV390_oval(30, 0, 0, 10, 10, -2);
    EXPECT_EQ(log_lines(),
              (Lines{"Width of -2 not possible, using width 2\n", "Illegal color 30; using RED.\n",
                     "red oval with bounding box (0,10) to (10,0), line width 2\n"}));
    KV390_rectangle(30, 0, 0, 10, 10, -2);
    EXPECT_EQ(log_lines_since(3),
              (Lines{"Illegal color 30; using RED.\n", "Width of -2 not possible, using width 2\n",
                     "red rectangle with bounding box (0,10) to (10,0) with line width 2\n"}));
    KV390_line(30, 1, 2, 3, 4, -2);
    EXPECT_EQ(log_lines_since(6),
              (Lines{"Width of -2 not possible, using width 2\n", "Illegal color 30; using RED.\n",
                     "red line from (1,2) to (3,4), width 2\n"}));
    KV390_text(30, 0, 0, -1, "t");
    EXPECT_EQ(log_lines_since(9),
              (Lines{"ptsize of -1 not possible, using ptsize 1\n",
                     "Illegal color 30; using RED.\n", "red text at (0,0), \"t\"\n"}));
    KV390_triangle(30, 1, 2, 3, 4, 5, 6, -3);
    EXPECT_EQ(log_lines_since(12),
              (Lines{"Illegal color 30; using RED.\n", "Width of -3 not possible, using width 3\n",
                     "red triangle at (1,2), (3,4), (5,6)\n"}));
    KV390_circle(-7, 1, 2, -3);
    EXPECT_EQ(log_lines_since(15), (Lines{"Illegal color -7; using RED.\n",
                                          "Radius of -3 not possible, using radius 3\n",
                                          "red circle at (1,2), radius 3\n"}));
}

TEST_F(PrimitivesTest, DescriptionLinesNameColoursAndSortedCorners) {
    open_cleared();
    KV390_rectangle(GREEN, 10, -5, -10, 5, 0);
    KV390_oval(NAVY_BLUE, 10, -5, -10, 5, 0);
    KV390_oval(GRAY_50, -10, -5, 10, 5, 1);
    KV390_line(BLUE, 0, 0, 10, 10, 0);
    KV390_clear();
    KV390_undo();
    EXPECT_EQ(log_lines(),
              (Lines{"green rectangle with bounding box (-10,5) to (10,-5), filled\n",
                     "navy blue oval with bounding box (-10,5) to (10,-5), filled\n",
                     "50% gray oval with bounding box (-10,5) to (10,-5), line width 1\n",
                     "blue line from (0,0) to (10,10), width 0\n", "Clearing the graphics window\n",
                     "KV390_undo is no longer supported.\n"}));
}

TEST_F(PrimitivesTest, LineOfWidthZeroIsDrawnOnePixelWide) {
    open_cleared();
    KV390_line(BLUE, 0, 0, 10, 10, 0);
    const win::Image thin = canvas();
    EXPECT_EQ(count_pixels(thin, pixel_of_color(BLUE)), 10);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(canvas_at(thin, i, i), pixel_of_color(BLUE));
    erase_canvas();
    KV390_line(BLUE, 0, 0, 10, 10, 1);
    EXPECT_EQ(thin.pixels, canvas().pixels);
}

TEST_F(PrimitivesTest, LoggingOffStillReportsCorrectionsAndTheUndoNotice) {
    open_cleared();
    EXPECT_EQ(KV390_set_logging(0), 1);
    KV390_pixel(BLUE, 0, 0);
    KV390_circle(99, 0, 0, -1);
    KV390_text(RED, 0, 0, 500, "x");
    KV390_clear();
    EXPECT_EQ(KV390_undo(), 1);
    EXPECT_EQ(log_lines(), (Lines{"Illegal color 99; using RED.\n",
                                  "Radius of -1 not possible, using radius 1\n",
                                  "ptsize of 500 not possible, using ptsize 127\n",
                                  "KV390_undo is no longer supported.\n"}));
    EXPECT_EQ(count_pixels(canvas(), pixel_of_color(BLUE)), 0);  // cleared again
}

TEST_F(PrimitivesTest, UndoChangesNothingButTheLog) {
    open_cleared();
    KV390_pixel(BLUE, 0, 0);
    const win::Image before = canvas();
    lib().canvas_changed = 0;
    EXPECT_EQ(KV390_undo(), 1);
    EXPECT_EQ(canvas().pixels, before.pixels);
    EXPECT_EQ(lib().canvas_changed, 0u);
}

TEST_F(PrimitivesTest, FormattedTextDrawsWhatItFormatsAndReturnsItsLength) {
    open_cleared();
    EXPECT_EQ(KV390_textf(BLACK, 0, 0, 20, "%d", 42), 2);
    EXPECT_EQ(log_lines().back(), "black text at (0,0), \"42\"\n");
    const win::Image formatted = canvas();
    erase_canvas();
    KV390_text(BLACK, 0, 0, 20, "42");
    EXPECT_EQ(formatted.pixels, canvas().pixels);
    erase_canvas();
    EXPECT_EQ(KV390_textf_pt(BLACK, KV390_point{0, 0}, 20, "%d", 42), 2);
    EXPECT_EQ(formatted.pixels, canvas().pixels);
}

TEST_F(PrimitivesTest, OverlongFormattedTextIsCutSafely) {
    open_cleared();
    const std::string long_text(2000, 'w');
    EXPECT_EQ(KV390_textf(BLACK, 0, 0, 10, "%s", long_text.c_str()), 2000);
    EXPECT_EQ(KV390_textf_pt(BLACK, KV390_point{0, 0}, 10, "%s", long_text.c_str()), 2000);
    for (const std::string& line : log_lines()) {
        EXPECT_EQ(line.size(), std::size_t(FORMAT_AREA_SIZE - 1));
        EXPECT_EQ(line.rfind("black text at (0,0), \"www", 0), 0u);
    }
    // The drawing got the first 1023 characters.
    const win::Image cut = canvas();
    erase_canvas();
    KV390_text(BLACK, 0, 0, 10, long_text.substr(0, FORMAT_AREA_SIZE - 1).c_str());
    EXPECT_EQ(cut.pixels, canvas().pixels);
}

// The description lines are built piece by piece; they must read exactly as
// the printf formats of the messages would.
TEST_F(PrimitivesTest, DescriptionLinesReadAsTheirFormatsWouldForAnyNumbers) {
    open_cleared();
    char expected[FORMAT_AREA_SIZE];
    const int values[] = {INT_MIN, -1, 0, 7, INT_MAX};
    for (int a : values) {
        for (int b : values) {
            KV390_circle(TURQUOISE, a, b, b == INT_MIN ? 1 : (b < 0 ? -b : b));
            KV390_triangle(TURQUOISE, a, b, b, a, 0, a, 0);
            KV390_line(TURQUOISE, a, b, -3, b, 2);
            KV390_pixel(TURQUOISE, b, a);
            KV390_text(TURQUOISE, a, b, 12, "100% %d \\n");
            const Lines all = log_lines();  // the ring keeps the last 25; these are the last 5
            const Lines got(all.end() - 5, all.end());
            const int r = b == INT_MIN ? 1 : (b < 0 ? -b : b);
            Lines want;
            std::snprintf(expected, sizeof expected, "%s circle at (%d,%d), radius %d\n",
                          "turquoise", a, b, r);
            want.push_back(expected);
            std::snprintf(expected, sizeof expected, "%s triangle at (%d,%d), (%d,%d), (%d,%d)\n",
                          "turquoise", a, b, b, a, 0, a);
            want.push_back(expected);
            std::snprintf(expected, sizeof expected, "%s line from (%d,%d) to (%d,%d), width %d\n",
                          "turquoise", a, b, -3, b, 2);
            want.push_back(expected);
            std::snprintf(expected, sizeof expected, "%s pixel at (%d,%d)\n", "turquoise", b, a);
            want.push_back(expected);
            std::snprintf(expected, sizeof expected, "%s text at (%d,%d), \"%s\"\n", "turquoise", a,
                          b, "100% %d \\n");
            want.push_back(expected);
            EXPECT_EQ(got, want) << a << " " << b;
        }
    }
}

// Runs the same drawing through the integer and the point forms and
// compares messages and pixels.
TEST_F(PrimitivesTest, PointFormsEqualIntegerForms) {
    using Draw = void (*)();
    struct Case {
        const char* name;
        Draw integer_form, point_form;
    };
    const Case cases[] = {
        {"pixel", [] { KV390_pixel(40, 5, 6); },
         [] {
             KV390_pixel_pt(40, {5, 6});
         }},
        {"circle", [] { KV390_circle(PINK, 5, 6, -7); },
         [] {
             KV390_circle_pt(PINK, {5, 6}, -7);
         }},
        {"triangle", [] { KV390_triangle(OLIVE, -20, -10, 30, 0, 5, 40, 2); },
         [] {
             KV390_triangle_pt(OLIVE, {-20, -10}, {30, 0}, {5, 40}, 2);
         }},
        {"rectangle", [] { KV390_rectangle(GOLD, 30, -10, -20, 25, -3); },
         [] {
             KV390_rectangle_pt(GOLD, {30, -10}, {-20, 25}, -3);
         }},
        {"oval", [] { KV390_oval(-2, 30, -10, -20, 25, 0); },
         [] {
             KV390_oval_pt(-2, {30, -10}, {-20, 25}, 0);
         }},
        {"line", [] { KV390_line(CYAN, -30, 20, 40, -10, 0); },
         [] {
             KV390_line_pt(CYAN, {-30, 20}, {40, -10}, 0);
         }},
        {"text", [] { KV390_text(BROWN, -50, 10, 300, "one\ntwo"); },
         [] {
             KV390_text_pt(BROWN, {-50, 10}, 300, "one\ntwo");
         }},
        {"textf", [] { KV390_textf(BROWN, -50, 10, 18, "%s=%d", "n", 7); },
         [] {
             KV390_textf_pt(BROWN, {-50, 10}, 18, "%s=%d", "n", 7);
         }},
    };
    for (const Case& c : cases) {
        restart();
        open_cleared();
        c.integer_form();
        const Lines integer_lines = log_lines();
        const win::Image integer_pixels = canvas();
        restart();
        open_cleared();
        c.point_form();
        EXPECT_EQ(log_lines(), integer_lines) << c.name;
        EXPECT_EQ(canvas().pixels, integer_pixels.pixels) << c.name;
        EXPECT_FALSE(integer_lines.empty()) << c.name;
    }
}

}  // namespace
}  // namespace kv390::test
