// Script recording and playback: the event stream written to and read from
// the text file KV390.SCR in the working directory.
//
// Lines: "KV390_MOUSE(x, y);", "KV390_KBD(code);" and "KV390_PERIODIC(n);",
// the last standing for a run of n periodic events; the extended kinds of
// KV390_wait_input have lines of their own (script_input.cpp).
#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>

#include "state.h"

namespace kv390 {
namespace {

constexpr int LINE_SIZE = 512;
constexpr int NUMBER_SIZE = 12;  // at most 11 characters of a number and the terminator
constexpr int FORM_INDEX = 6;    // the letter after the "KV390_" prefix

void set_playback_check(bool checked) {
    if (!lib().run_menu) return;
    win::check_menu_item(lib().run_menu, IDM_PLAYBACK,
                         win::MF_BYCOMMAND | (checked ? win::MF_CHECKED : 0u));
}

// ---- writing

bool open_for_writing(EventState& events) {
    if (events.script_file && !events.script_writing) close_script_file();
    if (events.script_file) return true;
    events.script_file = std::fopen(SCRIPT_FILE_NAME, "wt");
    if (!events.script_file) {
        KV390_log("Cannot open script file %s for writing\n", SCRIPT_FILE_NAME);
        return false;
    }
    events.script_writing = true;
    events.write_error_reported = false;
    return true;
}

int write_line(std::FILE* file, int kind, int x, int y, char key, int code, int periodic_count) {
    switch (kind) {
        case KV390_MOUSE:
            return std::fprintf(file, "KV390_MOUSE(%d, %d);\n", x, y);
        case KV390_KBD:
            return std::fprintf(file, "KV390_KBD(%d);\n", int(static_cast<unsigned char>(key)));
        case KV390_PERIODIC:
            return std::fprintf(file, "KV390_PERIODIC(%d);\n", periodic_count);
        default:
            return write_input_line(file, kind, x, y, code);  // quit events are not written
    }
}

void report_write_error(EventState& events) {
    if (events.write_error_reported) return;
    events.write_error_reported = true;
    KV390_log("Cannot write to script file %s; the recording is incomplete\n", SCRIPT_FILE_NAME);
}

// ---- reading

enum class ReadResult { Line, End, Failed };

// Reads the next line that is not empty.  A line cut by the end of the file
// (no newline) counts as the end.
ReadResult read_script_line(std::FILE* file, char* line) {
    do {
        if (!std::fgets(line, LINE_SIZE, file)) {
            return std::feof(file) ? ReadResult::End : ReadResult::Failed;
        }
        if (std::feof(file)) return ReadResult::End;
    } while (line[0] == '\n');
    return ReadResult::Line;
}

bool is_digit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool belongs_to_number(char c, bool with_minus) {
    return is_digit(c) || (with_minus && c == '-');
}

const char* scan_number(const char* text, bool with_minus, int* value) {
    return scan_script_number(text, with_minus, value);
}

InputLine interpret_line(EventState& events, const char* line) {
    int length = 0;
    while (length <= FORM_INDEX && line[length]) ++length;
    if (length <= FORM_INDEX) return InputLine::Unknown;
    const char* numbers = line + FORM_INDEX;
    int value = 0;
    switch (line[FORM_INDEX]) {
        case 'M':
            events.pending_kind = KV390_MOUSE;
            numbers = scan_number(numbers, true, &events.event_x);
            scan_number(numbers, true, &events.event_y);
            return InputLine::Played;
        case 'K':
            events.pending_kind = KV390_KBD;
            scan_number(numbers, false, &value);
            events.event_key = char(value & 0xFF);
            return InputLine::Played;
        case 'P':
            events.pending_kind = KV390_PERIODIC;
            scan_number(numbers, false, &value);
            events.periodic_count = std::max(value - 1, 0);  // n events, this one included
            return InputLine::Played;
        default:
            return interpret_input_line(events, line);
    }
}

bool open_for_reading(EventState& events) {
    if (events.script_file) return true;
    events.script_file = std::fopen(SCRIPT_FILE_NAME, "rt");
    if (!events.script_file) {
        KV390_log("Cannot open script file %s for reading\n", SCRIPT_FILE_NAME);
        return false;
    }
    events.script_writing = false;
    return true;
}

}  // namespace

// Finds the next number at or after text and converts it as atoi would,
// from at most its first 11 characters.  Returns where the number ends; the
// value is 0 when the line holds no number.
const char* scan_script_number(const char* text, bool with_minus, int* value) {
    while (*text && !belongs_to_number(*text, with_minus)) ++text;
    char digits[NUMBER_SIZE] = {};
    int length = 0;
    for (; belongs_to_number(*text, with_minus); ++text) {
        if (length < NUMBER_SIZE - 1) digits[length++] = *text;
    }
    const long long parsed = std::strtoll(digits, nullptr, 10);
    *value = int(std::clamp<long long>(parsed, INT_MIN, INT_MAX));
    return text;
}

void record_event(int kind, int x, int y, char key, int code) {
    EventState& events = lib().events;
    if (!open_for_writing(events)) return;
    const int written =
        write_line(events.script_file, kind, x, y, key, code, events.periodic_count);
    // Each line reaches the file at once, so a crash or kill loses no event.
    const bool flushed = std::fflush(events.script_file) == 0;
    if (written < 0 || !flushed || std::ferror(events.script_file)) report_write_error(events);
}

void record_step(int kind, int x, int y, char key, int code) {
    EventState& events = lib().events;
    if (kind == KV390_PERIODIC) {
        ++events.periodic_count;
        return;
    }
    if (events.periodic_count > 0) {
        record_event(KV390_PERIODIC, 0, 0, 0);
        events.periodic_count = 0;
    }
    record_event(kind, x, y, key, code);
}

void stop_recording() {
    EventState& events = lib().events;
    events.recording_on = false;
    if (lib().run_menu) {
        win::check_menu_item(lib().run_menu, IDM_RECORD, win::MF_BYCOMMAND | win::MF_UNCHECKED);
    }
    if (events.periodic_count > 0) {
        record_event(KV390_PERIODIC, 0, 0, 0);
        events.periodic_count = 0;
    }
    close_script_file();
}

int play_next_event() {
    EventState& events = lib().events;
    if (!open_for_reading(events)) {
        stop_playback();
        return 0;
    }
    if (events.periodic_count > 0) {
        events.pending_kind = KV390_PERIODIC;
        --events.periodic_count;
        return 1;
    }
    char line[LINE_SIZE];
    for (;;) {
        switch (read_script_line(events.script_file, line)) {
            case ReadResult::End:
                KV390_log("EOF encountered in script file %s\n", SCRIPT_FILE_NAME);
                stop_playback();
                return 0;
            case ReadResult::Failed:
                KV390_log("Cannot read script file %s; playback ends\n", SCRIPT_FILE_NAME);
                stop_playback();
                return 0;
            case ReadResult::Line:
                break;
        }
        const InputLine result = interpret_line(events, line);
        if (result != InputLine::Skipped) return result == InputLine::Played ? 1 : 0;
    }
}

void stop_playback() {
    EventState& events = lib().events;
    events.playback_on = false;
    events.play_one_requested = false;
    // Periodic events still owed from a cut-off run are dropped, so a later
    // recording or playback starts from a clean count.
    events.periodic_count = 0;
    set_playback_check(false);
}

void close_script_file() {
    EventState& events = lib().events;
    if (!events.script_file) return;
    std::fclose(events.script_file);
    events.script_file = nullptr;
    events.script_writing = false;
}

}  // namespace kv390
