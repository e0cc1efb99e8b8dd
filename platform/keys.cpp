#include "platform/keys.h"

#include <QGuiApplication>
#include <QKeyEvent>

#include <array>
#include <cstdint>
#include <utility>

namespace platform {

int virtual_key_code(int qt_key) {
    if (qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z)
        return 65 + (qt_key - Qt::Key_A);
    if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)
        return 48 + (qt_key - Qt::Key_0);
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24)
        return 112 + (qt_key - Qt::Key_F1);
    static constexpr std::array<std::pair<int, int>, 26> kTable{{
        {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},          {Qt::Key_Backtab, 9},
        {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},       {Qt::Key_Shift, 16},
        {Qt::Key_Control, 17},  {Qt::Key_Alt, 18},         {Qt::Key_AltGr, 18},
        {Qt::Key_Pause, 19},    {Qt::Key_CapsLock, 20},    {Qt::Key_Escape, 27},
        {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},      {Qt::Key_PageDown, 34},
        {Qt::Key_End, 35},      {Qt::Key_Home, 36},        {Qt::Key_Left, 37},
        {Qt::Key_Up, 38},       {Qt::Key_Right, 39},       {Qt::Key_Down, 40},
        {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},      {Qt::Key_Meta, 91},
        {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
    }};
    for (const auto& [key, code] : kTable)
        if (key == qt_key)
            return code;
    return 0;
}

namespace {

// X keycodes (as xcb and Wayland report them in the native scan code) of the digit row: 10 to 18
// are 1 to 9, 19 is 0. The digit's code, or 0 off the row.
int digit_by_place(std::uint32_t x_keycode) {
    if (x_keycode >= 10 && x_keycode <= 18)
        return 49 + static_cast<int>(x_keycode - 10);
    return x_keycode == 19 ? 48 : 0;
}

// The letter a US QWERTY keyboard has at an X keycode, or 0 where it has none.
int us_letter_by_place(std::uint32_t x_keycode) {
    static constexpr char kRows[] = "QWERTYUIOP" // 24..33
                                    "\0\0\0\0"   // 34..37: brackets, Enter, left Ctrl
                                    "ASDFGHJKL"  // 38..46
                                    "\0\0\0\0\0" // 47..51
                                    "ZXCVBNM";   // 52..58
    if (x_keycode >= 24 && x_keycode <= 58)
        return kRows[x_keycode - 24];
    return 0;
}

} // namespace

int virtual_key_code(const QKeyEvent& event, bool scan_codes_are_x_keycodes) {
    const int key = event.key();
    if (!scan_codes_are_x_keycodes)
        return virtual_key_code(key);
    const std::uint32_t place = event.nativeScanCode();
    if (int digit = digit_by_place(place))
        return digit;
    // Qt names a key by the symbol the active layout gives it, so a Latin letter here is the
    // layout's own (Dvorak's X at QWERTY's B place); only a key with no Latin letter, Cyrillic
    // or Greek say, falls back to the US letter at its place.
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return virtual_key_code(key);
    if (int letter = us_letter_by_place(place))
        return letter;
    return virtual_key_code(key);
}

int shift_state(const QKeyEvent& event) {
    int state = 0;
    if (event.modifiers() & Qt::ShiftModifier)
        state |= 1;
    if (event.modifiers() & Qt::ControlModifier)
        state |= 2;
    if (event.modifiers() & Qt::AltModifier)
        state |= 4;
    return state;
}

bool platform_has_x_keycodes() {
    const QString name = QGuiApplication::platformName();
    return name == QLatin1String("xcb") || name.startsWith(QLatin1String("wayland"));
}

} // namespace platform
