// Parsing kv390-render's options: "--name value" or "--name=value".
#include "options.h"

#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace render_tool {

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

bool takes_value(const std::string& name) {
    return name == "--script" || name == "--seed" || name == "--out" || name == "--gif" ||
           name == "--frames" || name == "--frame-dir" || name == "--program";
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
    unsigned long long seed = 0;
    if (name == "--script") {
        o->script = value;
    } else if (name == "--seed") {
        if (!parse_unsigned(value, 0xFFFFFFFFull, &seed)) {
            *error = "--seed needs a number from 0 to 4294967295, not \"" + value + "\"";
            return false;
        }
        o->seed = std::uint32_t(seed);
    } else if (name == "--out") {
        o->picture = value;
    } else if (name == "--gif") {
        o->gif = value;
    } else if (name == "--frames") {
        if (!parse_frame_list(value, &o->frames)) {
            *error = "--frames needs frame numbers from 1 up, separated by commas (1,50,100)";
            return false;
        }
    } else if (name == "--frame-dir") {
        o->frame_dir = value;
    } else {
        o->program = value;
    }
    return true;
}

bool check_complete(const Options& o, std::string* error) {
    if (o.script.empty()) {
        *error = "no script given (--script FILE)";
    } else if (!o.frames.empty() && o.frame_dir.empty()) {
        *error = "--frames needs --frame-dir DIR";
    } else if (o.frames.empty() && !o.frame_dir.empty()) {
        *error = "--frame-dir needs --frames LIST";
    } else if (o.picture.empty() && o.gif.empty() && o.frames.empty()) {
        *error = "nothing to write: give --out, --gif or --frames";
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
    }
    if (!check_complete(o, error)) return false;
    *options = o;
    return true;
}

std::string usage_text() {
    return R"(Usage: kv390-render --script FILE [options]

Plays a script (the KV390.SCR format) in the weather picture on the headless
backend, exactly as the Run menu's Playback Script does, and writes pictures.

  --script FILE      the script to play (required)
  --seed N           random seed of the weather picture (default 1)
  --out FILE.png     the last picture of the graphics window
  --gif FILE.gif     every animation frame (one per periodic event), 100 ms
                     apart, looping
  --frames LIST      chosen frames as PNG, by periodic-event number (1,50,100)
  --frame-dir DIR    where the chosen frames go (frame-0001.png, ...)
  --program PATH     run this program instead (any program linked with the
                     headless backend; it gets the seed as KV390_SEED)
  --help             this text

Exit status: 0 done, 1 the program failed, 2 bad options, an unreadable
script or an output that cannot be written.
)";
}

}  // namespace render_tool
