/* A board game by clicks: noughts and crosses for two players.  Click an
 * empty square to play there; the players take turns.  Three in a row
 * wins; after the game a click starts a new one.  Close the window to end
 * the program. */
#include "kv390.h"

#define SQUARE 120
#define LEFT (-180) /* the board's lower-left corner */
#define BOTTOM (-200)

static char board[3][3]; /* ' ', 'X' or 'O'; board[row][column], row 0 at the bottom */

/* The winner's letter, 'd' for a draw, or 0 while the game goes on. */
static char winner(void) {
    static const int lines[8][3][2] = {
        {{0, 0}, {0, 1}, {0, 2}}, {{1, 0}, {1, 1}, {1, 2}}, {{2, 0}, {2, 1}, {2, 2}}, /* rows */
        {{0, 0}, {1, 0}, {2, 0}}, {{0, 1}, {1, 1}, {2, 1}}, {{0, 2}, {1, 2}, {2, 2}}, /* columns */
        {{0, 0}, {1, 1}, {2, 2}}, {{0, 2}, {1, 1}, {2, 0}}}; /* diagonals */
    int i, r, c, empty = 0;
    for (i = 0; i < 8; ++i) {
        char a = board[lines[i][0][0]][lines[i][0][1]];
        if (a != ' ' && a == board[lines[i][1][0]][lines[i][1][1]] &&
            a == board[lines[i][2][0]][lines[i][2][1]])
            return a;
    }
    for (r = 0; r < 3; ++r)
        for (c = 0; c < 3; ++c) empty += board[r][c] == ' ';
    return empty == 0 ? 'd' : 0;
}

static void draw(char turn) {
    int r, c;
    char result = winner();
    KV390_clear();
    for (r = 0; r < 3; ++r) {
        for (c = 0; c < 3; ++c) {
            int x = LEFT + c * SQUARE, y = BOTTOM + r * SQUARE;
            KV390_rectangle(CHALK, x + 2, y + 2, x + SQUARE - 2, y + SQUARE - 2, 0);
            if (board[r][c] == 'X') {
                KV390_line(RED, x + 25, y + 25, x + SQUARE - 25, y + SQUARE - 25, 8);
                KV390_line(RED, x + 25, y + SQUARE - 25, x + SQUARE - 25, y + 25, 8);
            } else if (board[r][c] == 'O') {
                KV390_oval(BLUE, x + 25, y + 25, x + SQUARE - 25, y + SQUARE - 25, 8);
            }
        }
    }
    if (result == 'd')
        KV390_text(BLACK, -180, 190, 22, "A draw.  Click to play again.");
    else if (result)
        KV390_textf(BLACK, -180, 190, 22, "%c wins!  Click to play again.", result);
    else
        KV390_textf(BLACK, -180, 190, 22, "%c to play: click a square", turn);
}

static void new_game(void) {
    int r, c;
    for (r = 0; r < 3; ++r)
        for (c = 0; c < 3; ++c) board[r][c] = ' ';
}

int main(void) {
    int x = 0, y = 0, event;
    char key = 0, turn = 'X';

    KV390_begin(0, 0, "", 5 /* show the windows */);
    KV390_set_logging(0);
    new_game();
    draw(turn);

    while ((event = KV390_wait_event(&x, &y, &key)) != KV390_QUIT) {
        if (event != KV390_MOUSE) continue;
        if (winner()) { /* the game is over: this click starts a new one */
            new_game();
            turn = 'X';
        } else if (x >= LEFT && x < LEFT + 3 * SQUARE && y >= BOTTOM && y < BOTTOM + 3 * SQUARE) {
            int c = (x - LEFT) / SQUARE, r = (y - BOTTOM) / SQUARE;
            if (board[r][c] == ' ') {
                board[r][c] = turn;
                turn = turn == 'X' ? 'O' : 'X';
            }
        }
        draw(turn);
    }
    KV390_end();
    return 0;
}
