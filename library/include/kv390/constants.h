/* KV390's fixed values for tools and tests that work with a program from the
 * outside: the palette's colour values, the Run menu's command ids, the script
 * file's name and the graphics window's client size.  Usable from C and C++.
 */
#ifndef KV390_CONSTANTS_H
#define KV390_CONSTANTS_H

#include "kv390.h"

/* The script file that Record Script writes and Playback Script reads, in the
 * program's working directory. */
#define KV390_SCRIPT_FILE_NAME "KV390.SCR"

/* The graphics window's client area: drawing point (x, y) is client pixel
 * (297 + x, 248 - y). */
#define KV390_CLIENT_WIDTH 595
#define KV390_CLIENT_HEIGHT 497

/* Command ids of the Run menu's items (the WM_COMMAND a tool sends to choose
 * one); the shortcut is Ctrl and the letter shown. */
enum KV390_run_command {
    KV390_IDM_ANIMATE = 1,   /* Ctrl+A */
    KV390_IDM_HALT = 2,      /* Ctrl+H */
    KV390_IDM_ADVANCE = 3,   /* Ctrl+F: one animation tick */
    KV390_IDM_LOGGING = 4,   /* Ctrl+L */
    KV390_IDM_RECORD = 5,    /* Ctrl+R */
    KV390_IDM_PLAYBACK = 6,  /* Ctrl+P */
    KV390_IDM_PLAY_ONE = 7,  /* Ctrl+O */
    KV390_IDM_QUIT = 8,      /* Ctrl+Q */
    KV390_IDM_INFO = 9       /* the greyed information lines */
};

/* The palette colour with index color (BLACK .. GRAY_20) as 0x00RRGGBB; the
 * pixels of the canvas hold exactly these values. */
#define KV390_PALETTE_RGB                                                                \
    {                                                                                    \
        0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0xFF00FF, 0x00FFFF,  \
        0x9900CC, 0x003399, 0x996699, 0x99FFFF, 0x99FFCC, 0xFF6600, 0x996633, 0xFF99CC,  \
        0xFFFF99, 0xCC9933, 0xFF9966, 0x006633, 0x33CC99, 0x999933, 0x808080, 0xCCCCCC \
    }

#endif /* KV390_CONSTANTS_H */
