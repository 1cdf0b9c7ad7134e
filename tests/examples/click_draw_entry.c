/* The click-to-draw example as a function the tests call. */
#define main click_draw_main
#include "click_draw.c"
