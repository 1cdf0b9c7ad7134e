// Colours the program defines beside the palette's 24.
#include "state.h"

namespace kv390 {
namespace {

int check_component(int value) {
    const int corrected = value < 0 ? 0 : value > 255 ? 255 : value;
    if (corrected != value) {
        KV390_log("Color value %d not possible, using %d\n", value, corrected);
    }
    return corrected;
}

// "#RRGGBB" and the terminator.
void write_name(char (&name)[8], int red, int green, int blue) {
    constexpr char HEX[] = "0123456789ABCDEF";
    const int parts[] = {red, green, blue};
    name[0] = '#';
    for (int i = 0; i < 3; ++i) {
        name[1 + 2 * i] = HEX[parts[i] >> 4];
        name[2 + 2 * i] = HEX[parts[i] & 15];
    }
    name[7] = '\0';
}

// The number of a colour already defined with these values, or -1.
int find_defined(win::COLORREF rgb) {
    const DefinedColors& colors = lib().colors;
    for (int i = 0; i < colors.count; ++i) {
        if (colors.rgb[i] == rgb) return KV390_COLOR_COUNT + i;
    }
    return -1;
}

}  // namespace
}  // namespace kv390

using kv390::lib;

extern "C" int KV390_define_color(int red, int green, int blue) {
    red = kv390::check_component(red);
    green = kv390::check_component(green);
    blue = kv390::check_component(blue);
    const win::COLORREF rgb = win::rgb(red, green, blue);
    const int known = kv390::find_defined(rgb);
    if (known >= 0) return known;
    kv390::DefinedColors& colors = lib().colors;
    if (colors.count == kv390::DEFINED_COLOR_ROOM) {
        KV390_log("No room for color #%02X%02X%02X (at most %d colors); using RED.\n", red, green,
                  blue, KV390_COLOR_LIMIT);
        return RED;
    }
    colors.rgb[colors.count] = rgb;
    kv390::write_name(colors.names[colors.count], red, green, blue);
    return KV390_COLOR_COUNT + colors.count++;
}
