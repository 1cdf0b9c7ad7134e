// The ask_name example's own source, compiled into the test as a function so
// that the headless run uses exactly the desktop program's code.
#define main ask_name_main
#include "ask_name.cpp"
