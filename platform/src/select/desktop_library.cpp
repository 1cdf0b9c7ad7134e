// The desktop library: windows on the screen through SDL.
#include "select/backends.h"

namespace win::backend {

Backend& built_in() {
    return sdl::backend();
}

}  // namespace win::backend
