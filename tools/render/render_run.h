// One render: the script played in a fresh working directory, in this
// process (the weather picture) or in another program.
#pragma once

#include <string>
#include <vector>

#include "options.h"

namespace render_tool {

enum ExitStatus { EXIT_DONE = 0, EXIT_FAILED = 1, EXIT_BAD_INPUT = 2 };

struct Outcome {
    ExitStatus status = EXIT_DONE;
    std::string error;                  // one line when status is not EXIT_DONE
    std::vector<std::string> warnings;  // printed, but the render is done
};

Outcome render_script(const Options& options);

}  // namespace render_tool
