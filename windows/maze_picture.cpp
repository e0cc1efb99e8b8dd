#include "windows/maze_picture.h"

#include "assets/maze.h"

namespace windows {

const QImage& maze_picture() {
    static const QImage picture = [] {
        const auto& bmp = assets::maze_bmp();
        QImage image = QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP");
        return image.convertToFormat(QImage::Format_RGB32);
    }();
    return picture;
}

} // namespace windows
