// kv390-render: plays a script headless and writes pictures (see --help).
#include <cstdio>
#include <string>

#include "options.h"
#include "render_run.h"

int main(int argc, char** argv) {
    render_tool::Options options;
    std::string error;
    if (!render_tool::parse_options(argc, argv, &options, &error)) {
        std::fprintf(stderr, "kv390-render: %s\n", error.c_str());
        return render_tool::EXIT_BAD_INPUT;
    }
    if (options.help) {
        std::fputs(render_tool::usage_text().c_str(), stdout);
        return render_tool::EXIT_DONE;
    }
    const render_tool::Outcome outcome = render_tool::render_script(options);
    for (const std::string& warning : outcome.warnings) {
        std::fprintf(stderr, "kv390-render: %s\n", warning.c_str());
    }
    if (!outcome.error.empty()) std::fprintf(stderr, "kv390-render: %s\n", outcome.error.c_str());
    return outcome.status;
}
