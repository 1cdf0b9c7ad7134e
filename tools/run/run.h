// One run of a program under kv390-run: input files checked, the program
// started headless in a private directory, watched until it ends or its time
// is up, and its outputs moved to their names when everything went well.
#pragma once

#include <string>
#include <vector>

#include "exit_codes.h"
#include "options.h"

namespace run_tool {

// The hidden first argument with which kv390-run starts itself as the
// weather picture (the default program).
constexpr const char* WEATHER_PICTURE_ARGUMENT = "--run-the-weather-picture";

struct Outcome {
    ExitCode code = EXIT_DONE;
    std::string message;                // one line when code is not EXIT_DONE
    std::vector<std::string> warnings;  // printed, but the run is done
};

// tool_name prefixes the progress lines ("kv390-run").
Outcome run(const Options& options, const std::string& tool_name);

// Where no child can be started (node): the weather picture in this
// process, its outputs made in work_dir under the names a child's run uses.
bool run_weather_here(const Options& options, const std::string& timed_input,
                      const std::string& work_dir, std::vector<std::string>* warnings,
                      std::string* error);

}  // namespace run_tool
