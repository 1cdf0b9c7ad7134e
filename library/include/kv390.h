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
 * Nothing is reported through results: bad arguments are corrected and the
 * correction is written to the log.  Link the library (kv390) and then one
 * backend: kv390_sdl for the desktop, kv390_headless for tests and tools.
 * The reference is docs/API.md.
 */
#ifndef KV390_H
#define KV390_H

/* NULL for KV390_begin(NULL, NULL, "", 5), size_t for KV390_gets_n. */
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(__GNUC__) || defined(__clang__)
#define KV390_PRINTF(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define KV390_PRINTF(fmt, args)
#endif

/* ---- colours: palette indices 0..23 ---------------------------------- */
/* The colour argument of every primitive.  Log lines name the colour in
 * words ("navy blue", "50% gray"). */
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
/* The number of palette colours: valid colours are 0 .. KV390_COLOR_COUNT-1. */
#define KV390_COLOR_COUNT 24

/* ---- events and run modes ------------------------------------------- */
/* Results of KV390_wait_event: a click (position), a key (character), an
 * animation tick, and the end of the program (window closed, Quit). */
#define KV390_MOUSE 1
#define KV390_KBD 2
#define KV390_PERIODIC 3
#define KV390_QUIT 4

/* Arguments of KV390_set_run_mode: stop ticks, one tick, ticks every 100 ms,
 * end (the next wait returns KV390_QUIT). */
#define KV390_RUN_HALT 0
#define KV390_RUN_STEP 1
#define KV390_RUN_ANIMATE 2
#define KV390_RUN_QUIT 5

/* A point in drawing coordinates: origin at the centre of the graphics
 * window's client area, x to the right, y upwards.  The window shows x from
 * -297 to 297 and y from -248 to 248. */
typedef struct KV390_point {
    int x;
    int y;
} KV390_point;

/* ---- opening and closing -------------------------------------------- */
/* Opens the graphics window "KV390 Graphics" (601 x 540, with the Run menu)
 * and the text window "KV390 Text", creates the canvas and starts the 100 ms
 * animation timer; the library starts halted with logging on.  Pass the
 * program's start-up values, or (NULL, NULL, "", 5) from main: a non-null
 * previous_instance skips registering the window classes, command_line is
 * ignored, show_mode is applied to both windows (5 shows them).  Returns 1. */
int KV390_begin(void* instance, void* previous_instance, const char* command_line, int show_mode);
/* Closes the library: releases the window's drawing context and closes the
 * script file.  The windows stay until the process ends.  Returns 1. */
int KV390_end(void);

/* ---- drawing --------------------------------------------------------- */
/* Every primitive draws into the canvas and returns 1; the screen shows the
 * canvas at the next KV390_wait_event.  Corrections, always logged: a colour
 * outside 0..23 ("Illegal color %d; using RED."), a negative radius, width
 * or point size (made positive), a point size over 127 (127 is used).  While
 * logging is on each call is also described in the log, e.g. "red circle at
 * (0,0), radius 50".  Width 0 means a filled figure (for a line: the
 * thinnest line).  Coordinates may be any int; what is outside is clipped. */

/* One pixel at (x, y).  Logs "<colour> pixel at (x,y)". */
int KV390_pixel(int color, int x, int y);
/* A filled disc about (x, y) reaching radius pixels out on each side.
 * Corrects a negative radius.  Logs "<colour> circle at (x,y), radius r". */
int KV390_circle(int color, int x, int y, int radius);
/* A triangle through three points; filled (width 0) or outlined with a pen
 * of that width.  Corrects a negative width.  Logs the three corners. */
int KV390_triangle(int color, int x1, int y1, int x2, int y2, int x3, int y3, int width);
/* A rectangle with two opposite corners in any order, both included; filled
 * (width 0) or outlined.  Corrects a negative width; logs the sorted box. */
int KV390_rectangle(int color, int x1, int y1, int x2, int y2, int width);
/* The oval inscribed in the rectangle with those two corners; filled
 * (width 0) or outlined.  Corrects a negative width; logs the sorted box. */
int KV390_oval(int color, int x1, int y1, int x2, int y2, int width);
/* A line from (x1, y1) up to, not including, (x2, y2), width pixels wide
 * (0: one).  Corrects a negative width.  Logs both ends and the width. */
