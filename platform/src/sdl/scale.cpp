#include "sdl/scale.h"

#include <algorithm>
#include <cctype>

namespace win::sdl {
namespace {

// A whole number 1 .. MAX_SCALE without sign, spaces or trailing characters.
int parse_scale(const char* text) {
    if (text[0] == '\0' || text[1] != '\0' || !std::isdigit(static_cast<unsigned char>(text[0]))) {
        return 0;
    }
    const int value = text[0] - '0';
    return value >= 1 && value <= MAX_SCALE ? value : 0;
}

int fitting_scale(Size screen) {
    const int across = screen.cx / SCALED_WINDOW.cx;
    const int down = (2 * screen.cy / 3) / SCALED_WINDOW.cy;
    return std::max(std::min(across, down), 1);
}

}  // namespace

int choose_scale(Size screen, const char* requested, std::string* complaint) {
    if (requested != nullptr && *requested != '\0') {
        const int scale = parse_scale(requested);
        if (scale != 0) return scale;
        *complaint = std::string("KV390: KV390_SCALE=") + requested +
                     " is not a whole number from 1 to " + std::to_string(MAX_SCALE) + "; ignored";
    }
    return fitting_scale(screen);
}

}  // namespace win::sdl
