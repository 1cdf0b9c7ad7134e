// The web library: canvases on a page in the browser.
#include "select/backends.h"

namespace win::backend {

Backend& built_in() {
    return web::backend();
}

}  // namespace win::backend
