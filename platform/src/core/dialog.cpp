// Modal dialogs from in-memory templates: creating the dialog window and its
// controls, the default dialog handling, the dialog keys and the modal loop.
#include <algorithm>
#include <memory>

#include "core/controls.h"
#include "core/window.h"

namespace win {
namespace {

// One running dialog; lives on the stack of dialog_box_indirect_param.
struct DialogRun {
    DLGPROC proc = nullptr;
    bool ended = false;
    std::intptr_t result = 0;
    HWND focus_control = nullptr;  // the control to give the focus back to
};

struct DialogLink : WindowExtension {
    DialogRun* run = nullptr;
};

DialogRun* run_of(HWND dialog) {
    Window* w = live_window(dialog);
    if (w == nullptr || w->class_name != controls::DIALOG_CLASS) return nullptr;
    auto* link = dynamic_cast<DialogLink*>(w->extension.get());
    return link != nullptr ? link->run : nullptr;
}

// Template strings are 16-bit units; units beyond Latin-1 become '?'.
std::string narrow(const std::u16string& text) {
    std::string result;
    result.reserve(text.size());
    for (char16_t unit : text) result.push_back(unit < 256 ? char(unit) : '?');
    return result;
}

int units_to_x(int units) {
    return units * dialog_base_units().cx / 4;
}
int units_to_y(int units) {
    return units * dialog_base_units().cy / 8;
}

void send_command(HWND dialog, int id, HWND control) {
    send_message(dialog, WM_COMMAND, make_wparam(unsigned(id), 0),
                 reinterpret_cast<LPARAM>(control));
}

// ---- default dialog handling

void paint_dialog(HWND dialog) {
    PaintStruct ps;
    begin_paint(dialog, &ps);
    end_paint(dialog, &ps);
    controls::paint_face(dialog);
}

LRESULT default_dialog_handling(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
        case WM_COMMAND:
            return 0;
        case WM_CLOSE:
            send_command(dialog, IDCANCEL, nullptr);
            return 0;
        case WM_SYSCOMMAND:
            if ((wparam & 0xFFF0u) == SC_CLOSE) {
                send_command(dialog, IDCANCEL, nullptr);
                return 0;
            }
            return def_window_proc(dialog, message, wparam, lparam);
        case WM_PAINT:
            paint_dialog(dialog);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SETFOCUS: {
            DialogRun* run = run_of(dialog);
            if (run != nullptr && is_self_or_descendant(run->focus_control, dialog) &&
                run->focus_control != dialog) {
                set_focus(run->focus_control);
            }
            return 0;
        }
        default:
            return def_window_proc(dialog, message, wparam, lparam);
    }
}

LRESULT dialog_window_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) {
        const auto* cs = reinterpret_cast<const CreateStruct*>(lparam);
        auto link = std::make_unique<DialogLink>();
        link->run = static_cast<DialogRun*>(cs->create_param);
        live_window(dialog)->extension = std::move(link);
        return 0;
    }
    DialogRun* run = run_of(dialog);
    if (run != nullptr && run->proc != nullptr) {
        const std::intptr_t handled = run->proc(dialog, message, wparam, lparam);
        if (handled != 0) return handled;
    }
    return default_dialog_handling(dialog, message, wparam, lparam);
}

// ---- creation

bool template_supported(const DialogTemplate& t) {
    if (!t.menu.empty() || !t.class_name.empty()) return false;
    return std::all_of(t.items.begin(), t.items.end(), [](const DialogItemTemplate& item) {
        return controls::class_for(item.class_atom, item.class_name) != nullptr;
    });
}

