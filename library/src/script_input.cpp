// Script lines of the events only KV390_wait_input hands out:
//   KV390_DOWN(code);  KV390_UP(code);            key pressed, released
//   KV390_LEFT_UP(x, y);                           left button released
//   KV390_CURSOR(x, y);                            pointer moved
//   KV390_RIGHT_DOWN(x, y);  KV390_RIGHT_UP(x, y);
//   KV390_CENTRE_DOWN(x, y); KV390_CENTRE_UP(x, y);  the middle button
// No word starts with M, K or P: a reader that knows only the click, key and
// periodic lines (and tells them apart by that letter) stops at these lines
// instead of mistaking them for one of its own.
#include <cstring>

#include "state.h"

namespace kv390 {
namespace {

struct InputLineForm {
    int kind;
    const char* word;  // between "KV390_" and "("
    bool position;     // x and y; otherwise a key code
};
constexpr InputLineForm FORMS[] = {
    {KV390_KEY_PRESS, "DOWN", false},         {KV390_KEY_RELEASE, "UP", false},
    {KV390_MOUSE_UP, "LEFT_UP", true},        {KV390_MOUSE_MOVE, "CURSOR", true},
    {KV390_RIGHT_DOWN, "RIGHT_DOWN", true},   {KV390_RIGHT_UP, "RIGHT_UP", true},
    {KV390_MIDDLE_DOWN, "CENTRE_DOWN", true}, {KV390_MIDDLE_UP, "CENTRE_UP", true},
};
constexpr std::size_t PREFIX_LENGTH = 6;  // "KV390_"

const InputLineForm* form_of_kind(int kind) {
    for (const InputLineForm& form : FORMS) {
        if (form.kind == kind) return &form;
    }
    return nullptr;
}

// The form whose word follows the prefix and is followed by "(".
const InputLineForm* form_of_line(const char* line) {
    if (std::strncmp(line, "KV390_", PREFIX_LENGTH) != 0) return nullptr;
    const char* word = line + PREFIX_LENGTH;
    for (const InputLineForm& form : FORMS) {
        const std::size_t length = std::strlen(form.word);
        if (std::strncmp(word, form.word, length) == 0 && word[length] == '(') return &form;
    }
    return nullptr;
}

}  // namespace

int write_input_line(std::FILE* file, int kind, int x, int y, int code) {
    const InputLineForm* form = form_of_kind(kind);
    if (form == nullptr) return 0;
    if (form->position) return std::fprintf(file, "KV390_%s(%d, %d);\n", form->word, x, y);
    return std::fprintf(file, "KV390_%s(%d);\n", form->word, code);
}

InputLine interpret_input_line(EventState& events, const char* line) {
    const InputLineForm* form = form_of_line(line);
    if (form == nullptr) return InputLine::Unknown;
    const char* numbers = std::strchr(line, '(');
    InputState& input = lib().input;
    if (!form->position) {
        int code = 0;
        scan_script_number(numbers, false, &code);
        code &= KEY_CODE_COUNT - 1;
        // A played key moves the key state as a live one does, in either wait.
        input.keys_held[code] = form->kind == KV390_KEY_PRESS;
        if (!input.extended_wait) return InputLine::Skipped;
        input.event_code = code;
    } else {
        if (!input.extended_wait) return InputLine::Skipped;
        numbers = scan_script_number(numbers, true, &events.event_x);
        scan_script_number(numbers, true, &events.event_y);
    }
    events.pending_kind = form->kind;
    return InputLine::Played;
}

}  // namespace kv390
