#pragma once

class QKeyEvent;

namespace platform {

// The window system's virtual-key code of a Qt key: 8 Backspace, 13 Enter, 16 Shift, 17 Ctrl,
// 27 Esc, 37 to 40 the arrows, 48 to 57 the digits, 65 to 90 the letters, ... and 0 for a key
// that has no code here.
int virtual_key_code(int qt_key);

// The code of a key event. Where the scan codes are X keycodes, a digit key gives its digit by its
// place whatever the layout; a letter key gives the Latin letter the active layout puts on it
// (Dvorak's X is 88), and, where the layout puts none there (Russian, Greek), the US QWERTY letter
// at its place (the Russian Ч key is 88). Elsewhere the code follows the Qt key alone.
int virtual_key_code(const QKeyEvent& event, bool scan_codes_are_x_keycodes);

// The shift state of a key event: 1 Shift, 2 Ctrl, 4 Alt.
int shift_state(const QKeyEvent& event);

// Whether this run's platform reports X keycodes as scan codes (xcb, wayland).
bool platform_has_x_keycodes();

} // namespace platform
