// Reading a timed input list ("at 1500 click 40 30", one entry a line).
#include <cctype>
#include <cstdlib>
#include <sstream>

#include "kv390/harness.h"

namespace kv390::harness {

namespace {

using Kind = TimedInput::Kind;

// A line cut into words; a double-quoted word may hold spaces.
class Words {
  public:
    explicit Words(const std::string& line) : line_(line) {}

    bool next(std::string* word) {
        skip_spaces();
        if (pos_ >= line_.size()) return false;
        word->clear();
        if (line_[pos_] == '"') {
            std::size_t end = line_.find('"', pos_ + 1);
            if (end == std::string::npos) return false;
            *word = line_.substr(pos_ + 1, end - pos_ - 1);
            pos_ = end + 1;
            return true;
        }
        while (pos_ < line_.size() && !std::isspace(static_cast<unsigned char>(line_[pos_]))) {
            *word += line_[pos_++];
        }
        return true;
    }
    bool peek_quoted() {
        skip_spaces();
        return pos_ < line_.size() && line_[pos_] == '"';
    }
    std::string rest() {
        if (pos_ < line_.size() && line_[pos_] == ' ') ++pos_;
        std::string r = pos_ < line_.size() ? line_.substr(pos_) : std::string();
        pos_ = line_.size();
        return r;
    }
    bool at_end() {
        skip_spaces();
        return pos_ >= line_.size();
    }

  private:
    void skip_spaces() {
        while (pos_ < line_.size() && std::isspace(static_cast<unsigned char>(line_[pos_]))) ++pos_;
    }
    std::string line_;
    std::size_t pos_ = 0;
};

bool parse_number(const std::string& word, long long min, long long max, long long* value) {
    if (word.empty()) return false;
    char* end = nullptr;
    long long v = std::strtoll(word.c_str(), &end, 10);
    if (*end != '\0' || v < min || v > max) return false;
    *value = v;
    return true;
}

struct KeyName {
    const char* name;
    int vk;
};
constexpr KeyName KEY_NAMES[] = {
    {"left", win::VK_LEFT},     {"right", win::VK_RIGHT},   {"up", win::VK_UP},
    {"down", win::VK_DOWN},     {"insert", win::VK_INSERT}, {"delete", win::VK_DELETE},
    {"home", win::VK_HOME},     {"end", win::VK_END},       {"pageup", win::VK_PRIOR},
    {"pagedown", win::VK_NEXT}, {"shift", win::VK_SHIFT},   {"ctrl", win::VK_CONTROL},
    {"alt", win::VK_MENU},      {"enter", win::VK_RETURN},  {"escape", win::VK_ESCAPE},
    {"space", win::VK_SPACE},   {"tab", win::VK_TAB},       {"backspace", win::VK_BACK},
};

// f1 .. f12 (lower case) as their virtual-key codes; 0 for another word.
int function_key(const std::string& word) {
    if (word.size() < 2 || word.size() > 3 || word[0] != 'f' || word[1] == '0') return 0;
    for (std::size_t i = 1; i < word.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(word[i]))) return 0;
    }
    long long n = 0;
    if (!parse_number(word.substr(1), 1, 12, &n)) return 0;
    return win::VK_F1 + int(n) - 1;
}

// A virtual-key code as a number, a single letter or digit, or a key's name.
bool parse_key(const std::string& word, int* vk) {
    if (word.size() == 1 && std::isalnum(static_cast<unsigned char>(word[0]))) {
        *vk = std::toupper(static_cast<unsigned char>(word[0]));
        return true;
    }
    std::string lower;
    for (char c : word) lower += char(std::tolower(static_cast<unsigned char>(c)));
    for (const KeyName& key : KEY_NAMES) {
        if (lower == key.name) {
            *vk = key.vk;
            return true;
        }
    }
    if (int f = function_key(lower)) {
        *vk = f;
        return true;
    }
    long long v = 0;
    if (!parse_number(word, 1, 255, &v)) return false;
    *vk = int(v);
    return true;
}

