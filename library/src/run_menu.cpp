// The Run menu of the graphics window, its commands and their Ctrl-letter
// shortcuts.
#include "state.h"

namespace kv390 {
namespace {

struct RunMenuItem {
    win::UINT flags;
    unsigned id;
    const char* text;
};

constexpr RunMenuItem RUN_MENU_ITEMS[] = {
    {win::MF_STRING, IDM_ANIMATE, "&Animate\tCtrl+A"},
    {win::MF_STRING, IDM_HALT, "&Halt animation\tCtrl+H"},
    {win::MF_STRING, IDM_ADVANCE, "Advance one &frame\tCtrl+F"},
    {win::MF_SEPARATOR, 0, ""},
    {win::MF_CHECKED, IDM_LOGGING, "&Logging\tCtrl+L"},
    {win::MF_SEPARATOR, 0, ""},
    {win::MF_STRING, IDM_RECORD, "&Record Script\tCtrl+R"},
    {win::MF_STRING, IDM_PLAYBACK, "&Playback Script\tCtrl+P"},
    {win::MF_STRING, IDM_PLAY_ONE, "Play &One Script\tCtrl+O"},
    {win::MF_SEPARATOR, 0, ""},
    {win::MF_STRING, IDM_QUIT, "&Quit\tCtrl+Q"},
    {win::MF_SEPARATOR, 0, ""},
    {win::MF_GRAYED, IDM_INFO, "KV390 v2.2 July 1997"},
    {win::MF_GRAYED, IDM_INFO, "MAC: mac@kv390.example"},
    {win::MF_GRAYED, IDM_INFO, "WINDOWS: windows@kv390.example"},
    {win::MF_GRAYED, IDM_INFO, "UPDATES: updates@kv390.example"},
};

struct Shortcut {
    int vk;
    unsigned id;
};

constexpr Shortcut SHORTCUTS[] = {
    {'A', IDM_ANIMATE}, {'H', IDM_HALT},     {'F', IDM_ADVANCE},  {'L', IDM_LOGGING},
    {'R', IDM_RECORD},  {'P', IDM_PLAYBACK}, {'O', IDM_PLAY_ONE}, {'Q', IDM_QUIT},
};

void set_check(unsigned id, bool checked) {
    if (!lib().run_menu) return;
    win::check_menu_item(lib().run_menu, id, win::MF_BYCOMMAND | (checked ? win::MF_CHECKED : 0u));
}

bool playing_back(const EventState& events) {
    return events.playback_on || events.play_one_requested;
}

void toggle_logging() {
    LibraryState& state = lib();
    state.logging_on = state.logging_on == 1 ? 0 : 1;
    set_check(IDM_LOGGING, state.logging_on == 1);
}

void start_recording(EventState& events) {
    if (playing_back(events)) {
        KV390_log("Cannot record while a script plays back\n");
        return;
    }
    // A script left open for reading by an earlier playback is let go, so the
    // recording writes a fresh file and counts its periodic events from 0.
    close_script_file();
    events.periodic_count = 0;
    events.recording_on = true;
    set_check(IDM_RECORD, true);
}

void toggle_recording() {
    EventState& events = lib().events;
    if (events.recording_on) {
        stop_recording();
    } else {
        start_recording(events);
    }
}

// True when playback may start; logs why not otherwise.
bool may_play_back(const EventState& events) {
    if (!events.recording_on) return true;
    KV390_log("Cannot play back while a script is being recorded\n");
    return false;
}

void halt_for_playback(EventState& events) {
    events.animate_on = false;
    events.step_requested = false;
}

void toggle_playback() {
    EventState& events = lib().events;
    if (events.playback_on) {
        stop_playback();
        close_script_file();
        return;
    }
    if (!may_play_back(events)) return;
    halt_for_playback(events);
    events.playback_on = true;
    set_check(IDM_PLAYBACK, true);
}

void request_play_one() {
    EventState& events = lib().events;
    if (!may_play_back(events)) return;
    events.play_one_requested = true;
    halt_for_playback(events);
}

unsigned shortcut_command(int vk) {
    for (const Shortcut& shortcut : SHORTCUTS) {
        if (shortcut.vk == vk) return shortcut.id;
    }
    return 0;
}

}  // namespace

void build_run_menu(win::HWND hwnd) {
    win::HMENU bar = win::create_menu();
    win::HMENU popup = win::create_popup_menu();
    lib().run_menu = popup;
    for (const RunMenuItem& item : RUN_MENU_ITEMS) {
        win::append_menu(popup, item.flags, item.id, item.text);
    }
    win::append_menu(bar, win::MF_POPUP, reinterpret_cast<std::uintptr_t>(popup), "&Run");
    win::set_menu(hwnd, bar);
    win::draw_menu_bar(hwnd);
}

void run_command(unsigned id) {
    EventState& events = lib().events;
    switch (id) {
        case IDM_ANIMATE:
            events.animate_on = true;
            break;
        case IDM_HALT:
            events.animate_on = false;
            break;
        case IDM_ADVANCE:
            events.animate_on = false;
            events.step_requested = true;
            break;
        case IDM_LOGGING:
            toggle_logging();
            break;
        case IDM_RECORD:
            toggle_recording();
            break;
        case IDM_PLAYBACK:
            toggle_playback();
            break;
        case IDM_PLAY_ONE:
            request_play_one();
            break;
        case IDM_QUIT:
            win::post_quit_message(0);
            break;
        default:
            break;
    }
}

bool on_key(win::UINT message, win::WPARAM vk) {
    EventState& events = lib().events;
    if (vk == win::WPARAM(win::VK_CONTROL)) {
        if (message == win::WM_KEYDOWN) events.ctrl_held = true;
        if (message == win::WM_KEYUP) events.ctrl_held = false;
        return false;
    }
    if (message != win::WM_KEYDOWN || !events.ctrl_held) return false;
    const unsigned id = shortcut_command(int(vk));
    if (id != 0) run_command(id);
    return id != 0;
}

// A Ctrl released while another application has the focus never reaches
// the library; forget it so letters type again and stop acting as shortcuts.
void on_focus_lost() {
    lib().events.ctrl_held = false;
    forget_held_input();
}

}  // namespace kv390
