#include "windows/maze_picture.h"

#include "assets/maze.h"

namespace windows {

const QImage& maze_picture() {
    static const QImage picture = assets::maze_image();
    return picture;
}

} // namespace windows
