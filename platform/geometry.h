#pragma once

// Twips and pixels. Every position is in twips (15 to the pixel); on the screen and for the pixel
// query a twip value is cut down to whole pixels.

#include <cmath>

namespace platform {

inline constexpr int kTwipsPerPixel = 15;

inline int twips_to_pixels(double twips) {
    return static_cast<int>(std::floor(twips / kTwipsPerPixel));
}

// The picture box's sunken border, on each side.
inline constexpr int kPictureBorder = 2;            // pixels
inline constexpr float kPictureBorderTwips = 30.0f; // twips

} // namespace platform
