// Input records from the page to the core's input entry points.
#pragma once

#include "web/page.h"

namespace win::web {

// Hands one record to the core (keys to the focus, buttons to the window
// under the pointer).
void deliver_input(const InputRecord& record);

}  // namespace win::web
