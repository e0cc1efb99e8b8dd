#pragma once

#include <QImage>

namespace windows {

// The maze picture decoded from the bitmap the game window carries; decoded once.
const QImage& maze_picture();

} // namespace windows
