// Entry points through which a backend (or the headless harness) hands user
// input to the core.  They queue the messages a desktop would: button and key
// messages go to the window under the pointer or with the keyboard focus.
// Part of the backend contract (with core/backend.h).
#pragma once

#include "kv390/win.h"

namespace win::input {

// lparam bit of a WM_KEYDOWN whose character arrives separately as WM_CHAR
// (SDL text input): translate_message then produces no character for it.
constexpr LPARAM KEY_TEXT_SEPARATE = LPARAM(1) << 28;

// Left/right/middle button down or up, at a client position of hwnd.  A button-down
// on another top-level window activates it (focus) first.
void mouse_button(HWND hwnd, UINT message, int client_x, int client_y);
// The pointer moved to a client position of hwnd (WM_MOUSEMOVE to the window
// under it).  A move that finds the window's previous move still last in the
// queue replaces it: a program that falls behind gets the newest position.
void mouse_move(HWND hwnd, int client_x, int client_y);
// Key down/up to the focus window; keeps the layer's key state.
void key(UINT message, int vk, LPARAM flags = 0);
// A character (text input) to the focus window as WM_CHAR.
void character(unsigned code);
// The close box: WM_SYSCOMMAND SC_CLOSE to hwnd.
void close_box(HWND hwnd);
// The user activated hwnd (or the desktop, for nullptr: focus leaves the layer).
void activate(HWND hwnd);
// The user resized a window's client area.
void client_resized(HWND hwnd, int width, int height);
// The system asks hwnd to repaint (an uncovering).
void expose(HWND hwnd);
// Activates hwnd's top-level window and gives hwnd the keyboard focus.
void focus(HWND hwnd);

// Input from a desktop, where a top-level window shows its whole picture
// (core/backend.h): positions are in the picture, menu bar strip included.
// The drawn menu bar takes what belongs to it; the rest reaches the window.
//
// A button down or up (WM_LBUTTONDOWN ... WM_MBUTTONUP) at a picture position.
void picture_button(HWND top, UINT message, int x, int y);
// The pointer moved over the picture: the open drop-down follows it, or else
// the window gets WM_MOUSEMOVE.
void picture_motion(HWND top, int x, int y);
// A key from the keyboard: the active window's menu bar sees it first.
// Returns false when the menu bar kept a key-down (its text must not be typed).
bool keyboard_key(UINT message, int vk, LPARAM flags);
// The user resized the picture (windows with a sizing frame follow).
void picture_resized(HWND top, int width, int height);

}  // namespace win::input

namespace win {
// Whether Caps Lock is on in the layer's key state (typing text turns it into keys).
bool caps_lock_on();
}  // namespace win