// The dialog's position is relative to the owner's client area; its size is
// the client area, the frame and caption come around it.
HWND create_dialog_window(const DialogTemplate& t, HWND owner, HINSTANCE instance, DialogRun* run) {
    const UINT style = (t.style & ~(WS_VISIBLE | WS_CHILD)) | WS_POPUP;
    const FrameMetrics m = frame_metrics(style, false);
    Point base{0, 0};
    if (Window* o = live_window(owner)) base = client_origin(*o);
    const int width = units_to_x(t.cx) + 2 * m.frame;
    const int height = units_to_y(t.cy) + 2 * m.frame + m.caption;
    const std::string title = narrow(t.title);
    return create_window(t.ex_style, controls::DIALOG_CLASS, title.c_str(), style,
                         base.x + units_to_x(t.x), base.y + units_to_y(t.y), width, height, owner,
                         nullptr, instance, run);
}

bool create_controls(HWND dialog, const DialogTemplate& t, HINSTANCE instance) {
    for (const DialogItemTemplate& item : t.items) {
        const std::string text = narrow(item.text);
        HWND control =
            create_window(item.ex_style, controls::class_for(item.class_atom, item.class_name),
                          text.c_str(), (item.style | WS_CHILD) & ~WS_POPUP, units_to_x(item.x),
                          units_to_y(item.y), units_to_x(item.cx), units_to_y(item.cy), dialog,
                          reinterpret_cast<HMENU>(std::uintptr_t(item.id)), instance, nullptr);
        if (control == nullptr) return false;
    }
    return true;
}

// ---- dialog keys

bool is_tab_stop(HWND control) {
    return (get_window_style(control) & WS_TABSTOP) && is_shown(control) && accepts_input(control);
}

HWND first_tab_stop(HWND dialog) {
    for (HWND child : child_windows(dialog)) {
        if (is_tab_stop(child)) return child;
    }
    return nullptr;
}

// The next (or previous) tab stop after the focused control, wrapping around.
HWND next_tab_stop(HWND dialog, bool backwards) {
    std::vector<HWND> stops;
    for (HWND child : child_windows(dialog)) {
        if (is_tab_stop(child)) stops.push_back(child);
    }
    if (stops.empty()) return nullptr;
    auto at = std::find(stops.begin(), stops.end(), get_focus());
    if (at == stops.end()) return backwards ? stops.back() : stops.front();
    std::size_t index = std::size_t(at - stops.begin());
    index = backwards ? (index + stops.size() - 1) % stops.size() : (index + 1) % stops.size();
    return stops[index];
}

// Enter: the focused push button, else the default push button, else IDOK.
void press_default_button(HWND dialog) {
    HWND focus = get_focus();
    if (controls::is_push_button(focus) && get_parent(focus) == dialog) {
        send_command(dialog, get_dlg_ctrl_id(focus), focus);
        return;
    }
    for (HWND child : child_windows(dialog)) {
        if (controls::is_default_push_button(child)) {
            send_command(dialog, get_dlg_ctrl_id(child), child);
            return;
        }
    }
    send_command(dialog, IDOK, nullptr);
}

// Handles Enter, Escape and Tab for the dialog and its controls; true when
// the key was taken.
bool handle_dialog_key(HWND dialog, const Msg& msg) {
    if (msg.message != WM_KEYDOWN || !is_self_or_descendant(msg.hwnd, dialog)) return false;
    switch (msg.wparam) {
        case VK_RETURN:
            if ((get_window_style(msg.hwnd) & ES_WANTRETURN) != 0 &&
                live_window(msg.hwnd)->class_name == controls::EDIT_CLASS) {
                return false;
            }
            press_default_button(dialog);
            return true;
        case VK_ESCAPE:
            send_command(dialog, IDCANCEL, nullptr);
            return true;
        case VK_TAB:
            if (HWND next = next_tab_stop(dialog, is_key_down(VK_SHIFT))) set_focus(next);
            return true;
        default:
            return false;
    }
}

// ---- the modal loop

