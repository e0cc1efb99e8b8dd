#pragma once

// The maze picture, the game's only level: yellow corridors between black walls, with thin white
// strokes through the bottom wall. It is built from two lists (yellow rectangles over black, then
// white pixels), either as the 24-bit bottom-up BMP file the game window carries or straight as
// the picture the game shows.

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace assets {

inline constexpr int kMazeWidth = 792;                 // pixels
inline constexpr int kMazeHeight = 582;                // pixels
inline constexpr std::size_t kMazeBmpSize = 1'382'886; // bytes

struct MazeRect {
    int x, y, w, h; // left column, top row, width, height in pixels
};
struct MazePixel {
    int x, y;
};

std::span<const MazeRect> maze_rectangles();    // the 87 yellow rectangles
std::span<const MazePixel> maze_white_pixels(); // the 265 white pixels

// The BMP file: the pixels of maze_image() behind the file's headers.
std::vector<std::uint8_t> maze_bmp();

// The same pixels as an 8-bit picture with a table of its three colours (black, yellow, white),
// built from the lists: a third of the file's size, and no file to write and decode at start.
QImage maze_image();

} // namespace assets
