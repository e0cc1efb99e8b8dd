#pragma once

#include <QImage>

namespace windows {

// The maze picture the game window carries, 8-bit with its three colours; built once.
const QImage& maze_picture();

} // namespace windows
