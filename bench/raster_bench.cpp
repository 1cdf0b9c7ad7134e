// Raster costs: small and large circles, huge shapes whose visible part is
// small, wide lines, a big triangle, full-canvas fills and window scrolling.
#include <climits>

#include <benchmark/benchmark.h>

#include "kv390/win.h"

namespace {

using namespace win;

// A memory DC drawing into a bitmap the size of the graphics canvas.
class Canvas {
  public:
    Canvas(int width = 601, int height = 540) {
        dc_ = create_compatible_dc(nullptr);
        bitmap_ = create_compatible_bitmap(dc_, width, height);
        old_bitmap_ = select_object(dc_, bitmap_);
        brush_ = create_solid_brush(rgb(0, 0, 255));
        old_brush_ = select_object(dc_, brush_);
    }
    ~Canvas() {
        set_pen_width(-1);
        select_object(dc_, old_brush_);
        select_object(dc_, old_bitmap_);
        delete_object(brush_);
        delete_object(bitmap_);
        delete_dc(dc_);
    }
    // Selects a solid red pen of this width (negative: the stock black pen).
    void set_pen_width(int width) {
        HGDIOBJ pen = width < 0 ? get_stock_object(BLACK_PEN) : create_pen(PS_SOLID, width, 255);
        HGDIOBJ old = select_object(dc_, pen);
        delete_object(old);  // refuses stock pens
    }
    void empty_brush() { select_object(dc_, get_stock_object(NULL_BRUSH)); }
    HDC dc() const { return dc_; }

  private:
    HDC dc_;
    HGDIOBJ bitmap_, old_bitmap_, brush_, old_brush_;
};

void BM_FilledCircle(benchmark::State& state) {
    Canvas c;
    const int r = int(state.range(0));
    for (auto _ : state) ellipse(c.dc(), 300 - r, 270 - r, 301 + r, 271 + r);
}
BENCHMARK(BM_FilledCircle)->Arg(3)->Arg(200);

// A circle of radius INT_MAX / 2 whose boundary crosses the canvas: the
// visible part is a thin arc, so the cost stays that of the visible rows.
void BM_HugeCircleVisibleArc(benchmark::State& state) {
    Canvas c;
    const int r = INT_MAX / 2;
    for (auto _ : state) ellipse(c.dc(), 300 - 2 * r, 100 - r, 300, 100 + r);
}
BENCHMARK(BM_HugeCircleVisibleArc);

// The same circle pushed off canvas so that only a corner of a small area shows.
void BM_HugeCircleOffCanvas(benchmark::State& state) {
    Canvas c;
    for (auto _ : state) ellipse(c.dc(), INT_MIN, INT_MIN, -1000, -1000);
}
BENCHMARK(BM_HugeCircleOffCanvas);

void BM_WideLine(benchmark::State& state) {
    Canvas c;
    c.set_pen_width(int(state.range(0)));
    for (auto _ : state) {
        move_to(c.dc(), 20, 30, nullptr);
        line_to(c.dc(), 580, 510);
    }
}
BENCHMARK(BM_WideLine)->Arg(1)->Arg(9)->Arg(INT_MAX);

void BM_BigTriangle(benchmark::State& state) {
    Canvas c;
    const Point triangle[] = {{0, 539}, {600, 539}, {300, 0}};
    for (auto _ : state) polygon(c.dc(), triangle, 3);
}
BENCHMARK(BM_BigTriangle);

void BM_BigTriangleWideOutline(benchmark::State& state) {
    Canvas c;
    c.set_pen_width(5);
    c.empty_brush();
    const Point triangle[] = {{0, 539}, {600, 539}, {300, 0}};
    for (auto _ : state) polygon(c.dc(), triangle, 3);
}
BENCHMARK(BM_BigTriangleWideOutline);

void BM_FullCanvasFill(benchmark::State& state) {
    Canvas c;
    for (auto _ : state) rectangle(c.dc(), 0, 0, 601, 540);
}
BENCHMARK(BM_FullCanvasFill);

// A one-line scroll of a large text window: the whole-surface case turns the
// ring of rows; the clipped case has to move every pixel.
void BM_ScrollWholeWindow(benchmark::State& state) {
    Canvas c(1024, 768);
    for (auto _ : state) scroll_dc(c.dc(), 0, -16, nullptr, nullptr, nullptr);
}
BENCHMARK(BM_ScrollWholeWindow);

void BM_ScrollClippedWindow(benchmark::State& state) {
    Canvas c(1024, 768);
    const Rect clip{0, 0, 1024, 767};
    for (auto _ : state) scroll_dc(c.dc(), 0, -16, nullptr, &clip, nullptr);
}
BENCHMARK(BM_ScrollClippedWindow);

}  // namespace
