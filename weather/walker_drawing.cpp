// Drawings of the walkers: the drumming rabbit in three poses and the
// four-legged hunter facing left or right.
#include "kv390.h"
#include "weather.h"

namespace {

void draw_rabbit_facing_side(int x, int y, int b, int s) {
    KV390_circle(WHITE, x - 15 * s, y - 4, 6);  // tail
    KV390_circle(BLACK, x + 15 * s, y, 11);     // drum rim
    KV390_circle(WHITE, x + 15 * s, y, 9);      // drum head
    draw_rabbit_ear(x - 4 * s, y + 23, -s);
    KV390_line(BLACK, x + 6 * s, y - 5, x + (10 + 2 * b) * s, y + b - 3, 2);  // stick
    KV390_circle(PINK, x + 6 * s, y - 5, 6);                                  // paw
}

void draw_rabbit_facing_viewer(int x, int y, int b) {
    KV390_rectangle(BLACK, x, y - 9, x + 5, y + 9, 0);               // drum side
    KV390_oval(BLACK, x, y - 9, x + 7, y + 9, 0);                    // drum rim
    KV390_oval(WHITE, x - 5, y - 8, x, y + 8, 0);                    // drum head
    KV390_line(BLACK, x + 15, y - 3, x + 11 - 2 * b, y + 1 - b, 2);  // stick
    KV390_circle(PINK, x + 15, y - 5, 6);                            // paw
    KV390_line(BLACK, x - 11 + 2 * b, y + b - 3, x - 15, y - 5, 2);  // stick
    KV390_circle(PINK, x - 15, y - 5, 6);                            // paw
    draw_rabbit_ear(x - 4, y + 23, -1);
    draw_rabbit_ear(x + 4, y + 23, +1);
}

}  // namespace

void draw_walkers(const WalkerStore& walkers, const SceneCounts& counts) {
    for (int i = 0; i < counts.walker_count; ++i) {
        const SceneObject& walker = walkers[i];
        if (walker.kind == KIND_HUNTER) {
            draw_hunter(walker.x, walker.y, walker.bob, walker.heading);
        } else if (walker.kind == KIND_RABBIT) {
            draw_rabbit(walker.x, walker.y, walker.bob, walker.heading);
        }
    }
}

void draw_rabbit(int x, int y, int bob, int heading) {
    KV390_circle(PINK, x, y, 15);      // body
    KV390_circle(PINK, x, y + 21, 8);  // head
    if (heading > 0) {
        draw_rabbit_facing_side(x, y, bob, +1);
    } else if (heading == 0) {
        draw_rabbit_facing_viewer(x, y, bob);
    } else {
        draw_rabbit_facing_side(x, y, bob, -1);
    }
}

void draw_rabbit_ear(int x, int y, int side) {
    KV390_oval(PINK, x + 10 * side, y, x, y + 25, 0);                 // ear
    KV390_oval(WHITE, x + 3 * side, y + 2, x + 7 * side, y + 23, 0);  // inside of the ear
    KV390_circle(BLACK, x - 8 * side, y, 3);                          // lens of the glasses
    KV390_line(BLACK, x - 8 * side, y + 2, x + 4 * side, y + 2, 1);   // frame of the glasses
}

void draw_hunter(int x, int y, int bob, int heading) {
    if (heading == 0 || heading == 2) {
        draw_hunter_pose(x, y, bob, +1);
    } else if (heading == 1 || heading == 3) {
        draw_hunter_pose(x, y, bob, -1);
    }
}

void draw_hunter_pose(int x, int y, int b, int s) {
    KV390_triangle(GRAY_20, x + 16 * s, y + 6, x + 16 * s, y + 18, x + 32 * s, y, 0);  // head
    KV390_circle(BLACK, x + 32 * s, y, 2);                                             // nose
    KV390_circle(BLACK, x + 21 * s, y + 10, 1);                                        // eye
    KV390_line(GRAY_20, x - 12 * s, y + 3, x - 30 * s, y + 6 + b / 2, 3);              // tail
    KV390_rectangle(GRAY_20, x + 12 * s, y + 6, x - 12 * s, y - 6, 0);                 // body
    KV390_line(BLACK, x - 12 * s, y, x - (b + 12) * s, y - 12 - b / 3, 3);             // hind leg
    KV390_line(BLACK, x + 12 * s, y, x + (b + 12) * s, y - 12 - b / 3, 3);             // fore leg
    KV390_circle(GRAY_20, x - 12 * s, y, 6);                                           // haunch
    KV390_circle(GRAY_20, x + 12 * s, y, 6);                                           // shoulder
}
