// The backends a library can be put together from.  Each library compiles
// exactly one file of this folder, which names its built-in backend.
#pragma once

#include "core/backend.h"

namespace win::headless {
backend::Backend& backend();
}  // namespace win::headless

namespace win::sdl {
backend::Backend& backend();
}  // namespace win::sdl

namespace win::web {
backend::Backend& backend();
}  // namespace win::web
