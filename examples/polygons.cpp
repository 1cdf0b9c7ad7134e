// Functions with parameters, in C++: draw_polygon draws a regular polygon
// with any number of corners, any size, anywhere, as lines between points
// on a circle.  The loop calls it for 3 to 10 corners.
// Close the window to end the program.
#include <cmath>

#include "kv390.h"

constexpr double PI = 3.14159265358979;

// A regular polygon with n corners round centre, the corners radius away.
void draw_polygon(KV390_point centre, int radius, int corners, int color) {
    for (int i = 0; i < corners; ++i) {
        double a = 2 * PI * i / corners, b = 2 * PI * (i + 1) / corners;
        KV390_point from{centre.x + int(std::lround(radius * std::sin(a))),
                         centre.y + int(std::lround(radius * std::cos(a)))};
        KV390_point to{centre.x + int(std::lround(radius * std::sin(b))),
                       centre.y + int(std::lround(radius * std::cos(b)))};
        KV390_line_pt(color, from, to, 3);
    }
}

int main() {
    KV390_begin(nullptr, nullptr, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_clear();

    for (int corners = 3; corners <= 10; ++corners) {
        int column = (corners - 3) % 4, row = (corners - 3) / 4;
        KV390_point centre{-220 + column * 145, 90 - row * 200};
        draw_polygon(centre, 60, corners, corners % 2 == 0 ? BLUE : RED);
        KV390_textf(BLACK, centre.x - 30, centre.y - 90, 14, "%d corners", corners);
    }
    KV390_text(BLACK, -285, 225, 16, "One function, eight polygons");

    int x = 0, y = 0;
    char key = 0;
    while (KV390_wait_event(&x, &y, &key) != KV390_QUIT) {
    }
    KV390_end();
    return 0;
}
