// Parsing kv390-run's options with CLI11: "--name value" or "--name=value",
// in any order before --program PATH; what follows the program's path is
// its own arguments, except that an option of kv390-run found there is
// refused rather than silently handed to the program.
#include "options.h"

#include <CLI/CLI.hpp>
#include <sstream>

namespace run_tool {

namespace {

// "1,50,100": frame numbers counted from 1.
bool parse_frame_list(const std::string& text, std::vector<int>* frames) {
    std::istringstream items(text);
    std::string item;
    frames->clear();
    while (std::getline(items, item, ',')) {
        if (item.empty() || item.size() > 10 ||
            item.find_first_not_of("0123456789") != std::string::npos)
            return false;
        const unsigned long long n = std::stoull(item);
        if (n == 0 || n > 0x7FFFFFFF) return false;
        frames->push_back(int(n));
    }
    return !frames->empty() && text.back() != ',';
}

// Every text value: one non-empty line.
std::string one_line(const std::string& value) {
    if (value.empty()) return "needs a non-empty value";
    if (value.find_first_of("\r\n") != std::string::npos) return "must not hold a line break";
    return "";
}

template <typename Number>
CLI::Option* number(CLI::App& app, const std::string& name, Number* value, unsigned long long min,
                    unsigned long long max, const std::string& what) {
    // Read as text, so that the message names the option and the range.
    return app
        .add_option_function<std::string>(
            name,
            [=](const std::string& text) {
                if (text.empty() || text.size() > 20 ||
                    text.find_first_not_of("0123456789") != std::string::npos ||
                    std::stoull(text) < min || std::stoull(text) > max)
                    throw CLI::ValidationError(name + " needs " + what + ", not \"" + text + "\"");
                *value = Number(std::stoull(text));
            })
        ->type_name("N");
}

void define(CLI::App& app, Options* o) {
    app.set_help_flag();
    app.add_flag("-h,--help", o->help);
    for (auto [name, target] : {std::pair{"--input", &o->input},
                                {"--script", &o->script},
                                {"--out", &o->picture},
                                {"--gif", &o->gif},
                                {"--frame-dir", &o->frame_dir},
                                {"--log", &o->log}}) {
        app.add_option(name, *target)->check(one_line, "");
    }
    app.add_option_function<std::string>("--frames", [o](const std::string& text) {
        if (!parse_frame_list(text, &o->frames))
            throw CLI::ValidationError(
                "--frames needs frame numbers from 1 up, separated by commas (1,50,100)");
    });
    number(app, "--seed", &o->seed, 0, 0xFFFFFFFFull, "a number from 0 to 4294967295");
    number(app, "--timeout", &o->timeout_s, 1, 1000000, "whole seconds from 1 to 1000000");
    number(app, "--gif-limit", &o->gif_limit_mb, 1, 100000, "megabytes from 1 to 100000");
    app.add_flag("--sandbox", o->sandbox);
    kv390::tools::SandboxLimits& l = o->limits;
    number(app, "--memory-mb", &l.memory_mb, 16, 1 << 20, "megabytes from 16 to 1048576");
    number(app, "--cpu-seconds", &l.cpu_s, 1, 1000000, "seconds from 1 to 1000000");
    number(app, "--processes", &l.processes, 1, 100000, "a count from 1 to 100000");
    number(app, "--file-mb", &l.file_mb, 1, 1 << 20, "megabytes from 1 to 1048576");
    number(app, "--open-files", &l.open_files, 16, 100000, "a count from 16 to 100000");
}

// Whether a program argument is one of kv390-run's own options.
bool ours(const CLI::App& app, const std::string& arg) {
    if (arg.rfind("--", 0) != 0 || arg.size() < 3) return arg == "-h";
    const std::string name = arg.substr(0, arg.find('='));
    for (const CLI::Option* option : app.get_options()) {
        if (option->check_lname(name.substr(2))) return true;
    }
    return name == "--program";
}

bool check_complete(const Options& o, std::string* error) {
    if (!o.frames.empty() && o.frame_dir.empty()) {
        *error = "--frames needs --frame-dir DIR";
    } else if (o.frames.empty() && !o.frame_dir.empty()) {
        *error = "--frame-dir needs --frames LIST";
    } else if (o.program.empty() && o.script.empty() && o.input.empty()) {
        *error =
            "no program and nothing to play: give --program PATH, --script FILE or --input FILE";
    } else {
        return true;
    }
    return false;
}

// CLI11's first line, with "--out: 1 required TEXT missing" said as
// "--out needs a value".
std::string plain_message(std::string what) {
    if (what.find('\n') != std::string::npos) what.erase(what.find('\n'));
    const std::size_t colon = what.find(": ");
    if (what.rfind("--", 0) == 0 && colon != std::string::npos && what.size() >= 8 &&
        what.compare(what.size() - 8, 8, " missing") == 0)
        return what.substr(0, colon) + " needs a value";
    return what;
}

// The first argument nobody took: an option the runner does not know, or
// a stray word.
std::string left_over_message(const std::vector<std::string>& extras) {
    for (const std::string& arg : extras)
        if (arg.rfind("-", 0) == 0) return "unknown option " + arg.substr(0, arg.find('='));
    return "unexpected argument " + extras.front();
}

}  // namespace

bool parse_options(int argc, char** argv, Options* options, std::string* error) {
    Options o;
    // The runner's own part of the command line ends at --program PATH.
    int own_end = argc, program_at = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--program" || arg.rfind("--program=", 0) == 0) {
            own_end = i;
            program_at = arg == "--program" ? i + 1 : i;
            if (arg == "--program") {
                if (i + 1 >= argc) {
                    *error = "--program needs a value (see --help)";
                    return false;
                }
                o.program = argv[i + 1];
            } else {
                o.program = arg.substr(10);
            }
            break;
        }
    }
    CLI::App app;
    define(app, &o);
    std::vector<std::string> own(argv + 1, argv + own_end);
    std::reverse(own.begin(), own.end());  // CLI11 takes them last first
    app.allow_extras();  // what is left over is named below, in the tool's own words
    try {
        app.parse(own);
    } catch (const CLI::ParseError& e) {
        *error = plain_message(e.what()) + " (see --help)";
        return false;
    }
    if (const std::vector<std::string> extras = app.remaining(); !extras.empty()) {
        *error = left_over_message(extras) + " (see --help)";
        return false;
    }
    if (o.help) {
        options->help = true;
        return true;
    }
    if (program_at >= 0) {
        if (const std::string bad = one_line(o.program); !bad.empty()) {
            *error = "--program " + bad;
            return false;
        }
        // "--program P -- ARGS": everything after "--" is the program's.
        int i = program_at + 1;
        const bool fenced = i < argc && std::string(argv[i]) == "--";
        if (fenced) ++i;
        for (; i < argc; ++i) {
            if (!fenced && ours(app, argv[i])) {
                *error = std::string(argv[i]) +
                         " comes after --program, where it would go to the program: put "
                         "kv390-run's options before --program (or write \"--program PATH -- "
                         "ARGS\" to hand it to the program)";
                return false;
            }
            o.args.push_back(argv[i]);
        }
    }
    if (!check_complete(o, error)) return false;
    *options = o;
    return true;
}

