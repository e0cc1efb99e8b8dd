#pragma once

#include <QColor>

#include <cstdint>

namespace platform {

// A colour value laid out 0x00BBGGRR; with the top bit set, 0x80000000 + n names the window
// system's colour number n instead.
using Colour = std::int32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kYellow = 0x00FFFF;
inline constexpr Colour kWhite = 0xFFFFFF;

constexpr Colour system_colour(int index) {
    return static_cast<Colour>(0x80000000u | static_cast<std::uint32_t>(index));
}

// The colour value of an RGB triple, and back. Pixels of the pixel query use these.
constexpr Colour colour_from_rgb(std::uint32_t qrgb) {
    return static_cast<Colour>(((qrgb & 0xFFu) << 16) | (qrgb & 0xFF00u) | ((qrgb >> 16) & 0xFFu));
}
constexpr std::uint32_t rgb_from_colour(Colour colour) {
    auto c = static_cast<std::uint32_t>(colour);
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// Resolves a colour value, system colours included, to what the screen shows.
QColor to_qcolor(Colour colour);

} // namespace platform