// Runs until end_dialog, the dialog's destruction or WM_QUIT; true for WM_QUIT
// (its exit code in *quit_code).
bool run_modal_loop(HWND dialog, DialogRun& run, int* quit_code) {
    while (!run.ended && live_window(dialog) != nullptr) {
        Msg msg;
        if (!peek_message(&msg, nullptr, 0, 0, PM_REMOVE)) {
            wait_for_activity(-1);
            continue;
        }
        if (msg.message == WM_QUIT) {
            *quit_code = int(msg.wparam);
            return true;
        }
        if (!handle_dialog_key(dialog, msg)) {
            translate_message(&msg);
            dispatch_message(&msg);
        }
        HWND focus = get_focus();
        if (focus != dialog && is_self_or_descendant(focus, dialog)) run.focus_control = focus;
    }
    return false;
}

void start_focus(HWND dialog, DialogRun& run, bool set_default_focus) {
    if (set_default_focus) {
        if (HWND first = first_tab_stop(dialog)) set_focus(first);
    }
    HWND focus = get_focus();
    if (focus != dialog && is_self_or_descendant(focus, dialog)) run.focus_control = focus;
}

void finish(HWND dialog, HWND owner, bool owner_disabled_here) {
    if (owner_disabled_here) enable_window(owner, true);
    destroy_window(dialog);
    if (live_window(owner) != nullptr) activate_window(owner);
}

}  // namespace

std::intptr_t dialog_box_indirect_param(HINSTANCE instance, const void* dialog_template,
                                        std::size_t template_size, HWND owner, DLGPROC proc,
                                        LPARAM init_param) {
    DialogTemplate t;
    if (!parse_dialog_template(dialog_template, template_size, &t) || !template_supported(t)) {
        return -1;
    }
    if (owner != nullptr && live_window(owner) == nullptr) return -1;
    owner = top_level_of(owner);
    controls::ensure_classes(dialog_window_proc);

    DialogRun run;
    run.proc = proc;
    HWND dialog = create_dialog_window(t, owner, instance, &run);
    if (dialog == nullptr) return -1;
    if (!create_controls(dialog, t, instance)) {
        destroy_window(dialog);
        return -1;
    }
    const bool default_focus =
        send_message(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first_tab_stop(dialog)),
                     init_param) != 0;
    if (live_window(dialog) == nullptr) return run.ended ? run.result : -1;
    show_window(dialog, SW_SHOW);
    start_focus(dialog, run, default_focus);
    const bool owner_disabled_here = owner != nullptr && is_window_enabled(owner);
    if (owner_disabled_here) enable_window(owner, false);

    int quit_code = 0;
    const bool quitting = run_modal_loop(dialog, run, &quit_code);
    finish(dialog, owner, owner_disabled_here);
    if (quitting) {
        post_quit_message(quit_code);
        return 0;
    }
    return run.ended ? run.result : 0;
}

bool end_dialog(HWND dialog, std::intptr_t result) {
    DialogRun* run = run_of(dialog);
    if (run == nullptr) return false;
    run->ended = true;
    run->result = result;
    return true;
}

HWND get_dlg_item(HWND dialog, int id) {
    for (HWND child : child_windows(dialog)) {
        if (get_dlg_ctrl_id(child) == id) return child;
    }
    return nullptr;
}

UINT get_dlg_item_text(HWND dialog, int id, char* buffer, int max_count) {
    if (buffer == nullptr || max_count <= 0) return 0;
    HWND control = get_dlg_item(dialog, id);
    const std::string text = control != nullptr ? controls::text_of(control) : std::string();
    const std::size_t count = std::min(text.size(), std::size_t(max_count - 1));
    std::copy_n(text.data(), count, buffer);
    buffer[count] = '\0';
    return UINT(count);
}

bool set_dlg_item_text(HWND dialog, int id, const char* text) {
    HWND control = get_dlg_item(dialog, id);
    if (control == nullptr) return false;
    controls::set_text(control, text != nullptr ? text : "");
    return true;
}

}  // namespace win