int KV390_line(int color, int x1, int y1, int x2, int y2, int width);
/* Text with the lower-left corner of its first line at (x, y), characters
 * point_size pixels high; '\n' starts a new line below; NULL draws nothing.
 * Corrects a point size below 0 or over 127.  Logs the position and text. */
int KV390_text(int color, int x, int y, int point_size, const char* text);
/* Formats printf-style (at most 1023 characters; a longer result is cut) and
 * draws it like KV390_text.  Returns the formatted length. */
int KV390_textf(int color, int x, int y, int point_size, const char* format, ...)
    KV390_PRINTF(5, 6);

/* Point forms: the same operations, with the same corrections and log
 * lines, taking each (x, y) pair as one KV390_point by value. */
int KV390_pixel_pt(int color, KV390_point point);
int KV390_circle_pt(int color, KV390_point centre, int radius);
int KV390_triangle_pt(int color, KV390_point p1, KV390_point p2, KV390_point p3, int width);
int KV390_rectangle_pt(int color, KV390_point p1, KV390_point p2, int width);
int KV390_oval_pt(int color, KV390_point p1, KV390_point p2, int width);
int KV390_line_pt(int color, KV390_point p1, KV390_point p2, int width);
int KV390_text_pt(int color, KV390_point point, int point_size, const char* text);
int KV390_textf_pt(int color, KV390_point point, int point_size, const char* format, ...)
    KV390_PRINTF(4, 5);

/* Fills the canvas with white inside a one-pixel black frame.  Logs
 * "Clearing the graphics window" while logging is on.  Returns 1. */
int KV390_clear(void);
/* No longer supported: writes a notice to the log (always) and changes
 * nothing.  Returns 1. */
int KV390_undo(void);

/* ---- events and run control ------------------------------------------ */
/* Shows the canvas, handles the windows and the Run menu, and blocks until an
 * event is ready; returns its kind (KV390_MOUSE, KV390_KBD, KV390_PERIODIC,
 * KV390_QUIT).  Always stores the position (drawing coordinates) and key
 * into the three outputs, 0 where the event has none.  Ticks arrive only
 * while animating or after a single step was asked for.  Call it only while
 * the library is open. */
int KV390_wait_event(int* x, int* y, char* key);
/* Halts the ticks (KV390_RUN_HALT), asks for one tick (_STEP), starts them
 * (_ANIMATE) or ends the program (_QUIT); other values change nothing.
 * Returns 0 (and changes nothing) when the library is not open, else 1. */
int KV390_set_run_mode(int mode);

/* ---- games: every input, key state, tick rate, own colours ----------- */
/* Further results of KV390_wait_input (KV390_wait_event never returns them):
 * a key pressed or released (its key code), the left button released after
 * a press in the graphics window, the pointer moved (only after
 * KV390_track_mouse(1)), the right and middle buttons pressed and released.
 * Positions are drawing coordinates; a release or move outside the window
 * gives positions beyond its edges. */
#define KV390_KEY_PRESS 5
#define KV390_KEY_RELEASE 6
#define KV390_MOUSE_UP 7
#define KV390_MOUSE_MOVE 8
#define KV390_RIGHT_DOWN 9
#define KV390_RIGHT_UP 10
#define KV390_MIDDLE_DOWN 11
#define KV390_MIDDLE_UP 12

/* Key codes of KV390_KEY_PRESS / KV390_KEY_RELEASE and KV390_key_held.  A letter
 * key's code is its upper-case letter ('A' .. 'Z'), a digit key's its digit
 * ('0' .. '9'), whether or not Shift is held. */
#define KV390_KEY_BACKSPACE 8
#define KV390_KEY_TAB 9
#define KV390_KEY_ENTER 13
#define KV390_KEY_SHIFT 16
#define KV390_KEY_CTRL 17
#define KV390_KEY_ALT 18
#define KV390_KEY_ESCAPE 27
#define KV390_KEY_SPACE 32
#define KV390_KEY_PAGE_UP 33
#define KV390_KEY_PAGE_DOWN 34
#define KV390_KEY_END 35
#define KV390_KEY_HOME 36
#define KV390_KEY_LEFT 37
#define KV390_KEY_UP 38
#define KV390_KEY_RIGHT 39
#define KV390_KEY_DOWN 40
#define KV390_KEY_INSERT 45
#define KV390_KEY_DELETE 46
#define KV390_KEY_F1 112
#define KV390_KEY_F2 113
#define KV390_KEY_F3 114
#define KV390_KEY_F4 115
#define KV390_KEY_F5 116
#define KV390_KEY_F6 117
#define KV390_KEY_F7 118
#define KV390_KEY_F8 119
#define KV390_KEY_F9 120
#define KV390_KEY_F10 121
#define KV390_KEY_F11 122
#define KV390_KEY_F12 123