// Text of a "type" entry: \n Enter, \t Tab, \b Backspace, \e Escape, \# and \\.
std::string unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char c = text[++i];
        switch (c) {
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'b':
                out += '\b';
                break;
            case 'e':
                out += '\x1b';
                break;
            default:
                out += c;
                break;
        }
    }
    return out;
}

// Cuts a comment: '#' not preceded by a backslash.
std::string without_comment(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == '#') {
            return line.substr(0, i);
        }
    }
    return line;
}

// The entries that take a client position ("click [\"title\"] x y").
struct PositionVerb {
    const char* verb;
    Kind kind;
};
constexpr PositionVerb POSITION_VERBS[] = {
    {"click", Kind::Click}, {"rclick", Kind::RightClick},   {"mclick", Kind::MiddleClick},
    {"move", Kind::Move},   {"mousedown", Kind::MouseDown}, {"mouseup", Kind::MouseUp},
};

bool parse_position(Words& words, const std::string& verb, TimedInput* e, std::string* why) {
    std::string w;
    if (words.peek_quoted() && words.next(&w)) e->window = w;
    long long x = 0, y = 0;
    std::string xs, ys;
    if (!words.next(&xs) || !words.next(&ys) || !parse_number(xs, -32768, 32767, &x) ||
        !parse_number(ys, -32768, 32767, &y)) {
        *why = verb + " needs a client position: " + verb + " [\"title\"] x y";
        return false;
    }
    e->x = int(x);
    e->y = int(y);
    return true;
}

bool parse_action(Words& words, const std::string& verb, TimedInput* e, std::string* why) {
    std::string w;
    for (const PositionVerb& position : POSITION_VERBS) {
        if (verb != position.verb) continue;
        e->kind = position.kind;
        return parse_position(words, verb, e, why);
    }
    if (verb == "key" || verb == "keydown" || verb == "keyup" || verb == "ctrl") {
        e->kind = verb == "key"       ? Kind::Key
                  : verb == "keydown" ? Kind::KeyDown
                  : verb == "keyup"   ? Kind::KeyUp
                                      : Kind::CtrlKey;
        if (!words.next(&w) || !parse_key(w, &e->vk)) {
            *why = verb + " needs a virtual-key code (1..255), a letter or a key name";
            return false;
        }
        return true;
    }
    if (verb == "type") {
        e->kind = Kind::Type;
        e->text = unescape(words.rest());
        return true;
    }
    if (verb == "menu") {
        e->kind = Kind::Menu;
        long long id = 0;
        if (!words.next(&w) || !parse_number(w, 0, 65535, &id)) {
            *why = "menu needs a command id";
            return false;
        }
        e->id = unsigned(id);
        return true;
    }
    if (verb == "close") {
        e->kind = Kind::Close;
        if (words.peek_quoted() && words.next(&w)) e->window = w;
        return true;
    }
    if (verb == "end") {
        e->kind = Kind::End;
        return true;
    }
    *why = "unknown action \"" + verb + "\"";
    return false;
}

bool parse_line(const std::string& raw, std::vector<TimedInput>* out, std::string* why) {
    std::string line = without_comment(raw);
    Words words(line);
    std::string at, time, verb;
    if (words.at_end()) return true;
    long long ms = 0;
    if (!words.next(&at) || at != "at" || !words.next(&time) ||
        !parse_number(time, 0, (1LL << 53), &ms)) {
        *why = "expected \"at <milliseconds> <action>\"";
        return false;
    }
    if (!words.next(&verb)) {
        *why = "missing action after the time";
        return false;
    }
    TimedInput e{};
    e.at_ms = std::uint64_t(ms);
    if (!parse_action(words, verb, &e, why)) return false;
    if (e.kind != Kind::Type && !words.at_end()) {
        *why = "unexpected text after the " + verb + " entry";
        return false;
    }
    out->push_back(e);
    return true;
}

}  // namespace

// The whole list is checked before anything is scheduled.
bool load_timed_input(const std::string& text, std::string* error) {
    std::vector<TimedInput> entries;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string why;
        if (!parse_line(line, &entries, &why)) {
            if (error != nullptr) *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
    }
    for (const TimedInput& e : entries) schedule(e);
    if (error != nullptr) error->clear();
    return true;
}

}  // namespace kv390::harness
