// The 24 palette colours: platform colour values and the names log lines use.
#include <array>
#include <utility>

#include "kv390/constants.h"
#include "state.h"

namespace kv390 {

namespace {

constexpr unsigned palette_values[KV390_COLOR_COUNT] = KV390_PALETTE_RGB;

template <std::size_t... I>
constexpr std::array<win::COLORREF, KV390_COLOR_COUNT> colorrefs(std::index_sequence<I...>) {
    return {win::rgb((palette_values[I] >> 16) & 0xFF, (palette_values[I] >> 8) & 0xFF,
                     palette_values[I] & 0xFF)...};
}

}  // namespace

// The public table's values (black, white, red, green, blue, yellow, magenta,
// cyan, purple, navy blue, dusty plum, ice blue, turquoise, orange, brown,
// pink, chalk, gold, peach, forest green, sea green, olive, 50% gray, 20% gray)
// as platform colours.
constinit const std::array<win::COLORREF, KV390_COLOR_COUNT> palette_rgb =
    colorrefs(std::make_index_sequence<KV390_COLOR_COUNT>());

const char* const palette_names[KV390_COLOR_COUNT] = {
    "black",     "white",        "red",       "green",     "blue",       "yellow",
    "magenta",   "cyan",         "purple",    "navy blue", "dusty plum", "ice blue",
    "turquoise", "orange",       "brown",     "pink",      "chalk",      "gold",
    "peach",     "forest green", "sea green", "olive",     "50% gray",   "20% gray",
};

}  // namespace kv390
