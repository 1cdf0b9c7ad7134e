/* Snake: steer with the arrow keys (or W A S D), eat the red apples, do not
 * run into the wall or into yourself.  Hold Space to go twice as fast.
 * After a crash Enter starts a new game; Escape or closing the window ends
 * the program.
 *
 * Shows KV390_wait_input (key presses with key codes), KV390_key_held (is
 * Space down at this tick?), KV390_set_tick_ms (a faster animation) and
 * KV390_define_color (colours of the game's own). */
#include "kv390.h"

#define CELL 16    /* pixels per cell; a cell is drawn 15 x 15 */
#define COLUMNS 34 /* the field is COLUMNS x ROWS cells */
#define ROWS 28
#define LEFT (-272) /* drawing coordinates of the field's lower-left corner */
#define BOTTOM (-224)
#define MAX_LENGTH (COLUMNS * ROWS)
#define START_LENGTH 4
#define TICK_MS 80

struct cell {
    int column, row;
};

struct game {
    struct cell body[MAX_LENGTH]; /* body[0] is the head */
    int length;
    int dx, dy;           /* the direction of the last step */
    int next_dx, next_dy; /* the direction the keys asked for */
    struct cell apple;
    unsigned apple_seed;
    int score;
    int over;
};

/* The game's own colours, defined once at the start. */
static int grass, snake_body, snake_head, apple_red, banner;

static void define_colors(void) {
    grass = KV390_define_color(196, 228, 160);
    snake_body = KV390_define_color(46, 139, 87);
    snake_head = KV390_define_color(20, 80, 40);
    apple_red = KV390_define_color(210, 30, 45);
    banner = KV390_define_color(60, 60, 90);
}

static int occupied(const struct game* g, struct cell c) {
    int i;
    for (i = 0; i < g->length; ++i) {
        if (g->body[i].column == c.column && g->body[i].row == c.row) return 1;
    }
    return 0;
}

/* Apples appear at places of a fixed pseudo-random sequence (the same in
 * every game), skipping the cells the snake covers. */
static void place_apple(struct game* g) {
    do {
        g->apple_seed = g->apple_seed * 1103515245u + 12345u;
        g->apple.column = (int)((g->apple_seed >> 16) % COLUMNS);
        g->apple.row = (int)((g->apple_seed >> 8) % ROWS);
    } while (occupied(g, g->apple));
}

static void new_game(struct game* g) {
    int i;
    g->length = START_LENGTH;
    for (i = 0; i < START_LENGTH; ++i) {
        g->body[i].column = 10 - i;
        g->body[i].row = ROWS / 2;
    }
    g->dx = g->next_dx = 1;
    g->dy = g->next_dy = 0;
    g->apple.column = 20; /* the first apple lies straight ahead */
    g->apple.row = ROWS / 2;
    g->apple_seed = 1;
    g->score = 0;
    g->over = 0;
}

/* Arrow keys and W A S D choose the next direction; the snake cannot turn
 * straight back into itself. */
static void steer(struct game* g, int code) {
    int dx = 0, dy = 0;
    if (code == KV390_KEY_LEFT || code == 'A')
        dx = -1;
    else if (code == KV390_KEY_RIGHT || code == 'D')
        dx = 1;
    else if (code == KV390_KEY_UP || code == 'W')
        dy = 1;
    else if (code == KV390_KEY_DOWN || code == 'S')
        dy = -1;
    else
        return;
    if (dx == -g->dx && dy == -g->dy) return;
    g->next_dx = dx;
    g->next_dy = dy;
}

/* One step forward: grow on an apple, end the game on a crash. */
static void step(struct game* g) {
    struct cell head;
    int i, ate;
    if (g->over) return;
    g->dx = g->next_dx;
    g->dy = g->next_dy;
    head.column = g->body[0].column + g->dx;
    head.row = g->body[0].row + g->dy;
    ate = head.column == g->apple.column && head.row == g->apple.row;
    if (!ate) g->length--; /* the tail moves on: its cell is free for the head */
    if (head.column < 0 || head.column >= COLUMNS || head.row < 0 || head.row >= ROWS ||
        occupied(g, head)) {
        if (!ate) g->length++;
        g->over = 1;
        return;
    }
    for (i = g->length; i > 0; --i) g->body[i] = g->body[i - 1];
    g->body[0] = head;
    g->length++;
    if (ate) {
        g->score++;
        if (g->length < MAX_LENGTH) place_apple(g);
    }
}

static void draw_cell(int color, struct cell c) {
    int x = LEFT + c.column * CELL, y = BOTTOM + c.row * CELL;
    KV390_rectangle(color, x, y, x + CELL - 2, y + CELL - 2, 0);
}

static void draw(const struct game* g) {
    int i;
    KV390_clear();
    KV390_rectangle(grass, LEFT, BOTTOM, LEFT + COLUMNS * CELL - 2, BOTTOM + ROWS * CELL - 2, 0);
    draw_cell(apple_red, g->apple);
    for (i = g->length - 1; i >= 0; --i) draw_cell(i == 0 ? snake_head : snake_body, g->body[i]);
    KV390_textf(banner, LEFT, BOTTOM + ROWS * CELL + 18, 16,
                "Score %d   arrows: steer, space: fast", g->score);
    if (g->over) {
        KV390_rectangle(banner, -180, 30, 180, -30, 0);
        KV390_text(WHITE, -150, -6, 20, "Game over - Enter plays again");
    }
}

int main(void) {
    static struct game game; /* static: the body array is large for a stack */
    KV390_input in;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    KV390_set_tick_ms(TICK_MS);
    define_colors();
    new_game(&game);
    draw(&game);
    KV390_set_run_mode(KV390_RUN_ANIMATE);

    while (KV390_wait_input(&in) != KV390_QUIT) {
        if (in.kind == KV390_KEY_PRESS && in.code == KV390_KEY_ESCAPE) {
            KV390_set_run_mode(KV390_RUN_QUIT);
        } else if (in.kind == KV390_KEY_PRESS && game.over && in.code == KV390_KEY_ENTER) {
            new_game(&game);
            draw(&game);
        } else if (in.kind == KV390_KEY_PRESS) {
            steer(&game, in.code);
        } else if (in.kind == KV390_PERIODIC) {
            step(&game);
            if (KV390_key_held(KV390_KEY_SPACE)) step(&game); /* held: twice the speed */
            draw(&game);
        }
    }
    KV390_end();
    return 0;
}
