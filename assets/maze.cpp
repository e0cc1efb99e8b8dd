#include "assets/maze.h"

#include <array>
#include <cstring>

namespace assets {

namespace {

// Yellow corridor rectangles {x, y, w, h}, painted over an all-black picture. No two share a
// pixel, so the yellow pixel count is the plain sum of their areas.
constexpr std::array<MazeRect, 87> kRects{{
    // clang-format off
    {11, 13, 767, 14},   {11, 27, 15, 530},   {145, 27, 19, 12},   {614, 27, 21, 12},
    {763, 27, 15, 530},  {40, 39, 162, 14},   {216, 39, 533, 14},  {40, 53, 17, 471},
    {376, 53, 22, 13},   {732, 53, 17, 21},   {73, 66, 642, 14},   {73, 80, 15, 189},
    {700, 80, 15, 172},  {102, 92, 181, 15},  {297, 92, 387, 15},  {732, 94, 17, 430},
    {102, 107, 15, 59},  {668, 107, 16, 145}, {132, 120, 50, 17},  {199, 120, 453, 17},
    {132, 137, 19, 59},  {439, 137, 27, 14},  {633, 137, 19, 60},  {166, 151, 117, 15},
    {296, 151, 212, 15}, {521, 151, 98, 15},  {166, 166, 16, 30},  {226, 166, 25, 14},
    {341, 166, 27, 14},  {603, 166, 16, 31},  {196, 180, 233, 17}, {446, 180, 142, 17},
    {102, 182, 15, 79},  {132, 196, 50, 18},  {196, 197, 17, 66},  {571, 197, 17, 169},
    {603, 197, 49, 23},  {227, 210, 329, 14}, {132, 214, 19, 47},  {166, 214, 16, 185},
    {603, 220, 16, 179}, {633, 220, 19, 211}, {227, 224, 16, 20},  {403, 224, 20, 14},
    {539, 224, 17, 108}, {258, 238, 51, 13},  {321, 238, 202, 13}, {258, 251, 14, 53},
    {510, 251, 13, 53},  {668, 252, 47, 23},  {102, 261, 49, 26},  {227, 261, 16, 35},
    {286, 265, 209, 24}, {668, 275, 16, 188}, {700, 275, 15, 152}, {196, 280, 17, 16},
    {73, 286, 15, 206},  {102, 287, 15, 176}, {132, 287, 19, 144}, {338, 289, 19, 15},
    {196, 296, 47, 22},  {258, 304, 265, 13}, {196, 318, 17, 48},  {227, 318, 16, 14},
    {227, 332, 329, 17}, {196, 366, 392, 18}, {528, 384, 25, 15},  {166, 399, 299, 17},
    {482, 399, 137, 17}, {132, 431, 37, 18},  {186, 431, 466, 18}, {700, 441, 15, 51},
    {102, 463, 461, 15}, {577, 463, 107, 15}, {374, 478, 29, 14},  {598, 478, 25, 14},
    {73, 492, 642, 15},  {40, 524, 709, 18},  {11, 557, 767, 13},
    // Row 570: the bottom corridor row, broken by the white strokes' first pixels.
    {11, 570, 36, 1},    {48, 570, 80, 1},    {130, 570, 20, 1},   {152, 570, 285, 1},
    {438, 570, 23, 1},   {462, 570, 27, 1},   {490, 570, 249, 1},  {740, 570, 38, 1},
    // clang-format on
}};

// A vertical run of white pixels in one column: rows first..last inclusive.
struct WhiteRun {
    int x, first, last;
};

// The white strokes through the bottom wall, column by column, left to right.
constexpr std::array<WhiteRun, 60> kWhiteRuns{{
    // clang-format off
    {14, 571, 571},  {14, 581, 581},  {15, 571, 580},  {28, 580, 581},  {29, 572, 579},
    {44, 581, 581},  {45, 575, 580},  {46, 572, 574},  {47, 570, 571},  {62, 581, 581},
    {63, 576, 580},  {64, 575, 575},  {87, 573, 581},  {88, 572, 572},  {106, 579, 581},
    {107, 571, 578}, {128, 570, 581}, {129, 570, 570}, {150, 570, 570}, {151, 570, 571},
    {152, 572, 581}, {176, 572, 581}, {207, 572, 581}, {233, 571, 581}, {271, 571, 581},
    {307, 573, 581}, {335, 579, 581}, {336, 573, 578}, {352, 575, 578}, {353, 579, 581},
    {393, 580, 581}, {437, 570, 581}, {461, 570, 581}, {489, 570, 570}, {490, 571, 581},
    {527, 571, 572}, {528, 573, 576}, {529, 577, 581}, {560, 573, 581}, {591, 576, 579},
    {592, 580, 581}, {636, 572, 577}, {637, 578, 581}, {664, 580, 581}, {665, 578, 579},
    {666, 575, 577}, {667, 574, 574}, {668, 573, 573}, {707, 581, 581}, {710, 580, 581},
    {711, 578, 579}, {712, 575, 577}, {713, 573, 574}, {714, 572, 572}, {715, 572, 572},
    {739, 570, 573}, {740, 574, 577}, {741, 578, 581}, {773, 579, 579}, {774, 580, 581},
    // clang-format on
}};

constexpr int kWhiteCount = [] {
    int n = 0;
    for (const WhiteRun& r : kWhiteRuns)
        n += r.last - r.first + 1;
    return n;
}();
static_assert(kWhiteCount == 265);

constexpr int kYellowCount = [] {
    int n = 0;
    for (const MazeRect& r : kRects)
        n += r.w * r.h;
    return n;
}();
static_assert(kYellowCount == 234'718);

constexpr bool in_picture(const MazeRect& r) {
    return r.x >= 0 && r.y >= 0 && r.w > 0 && r.h > 0 && r.x + r.w <= kMazeWidth &&
           r.y + r.h <= kMazeHeight;
}
static_assert([] {
    for (const MazeRect& r : kRects)
        if (!in_picture(r))
            return false;
    for (const WhiteRun& r : kWhiteRuns)
        if (r.x < 0 || r.x >= kMazeWidth || r.first < 0 || r.first > r.last ||
            r.last >= kMazeHeight)
            return false;
    return true;
}());

// File layout: 14-byte file header, 40-byte info header, no palette, then 24-bit pixels.
constexpr std::size_t kPixelOffset = 14 + 40;                  // bytes
constexpr std::size_t kRowBytes = std::size_t{kMazeWidth} * 3; // 2376, already a multiple of 4
constexpr std::size_t kPixelBytes = kRowBytes * kMazeHeight;
static_assert(kRowBytes % 4 == 0, "rows must need no padding");
static_assert(kPixelOffset + kPixelBytes == kMazeBmpSize);

void put_u16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

void put_u32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// Byte offset of pixel (x, y), y counted from the top; the file stores the bottom row first.
constexpr std::size_t pixel_offset(int x, int y) {
    return kPixelOffset + std::size_t(kMazeHeight - 1 - y) * kRowBytes + std::size_t(x) * 3;
}

} // namespace

std::span<const MazeRect> maze_rectangles() {
    return kRects;
}

std::span<const MazePixel> maze_white_pixels() {
    static const std::vector<MazePixel> pixels = [] {
        std::vector<MazePixel> v;
        v.reserve(kWhiteCount);
        for (const WhiteRun& r : kWhiteRuns)
            for (int y = r.first; y <= r.last; ++y)
                v.push_back({r.x, y});
        return v;
    }();
    return pixels;
}

std::vector<std::uint8_t> maze_bmp() {
    std::vector<std::uint8_t> bmp(kMazeBmpSize, 0);
    std::uint8_t* const d = bmp.data();

    d[0] = 'B';
    d[1] = 'M';
    put_u32(d + 2, kMazeBmpSize);
    // bytes 6..9: two reserved words, zero
    put_u32(d + 10, kPixelOffset);
    put_u32(d + 14, 40); // info header size
    put_u32(d + 18, kMazeWidth);
    put_u32(d + 22, kMazeHeight); // positive: bottom-up
    put_u16(d + 26, 1);           // planes
    put_u16(d + 28, 24);          // bits per pixel
    // bytes 30..33: compression 0 (none)
    put_u32(d + 34, kPixelBytes);
    // bytes 38..53: resolution, palette size and important colours, all zero

    // The pixels are the picture's, painted from the lists in one place, written blue, green, red.
    const QImage image = maze_image();
    for (int y = 0; y < kMazeHeight; ++y) {
        const uchar* index = image.constScanLine(y);
        std::uint8_t* to = d + pixel_offset(0, y);
        for (int x = 0; x < kMazeWidth; ++x, to += 3) {
            const QRgb colour = image.color(index[x]);
            to[0] = static_cast<std::uint8_t>(qBlue(colour));
            to[1] = static_cast<std::uint8_t>(qGreen(colour));
            to[2] = static_cast<std::uint8_t>(qRed(colour));
        }
    }
    return bmp;
}

QImage maze_image() {
    enum : uchar { kBlack, kYellow, kWhite }; // indexes into the colour table
    QImage image(kMazeWidth, kMazeHeight, QImage::Format_Indexed8);
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 0), qRgb(255, 255, 255)});
    image.fill(kBlack);
    for (const MazeRect& r : kRects)
        for (int y = r.y; y < r.y + r.h; ++y)
            std::memset(image.scanLine(y) + r.x, kYellow, std::size_t(r.w));
    for (const WhiteRun& r : kWhiteRuns)
        for (int y = r.first; y <= r.last; ++y)
            image.scanLine(y)[r.x] = kWhite;
    return image;
}

} // namespace assets