/* One event of KV390_wait_input. */
typedef struct KV390_input {
    int kind; /* KV390_MOUSE .. KV390_QUIT, KV390_KEY_PRESS .. KV390_MIDDLE_UP */
    int x;    /* position in drawing coordinates (mouse kinds), else 0 */
    int y;
    char key; /* the character of KV390_KBD, else 0 */
    int code; /* the key code of KV390_KEY_PRESS / _RELEASE, else 0 */
} KV390_input;

/* Waits like KV390_wait_event (the same ticks, Run menu, scripts) and also
 * hands out the kinds above.  A key press gives KV390_KEY_PRESS and then, for
 * a key that types, KV390_KBD with its character; holding a key repeats both.
 * The Run menu's Ctrl shortcuts are not handed out as keys.  Fills *in
 * (when not NULL) and returns the kind. */
int KV390_wait_input(KV390_input* in);
/* Non-zero: pointer moves over the graphics window become KV390_MOUSE_MOVE
 * events, one per wait with the newest position; 0 (the start): none.
 * Returns 1. */
int KV390_track_mouse(int flag);
/* Non-zero while the key with this code is down in a KV390 window (as of the
 * messages the last wait handled); keys are released when the program loses
 * the keyboard focus. */
int KV390_key_held(int code);
/* The animation tick period in milliseconds, 10 to 1000 (100 at the start).
 * Other values are corrected and reported ("Tick of 5 ms not possible, using
 * 10 ms").  May be called before KV390_begin.  Returns 1. */
int KV390_set_tick_ms(int ms);
/* Colour numbers: the palette's 24, then at most KV390_COLOR_LIMIT - 24 of
 * the program's own. */
#define KV390_COLOR_LIMIT 256
/* Defines a colour from red, green and blue (each 0 to 255; others are
 * corrected and reported) and returns its number, from 24 up; the same
 * values again return the same number.  Every primitive takes it; log lines
 * name it "#RRGGBB".  With no room left: reported, returns RED. */
int KV390_define_color(int red, int green, int blue);

/* ---- log and text window --------------------------------------------- */
/* Formats printf-style (at most 1023 characters; a longer message is cut),
 * keeps the line among the last 25 and shows it at the bottom of the text
 * window, whatever the logging switch says.  One trailing '\n' ends the
 * line.  Returns the formatted length (the uncut one). */
int KV390_log(const char* format, ...) KV390_PRINTF(1, 2);
/* Non-zero turns the description of drawing calls on (and shows the text
 * window), 0 off; the Run menu's check mark follows.  Corrections are logged
 * either way.  Returns 0 (and changes nothing) when the library is not open,
 * else 1. */
int KV390_set_logging(int flag);
/* Shows (non-zero) or hides (0) the text window; returns non-zero if it was
 * visible before. */
int KV390_show_text(int flag);

/* ---- line input ------------------------------------------------------ */
/* Asks for one line in the modal dialog "KV390_gets" showing the first 79
 * characters of the prompt; stores at most 255 characters and a terminator
 * into buffer (which must hold 256 bytes).  Works before KV390_begin too.
 * Returns 1, or 0 (buffer untouched) when the dialog cannot be created.
 * Prefer KV390_gets_n, which is told the buffer's size. */
int KV390_gets(const char* prompt, char* buffer);
/* The same dialog for a buffer of size bytes: stores at most size - 1
 * characters and a terminator (nothing when size is 0), so it never writes
 * past the buffer.  Returns as KV390_gets. */
int KV390_gets_n(const char* prompt, char* buffer, size_t size);

#ifdef __cplusplus
}
#endif

#endif /* KV390_H */
