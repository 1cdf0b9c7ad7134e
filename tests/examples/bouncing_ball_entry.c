/* The bouncing ball example as a function the tests call. */
#define main bouncing_ball_main
#include "bouncing_ball.c"