std::string usage_text(const std::string& name) {
    return "Usage: " + name + R"( [options] [--program PATH [ARGS...]]

Runs a program built on KV390 headless (no display, virtual clock), feeds it
input, and writes its picture, its animation and its log.  Without --program
it runs the weather picture.  A program built for the desktop needs no
rebuilding.  See docs/TEACHING.md.

  --program PATH [ARGS...]  the program to run, with its arguments (last;
                     an argument that is one of these options is refused:
                     write "--program PATH -- ARGS" to pass it anyway)
  --input FILE       timed input ("at 500 click 297 248", "at 900 type hi",
                     "at 950 key 13", "at 5000 end"; client coordinates)
  --script FILE      a script in the KV390.SCR format, played back from the
                     start as the Run menu's Playback Script does
  --seed N           the weather picture's random seed (default 1); given
                     to every program as KV390_SEED
  --timeout SECONDS  stop the program after this much program time or wall
                     clock time, whichever comes first (default 60)
  --out FILE.png     the graphics window's client area (595 x 497) at the
                     end, drawing not yet shown included
  --gif FILE.gif     every animation frame, 100 ms apart, looping
  --gif-limit MB     the GIF may not grow past this size (default 100)
  --frames LIST      chosen frames as PNG, by frame number (1,50,100)
  --frame-dir DIR    where the chosen frames go (frame-0001.png, ...)
  --log FILE         every line the program logged, corrections included
  --sandbox          run the program confined (Linux, bubblewrap): no
                     network, the system read-only, nothing else of the
                     machine visible, its own processes, and these limits:
  --memory-mb MB     address space of each process (default 1024)
  --cpu-seconds S    CPU time of each process (default 60)
  --processes N      processes and threads (default 64)
  --file-mb MB       largest file it may write (default 256)
  --open-files N     open files of each process (default 256)
  --help             this text

Outputs appear at their names only when the run succeeded.
Exit status: 0 done, 1 an output could not be made, 2 bad options or input
files or no such program, or no sandbox here, 3 timeout, 4 the program
crashed (or was stopped at a limit), 5 the program exited with a non-zero
status, 6 a script line cannot be played, 7 the program never opened KV390
or showed no picture, 130 interrupted.
)";
}

}  // namespace run_tool
