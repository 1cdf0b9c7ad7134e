/* A 2D grid: Conway's Game of Life.  The world is a grid of cells, each
 * alive or dead.  At every tick all cells change together: a live cell
 * with 2 or 3 live neighbours stays alive, a dead cell with exactly 3 comes
 * alive, every other cell is dead in the next generation.
 *
 * Click a cell to switch it; Space stops and starts the ticks; c clears
 * the world.  Close the window to end the program. */
#include "kv390.h"

#define ROWS 40
#define COLUMNS 48
#define CELL 12 /* pixels per cell */
#define LEFT (-288)
#define BOTTOM (-240)

static int world[ROWS][COLUMNS]; /* 1: alive, 0: dead */
static int next[ROWS][COLUMNS];

/* Live neighbours of a cell; the world wraps round at its edges. */
static int neighbours(int row, int column) {
    int dr, dc, count = 0;
    for (dr = -1; dr <= 1; ++dr) {
        for (dc = -1; dc <= 1; ++dc) {
            if (dr == 0 && dc == 0) continue;
            count += world[(row + dr + ROWS) % ROWS][(column + dc + COLUMNS) % COLUMNS];
        }
    }
    return count;
}

static void step(void) {
    int r, c;
    for (r = 0; r < ROWS; ++r) {
        for (c = 0; c < COLUMNS; ++c) {
            int n = neighbours(r, c);
            next[r][c] = n == 3 || (world[r][c] && n == 2);
        }
    }
    for (r = 0; r < ROWS; ++r) {
        for (c = 0; c < COLUMNS; ++c) world[r][c] = next[r][c];
    }
}

static void draw(int generation, int dead_color, int live_color) {
    int r, c;
    KV390_clear();
    KV390_rectangle(dead_color, LEFT, BOTTOM, LEFT + COLUMNS * CELL - 1, BOTTOM + ROWS * CELL - 1,
                    0);
    for (r = 0; r < ROWS; ++r) {
        for (c = 0; c < COLUMNS; ++c) {
            int x = LEFT + c * CELL, y = BOTTOM + r * CELL;
            if (world[r][c]) KV390_rectangle(live_color, x, y, x + CELL - 2, y + CELL - 2, 0);
        }
    }
    KV390_textf(BLACK, LEFT, BOTTOM + ROWS * CELL + 6, 14,
                "Generation %d   click: switch a cell, space: stop/go, c: clear", generation);
}

/* A glider at (row, column): five cells that walk across the world. */
static void add_glider(int row, int column) {
    world[row + 2][column + 1] = 1;
    world[row + 1][column + 2] = 1;
    world[row][column] = world[row][column + 1] = world[row][column + 2] = 1;
}

int main(void) {
    int x = 0, y = 0, event = 0, generation = 0, running = 1;
    char key = 0;
    int dead_color, live_color;

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    dead_color = KV390_define_color(20, 24, 40);
    live_color = KV390_define_color(120, 230, 140);

    add_glider(30, 5);
    add_glider(20, 25);
    add_glider(8, 12);
    world[10][38] = world[10][39] = world[10][40] = 1; /* a blinker */
    /* The R-pentomino: five cells that grow into hundreds. */
    world[22][36] = world[22][37] = world[21][35] = world[21][36] = world[20][36] = 1;
    KV390_set_run_mode(KV390_RUN_ANIMATE);

    while (event != KV390_QUIT) {
        draw(generation, dead_color, live_color);
        event = KV390_wait_event(&x, &y, &key);
        if (event == KV390_PERIODIC) {
            step();
            generation++;
        } else if (event == KV390_MOUSE) {
            int c = (x - LEFT) / CELL, r = (y - BOTTOM) / CELL;
            if (x >= LEFT && y >= BOTTOM && r < ROWS && c < COLUMNS) world[r][c] = !world[r][c];
        } else if (event == KV390_KBD && key == ' ') {
            running = !running;
            KV390_set_run_mode(running ? KV390_RUN_ANIMATE : KV390_RUN_HALT);
        } else if (event == KV390_KBD && key == 'c') {
            int r, c;
            for (r = 0; r < ROWS; ++r) {
                for (c = 0; c < COLUMNS; ++c) world[r][c] = 0;
            }
            generation = 0;
        }
    }
    KV390_end();
    return 0;
}
