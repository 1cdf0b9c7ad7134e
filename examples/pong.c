/* A game for two players on one keyboard: Pong.  The left player moves with
 * W and S, the right one with the Up and Down arrows; both may hold their
 * keys at the same time, because every tick asks KV390_key_held about each
 * key.  A faster tick (KV390_set_tick_ms) makes the game smooth.  Miss the
 * ball and the other player scores.  Close the window to end the program. */
#include "kv390.h"

#define TICK_MS 30
#define PADDLE_HALF 40 /* half the height of a paddle */
#define PADDLE_X 270
#define PADDLE_STEP 8
#define BALL 8 /* the ball's radius */
#define TOP 240

struct game {
    int left_y, right_y; /* the middles of the paddles */
    int ball_x, ball_y, dx, dy;
    int left_score, right_score;
};

static void serve(struct game* g, int direction) {
    g->ball_x = 0;
    g->ball_y = 0;
    g->dx = 6 * direction;
    g->dy = 4;
}

/* Moves a paddle by the keys held, keeping it inside the field. */
static int move_paddle(int y, int up_key, int down_key) {
    if (KV390_key_held(up_key) && y < TOP - PADDLE_HALF) y += PADDLE_STEP;
    if (KV390_key_held(down_key) && y > -TOP + PADDLE_HALF) y -= PADDLE_STEP;
    return y;
}

/* Non-zero when the paddle at paddle_y covers the ball's height. */
static int hits(int paddle_y, int ball_y) {
    return ball_y >= paddle_y - PADDLE_HALF - BALL && ball_y <= paddle_y + PADDLE_HALF + BALL;
}

static void step(struct game* g) {
    g->left_y = move_paddle(g->left_y, 'W', 'S');
    g->right_y = move_paddle(g->right_y, KV390_KEY_UP, KV390_KEY_DOWN);
    g->ball_x += g->dx;
    g->ball_y += g->dy;
    if (g->ball_y > TOP - BALL || g->ball_y < -TOP + BALL)
        g->dy = -g->dy; /* top and bottom walls */
    if (g->dx > 0 && g->ball_x >= PADDLE_X - BALL && hits(g->right_y, g->ball_y)) g->dx = -g->dx;
    if (g->dx < 0 && g->ball_x <= -PADDLE_X + BALL && hits(g->left_y, g->ball_y)) g->dx = -g->dx;
    if (g->ball_x > 297) { /* the right player missed */
        g->left_score++;
        serve(g, -1);
    } else if (g->ball_x < -297) {
        g->right_score++;
        serve(g, 1);
    }
}

static void draw(const struct game* g) {
    int y;
    KV390_clear();
    KV390_rectangle(BLACK, -296, -247, 296, 247, 0);
    for (y = -240; y < 240; y += 30) KV390_line(GRAY_50, 0, y, 0, y + 15, 2); /* the net */
    KV390_rectangle(CYAN, -PADDLE_X - 10, g->left_y - PADDLE_HALF, -PADDLE_X,
                    g->left_y + PADDLE_HALF, 0);
    KV390_rectangle(GOLD, PADDLE_X, g->right_y - PADDLE_HALF, PADDLE_X + 10,
                    g->right_y + PADDLE_HALF, 0);
    KV390_circle(WHITE, g->ball_x, g->ball_y, BALL);
    KV390_textf(CYAN, -160, 200, 32, "%d", g->left_score);
    KV390_textf(GOLD, 140, 200, 32, "%d", g->right_score);
    KV390_text(GRAY_50, -285, -240, 12, "W / S");
    KV390_text(GRAY_50, 200, -240, 12, "Up / Down");
}

int main(void) {
    struct game game = {0, 0, 0, 0, 0, 0, 0, 0};
    KV390_input in;

    KV390_set_tick_ms(TICK_MS); /* may come before KV390_begin */
    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    serve(&game, 1);
    KV390_set_run_mode(KV390_RUN_ANIMATE);
    draw(&game);

    while (KV390_wait_input(&in) != KV390_QUIT) {
        if (in.kind == KV390_PERIODIC) {
            step(&game);
            draw(&game);
        }
    }
    KV390_end();
    return 0;
}
