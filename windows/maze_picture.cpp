#include "windows/maze_picture.h"

#include "assets/maze.h"

#include <QColor>

#include <cstring>

namespace windows {

namespace {

std::uint32_t read_u32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    std::memcpy(&value, bytes.data() + at, sizeof value); // little-endian, as the machine
    return value;
}

// The bitmap holds three colours; kept as an 8-bit picture with its colour table it takes a
// quarter of the memory of a 32-bit one. A bitmap of another shape goes through Qt's reader.
QImage decode(const std::vector<std::uint8_t>& bmp) {
    constexpr std::size_t kHeader = 54; // bytes: file header and information header
    const auto width = static_cast<int>(read_u32(bmp, 18));
    const auto height = static_cast<int>(read_u32(bmp, 22));
    const bool plain_24_bit = bmp.size() >= kHeader && bmp[0] == 'B' && bmp[1] == 'M' &&
                              read_u32(bmp, 10) == kHeader && (read_u32(bmp, 28) & 0xFFFF) == 24 &&
                              read_u32(bmp, 30) == 0 && width > 0 && height > 0 && width % 4 == 0 &&
                              bmp.size() >= kHeader + std::size_t(width) * height * 3;
    if (!plain_24_bit)
        return QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP")
            .convertToFormat(QImage::Format_RGB32);

    QImage picture(width, height, QImage::Format_Indexed8);
    QList<QRgb> table;
    QRgb last = 0;
    qsizetype last_index = -1;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = bmp.data() + kHeader + std::size_t(height - 1 - y) * width * 3;
        uchar* line = picture.scanLine(y);
        for (int x = 0; x < width; ++x, source += 3) {
            const QRgb colour = qRgb(source[2], source[1], source[0]);
            auto index = colour == last ? last_index : table.indexOf(colour);
            if (index < 0) {
                if (table.size() == 256)
                    return QImage::fromData(bmp.data(), static_cast<int>(bmp.size()), "BMP")
                        .convertToFormat(QImage::Format_RGB32);
                index = table.size();
                table.append(colour);
            }
            line[x] = static_cast<uchar>(index);
            last = colour;
            last_index = index;
        }
    }
    picture.setColorTable(table);
    return picture;
}

} // namespace

const QImage& maze_picture() {
    static const QImage picture = decode(assets::maze_bmp());
    return picture;
}

} // namespace windows
