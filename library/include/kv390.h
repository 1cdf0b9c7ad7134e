/* KV390: a teaching graphics library.
 *
 * One graphics window with a centred, y-up coordinate system; 24 named
 * colours; drawing primitives that correct bad arguments and describe every
 * call in a log; a scrolling text window showing that log; one blocking call
 * that hands out mouse clicks, keys, 100 ms animation ticks and quit; a Run
 * menu (animate, halt, single step, logging, record and play back scripts,
 * quit); a modal line-input dialog.
 *
 * Usable from C and C++.  Every operation returns 1 when done unless stated.
 */
#ifndef KV390_H
#define KV390_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__) || defined(__clang__)
#define KV390_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define KV390_PRINTF(fmt, args)
#endif

/* ---- colours: palette indices 0..23 ---------------------------------- */
enum KV390_color {
    BLACK = 0,
    WHITE = 1,
    RED = 2,
    GREEN = 3,
    BLUE = 4,
    YELLOW = 5,
    MAGENTA = 6,
    CYAN = 7,
    PURPLE = 8,
    NAVY_BLUE = 9,
    DUSTY_PLUM = 10,
    ICE_BLUE = 11,
    TURQUOISE = 12,
    ORANGE = 13,
    BROWN = 14,
    PINK = 15,
    CHALK = 16,
    GOLD = 17,
    PEACH = 18,
    FOREST_GREEN = 19,
    SEA_GREEN = 20,
    OLIVE = 21,
    GRAY_50 = 22,
    GRAY_20 = 23
};
#define KV390_COLOR_COUNT 24

/* ---- events and run modes ------------------------------------------- */
#define KV390_MOUSE 1
#define KV390_KBD 2
#define KV390_PERIODIC 3
#define KV390_QUIT 4

#define KV390_RUN_HALT 0
#define KV390_RUN_STEP 1
#define KV390_RUN_ANIMATE 2
#define KV390_RUN_QUIT 5

/* A point in drawing coordinates: origin at the centre of the graphics
 * window's client area, x to the right, y upwards. */
typedef struct KV390_point {
    int x;
    int y;
} KV390_point;

/* ---- opening and closing -------------------------------------------- */
/* Opens the graphics window (with the Run menu) and the text window, creates
 * the canvas and starts the 100 ms animation timer; the library starts
 * halted.  A non-null previous_instance skips registering the window classes;
 * command_line is ignored; show_mode is applied to both windows. */
int KV390_begin(void* instance, void* previous_instance, const char* command_line,
                int show_mode);
/* Closes the library: releases the window's drawing context and closes the
 * script file.  The windows stay until the process ends. */
int KV390_end(void);

/* ---- drawing --------------------------------------------------------- */
/* Every primitive draws into the canvas; the screen shows it at the next
 * KV390_wait_event.  A colour outside 0..23 is reported and RED is used; a
 * negative radius, width or point size is reported and made positive; a
 * point size over 127 is reported and 127 is used.  While logging is on each
 * call is described in the text window.  Width 0 means a filled figure (for
 * a line: the thinnest line). */

/* One pixel at (x, y). */
int KV390_pixel(int color, int x, int y);
/* A filled disc of the given radius about (x, y). */
int KV390_circle(int color, int x, int y, int radius);
/* A triangle through three points; filled (width 0) or outlined. */
int KV390_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
/* A rectangle with two opposite corners in any order, both included. */
int KV390_rectangle(int color, int x1, int y1, int x2, int y2, int width);
/* The oval inscribed in the rectangle with those two corners. */
int KV390_oval(int color, int x1, int y1, int x2, int y2, int width);
/* A line from (x1, y1) up to, not including, (x2, y2). */
int KV390_line(int color, int x1, int y1, int x2, int y2, int width);
/* Text with the lower-left corner of its first line at (x, y), characters
 * point_size pixels high; '\n' starts a new line below. */
int KV390_text(int color, int x, int y, int point_size, const char* text);
/* Formats printf-style (at most 1023 characters; a longer result is cut) and
 * draws it like KV390_text.  Returns the formatted length. */
int KV390_textf(int color, int x, int y, int point_size, const char* format, ...)
    KV390_PRINTF(5, 6);

/* Point forms: the same operations with points passed as KV390_point. */
int KV390_pixel_pt(int color, KV390_point point);
int KV390_circle_pt(int color, KV390_point centre, int radius);
int KV390_triangle_pt(int color, KV390_point p1, KV390_point p2, KV390_point p3, int width);
int KV390_rectangle_pt(int color, KV390_point p1, KV390_point p2, int width);
int KV390_oval_pt(int color, KV390_point p1, KV390_point p2, int width);
int KV390_line_pt(int color, KV390_point p1, KV390_point p2, int width);
int KV390_text_pt(int color, KV390_point point, int point_size, const char* text);
int KV390_textf_pt(int color, KV390_point point, int point_size, const char* format, ...)
    KV390_PRINTF(4, 5);

/* Fills the canvas with white inside a one-pixel black frame. */
int KV390_clear(void);
/* No longer supported: writes a notice to the log and changes nothing. */
int KV390_undo(void);

/* ---- events and run control ------------------------------------------ */
/* Blocks until an event is ready and returns its kind (KV390_MOUSE, KV390_KBD,
 * KV390_PERIODIC, KV390_QUIT); stores its position (drawing coordinates) and
 * key into the three outputs, 0 where the event has none. */
int KV390_wait_event(int* x, int* y, char* key);
/* KV390_RUN_HALT, _STEP, _ANIMATE or _QUIT; other values change nothing.
 * Returns 0 when the library is not open, else 1. */
int KV390_set_run_mode(int mode);

/* ---- log and text window --------------------------------------------- */
/* Formats printf-style (at most 1023 characters; a longer message is cut),
 * keeps the line among the last 25 and shows it at the bottom of the text
 * window.  Returns the formatted length. */
int KV390_log(const char* format, ...) KV390_PRINTF(1, 2);
/* Non-zero turns the drawing log on (and shows the text window), 0 off.
 * Returns 0 when the library is not open, else 1. */
int KV390_set_logging(int flag);
/* Shows (non-zero) or hides (0) the text window; returns non-zero if it was
 * visible before. */
int KV390_show_text(int flag);

/* ---- line input ------------------------------------------------------ */
/* Asks for one line in a modal dialog showing the first 79 characters of the
 * prompt; stores at most 255 characters and a terminator into buffer (which
 * must hold 256 bytes).  Returns 1, or 0 when the dialog cannot be created. */
int KV390_gets(const char* prompt, char* buffer);

#ifdef __cplusplus
}
#endif

#endif /* KV390_H */
