// The 24 palette colours: platform colour values and the names log lines use.
#include "state.h"

namespace kv390 {

const win::COLORREF palette_rgb[KV390_COLOR_COUNT] = {
    win::rgb(0, 0, 0),        // black
    win::rgb(255, 255, 255),  // white
    win::rgb(255, 0, 0),      // red
    win::rgb(0, 255, 0),      // green
    win::rgb(0, 0, 255),      // blue
    win::rgb(255, 255, 0),    // yellow
    win::rgb(255, 0, 255),    // magenta
    win::rgb(0, 255, 255),    // cyan
    win::rgb(153, 0, 204),    // purple
    win::rgb(0, 51, 153),     // navy blue
    win::rgb(153, 102, 153),  // dusty plum
    win::rgb(153, 255, 255),  // ice blue
    win::rgb(153, 255, 204),  // turquoise
    win::rgb(255, 102, 0),    // orange
    win::rgb(153, 102, 51),   // brown
    win::rgb(255, 153, 204),  // pink
    win::rgb(255, 255, 153),  // chalk
    win::rgb(204, 153, 51),   // gold
    win::rgb(255, 153, 102),  // peach
    win::rgb(0, 102, 51),     // forest green
    win::rgb(51, 204, 153),   // sea green
    win::rgb(153, 153, 51),   // olive
    win::rgb(128, 128, 128),  // 50% gray
    win::rgb(204, 204, 204),  // 20% gray
};

const char* const palette_names[KV390_COLOR_COUNT] = {
    "black",     "white",        "red",       "green",     "blue",       "yellow",
    "magenta",   "cyan",         "purple",    "navy blue", "dusty plum", "ice blue",
    "turquoise", "orange",       "brown",     "pink",      "chalk",      "gold",
    "peach",     "forest green", "sea green", "olive",     "50% gray",   "20% gray",
};

}  // namespace kv390
