/* The snake example as a function the tests call. */
#define main snake_main
#include "snake.c"
