/* A small physics simulation: balls thrown sideways fall, bounce off the
 * floor and the walls, and lose a little speed at every bounce until they
 * roll.  Each tick moves the simulation on by one time step:
 *     speed    += gravity * dt
 *     position += speed * dt
 * Click to throw a new ball from that place.  Close the window to end the
 * program. */
#include "kv390.h"

#define MAX_BALLS 20
#define RADIUS 12
#define FLOOR (-230)
#define WALL 290
#define GRAVITY (-600.0) /* pixels per second, per second (down) */
#define DT 0.1           /* seconds per tick */
#define BOUNCE 0.75      /* the part of the speed a bounce keeps */

struct ball {
    double x, y;   /* position */
    double vx, vy; /* speed, pixels per second */
    int color;
};

static struct ball balls[MAX_BALLS];
static int ball_count = 0;

static void throw_ball(int x, int y) {
    struct ball* b;
    if (ball_count == MAX_BALLS) return;
    b = &balls[ball_count];
    b->x = x;
    b->y = y;
    b->vx = ball_count % 2 == 0 ? 120 : -90; /* every other one to the left */
    b->vy = 0;
    b->color = RED + ball_count % 6; /* RED, GREEN, BLUE, YELLOW, MAGENTA, CYAN */
    ball_count++;
}

static void move(struct ball* b) {
    b->vy += GRAVITY * DT;
    b->x += b->vx * DT;
    b->y += b->vy * DT;
    if (b->y < FLOOR + RADIUS) { /* hit the floor: turn upwards, a little slower */
        b->y = FLOOR + RADIUS;
        b->vy = -b->vy * BOUNCE;
        b->vx = b->vx * 0.95; /* and friction */
    }
    if (b->x > WALL - RADIUS || b->x < -WALL + RADIUS) {
        b->x = b->x > 0 ? WALL - RADIUS : -WALL + RADIUS;
        b->vx = -b->vx * BOUNCE;
    }
}

static void draw(void) {
    int i;
    KV390_clear();
    KV390_rectangle(GRAY_50, -296, FLOOR, 296, -247, 0);
    for (i = 0; i < ball_count; ++i) {
        KV390_circle(balls[i].color, (int)balls[i].x, (int)balls[i].y, RADIUS);
    }
    KV390_text(BLACK, -285, 225, 16, "Click to throw a ball.");
}

int main(void) {
    int x = 0, y = 0, event = 0, i;
    char key = 0;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    throw_ball(-200, 150);

    while (event != KV390_QUIT) {
        draw();
        event = KV390_wait_event(&x, &y, &key);
        if (event == KV390_PERIODIC) {
            for (i = 0; i < ball_count; ++i) move(&balls[i]);
        } else if (event == KV390_MOUSE) {
            throw_ball(x, y);
        }
    }
    KV390_end();
    return 0;
}
