#include "platform/colour.h"

namespace platform {

namespace {

// The classic desktop scheme for the system colours, so that every machine shows the same.
QColor system_qcolor(int index) {
    switch (index) {
    case 5: // window background
        return QColor(255, 255, 255);
    case 8:  // window text
    case 18: // button text
        return QColor(0, 0, 0);
    case 10: // active window border
    case 15: // button face
        return QColor(212, 208, 200);
    case 16: // button shadow
        return QColor(128, 128, 128);
    case 20: // button highlight
        return QColor(255, 255, 255);
    default:
        return QColor(128, 128, 128);
    }
}

} // namespace

QColor to_qcolor(Colour colour) {
    auto bits = static_cast<std::uint32_t>(colour);
    if (bits & 0x80000000u)
        return system_qcolor(static_cast<int>(bits & 0xFFu));
    return QColor::fromRgb(rgb_from_colour(colour));
}

} // namespace platform
