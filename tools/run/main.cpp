// kv390-run: runs a program built on KV390 headless and writes its picture,
// animation and log (see --help).  Started with the hidden first argument
// WEATHER_PICTURE_ARGUMENT, it is the weather picture itself: the program
// that runs when no --program is given.  Its old name kv390-render works too.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "options.h"
#include "process.h"
#include "random.h"
#include "run.h"
#include "weather.h"

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], run_tool::WEATHER_PICTURE_ARGUMENT) == 0) {
        random_fix_seed_from_environment();
        return weather_main(nullptr, nullptr, "", 5 /* SW_SHOW */);
    }
    const std::string name =
        argc > 0 ? std::filesystem::path(argv[0]).filename().string() : "kv390-run";
    run_tool::Options options;
    std::string error;
    if (!run_tool::parse_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), error.c_str());
        return run_tool::EXIT_BAD_INPUT;
    }
    if (options.help) {
        std::fputs(run_tool::usage_text(name).c_str(), stdout);
        return run_tool::EXIT_DONE;
    }
    kv390::tools::catch_interrupts();
    const run_tool::Outcome outcome = run_tool::run(options, name);
    for (const std::string& warning : outcome.warnings) {
        std::fprintf(stderr, "%s: %s\n", name.c_str(), warning.c_str());
    }
    if (!outcome.message.empty())
        std::fprintf(stderr, "%s: %s\n", name.c_str(), outcome.message.c_str());
    return outcome.code;
}
