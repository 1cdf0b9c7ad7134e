// Parsing kv390-run's options: "--name value" or "--name=value"; everything
// after --program PATH belongs to the program.
#include "options.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace run_tool {

namespace {

bool parse_unsigned(const std::string& text, unsigned long long max, unsigned long long* value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
    if (errno != 0 || v > max) return false;
    *value = v;
    return true;
}

// "1,50,100": frame numbers counted from 1.
bool parse_frame_list(const std::string& text, std::vector<int>* frames) {
    std::istringstream items(text);
    std::string item;
    frames->clear();
    while (std::getline(items, item, ',')) {
        unsigned long long n = 0;
        if (!parse_unsigned(item, 0x7FFFFFFF, &n) || n == 0) return false;
        frames->push_back(int(n));
    }
    return !frames->empty() && text.back() != ',';
}

struct NumberOption {
    const char* name;
    unsigned long long min, max;
    const char* what;
};
constexpr NumberOption NUMBER_OPTIONS[] = {
    {"--seed", 0, 0xFFFFFFFFull, "a number from 0 to 4294967295"},
    {"--timeout", 1, 1000000, "whole seconds from 1 to 1000000"},
    {"--gif-limit", 1, 100000, "megabytes from 1 to 100000"},
};

bool apply_number(const std::string& name, const std::string& value, Options* o,
                  std::string* error) {
    for (const NumberOption& n : NUMBER_OPTIONS) {
        if (name != n.name) continue;
        unsigned long long v = 0;
        if (!parse_unsigned(value, n.max, &v) || v < n.min) {
            *error = name + " needs " + n.what + ", not \"" + value + "\"";
            return false;
        }
        if (name == "--seed") o->seed = std::uint32_t(v);
        if (name == "--timeout") o->timeout_s = v;
        if (name == "--gif-limit") o->gif_limit_mb = v;
        return true;
    }
    return false;
}

std::string* text_option(const std::string& name, Options* o) {
    if (name == "--input") return &o->input;
    if (name == "--script") return &o->script;
    if (name == "--out") return &o->picture;
    if (name == "--gif") return &o->gif;
    if (name == "--frame-dir") return &o->frame_dir;
    if (name == "--log") return &o->log;
    if (name == "--program") return &o->program;
    return nullptr;
}

bool takes_value(const std::string& name) {
    Options scratch;
    return text_option(name, &scratch) != nullptr || name == "--frames" || name == "--seed" ||
           name == "--timeout" || name == "--gif-limit";
}

bool apply(const std::string& name, const std::string& value, Options* o, std::string* error) {
    if (value.empty()) {
        *error = name + " needs a non-empty value";
        return false;
    }
    if (value.find_first_of("\r\n") != std::string::npos) {
        *error = name + " must not hold a line break";
        return false;
    }
    if (std::string* text = text_option(name, o)) {
        *text = value;
        return true;
    }
    if (name == "--frames") {
        if (parse_frame_list(value, &o->frames)) return true;
        *error = "--frames needs frame numbers from 1 up, separated by commas (1,50,100)";
        return false;
    }
    return apply_number(name, value, o, error);
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

}  // namespace

bool parse_options(int argc, char** argv, Options* options, std::string* error) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            options->help = true;
            return true;
        }
        std::string name = arg.substr(0, arg.find('='));
        if (!takes_value(name)) {
            *error = "unknown option " + arg + " (see --help)";
            return false;
        }
        std::string value;
        if (name.size() < arg.size()) {
            value = arg.substr(name.size() + 1);
        } else if (i + 1 < argc) {
            value = argv[++i];
        } else {
            *error = name + " needs a value (see --help)";
            return false;
        }
        if (!apply(name, value, &o, error)) return false;
        if (name == "--program") {
            o.args.assign(argv + i + 1, argv + argc);
            break;
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

  --program PATH [ARGS...]  the program to run, with its arguments (last)
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
  --help             this text

Outputs appear at their names only when the run succeeded.
Exit status: 0 done, 1 an output could not be made, 2 bad options or input
files or no such program, 3 timeout, 4 the program crashed, 5 the program
exited with a non-zero status, 6 a script line cannot be played, 7 the
program never opened KV390 or showed no picture, 130 interrupted.
)";
}

}  // namespace run_tool
