// The headless library: the virtual screen and clock are its only backend.
#include "select/backends.h"

namespace win::backend {

Backend& built_in() {
    return headless::backend();
}

}  // namespace win::backend
