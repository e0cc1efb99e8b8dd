#pragma once

#include <cstdint>

class QKeyEvent;

namespace platform {

// The window system's virtual-key code of a Qt key: 8 Backspace, 13 Enter, 16 Shift, 17 Ctrl,
// 27 Esc, 37 to 40 the arrows, 48 to 57 the digits, 65 to 90 the letters, ... and 0 for a key
// that has no code here.
int virtual_key_code(int qt_key);

// Letters and digits by their place on the keyboard, whatever the layout: X keycodes (as xcb and
// Wayland report them in the native scan code) of the letter and digit keys. 0 when unknown.
int virtual_key_code_of_keycode(std::uint32_t x_keycode);

// The code of a key event; where the scan codes are X keycodes, a letter or digit key gives its
// code by its place, so the X key is 88 under a Russian layout too.
int virtual_key_code(const QKeyEvent& event, bool scan_codes_are_x_keycodes);

// The shift state of a key event: 1 Shift, 2 Ctrl, 4 Alt.
int shift_state(const QKeyEvent& event);

// Whether this run's platform reports X keycodes as scan codes (xcb, wayland).
bool platform_has_x_keycodes();

} // namespace platform
