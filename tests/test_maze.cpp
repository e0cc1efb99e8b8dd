// The maze picture: the file's digest and header bytes, its pixels against the two lists and
// against corners typed here apart from them, and the shape facts the game relies on (a closed
// start pocket, one connected corridor system, the white strokes through the bottom wall).

#include "assets/maze.h"

#include <QCryptographicHash>
#include <QImage>
#include <QTest>

#include <array>
#include <cstring>
#include <map>

using namespace assets;

namespace {

enum class Colour { Black, Yellow, White, Other };

constexpr int W = kMazeWidth;
constexpr int H = kMazeHeight;
constexpr int kPocketSize = 3'600;

Colour classify(int r, int g, int b) {
    if (r == 0 && g == 0 && b == 0)
        return Colour::Black;
    if (r == 255 && g == 255 && b == 0)
        return Colour::Yellow;
    if (r == 255 && g == 255 && b == 255)
        return Colour::White;
    return Colour::Other;
}

// The file as QImage decodes it.
const QImage& decoded_image() {
    static const QImage image = [] {
        const auto& bmp = maze_bmp();
        return QImage::fromData(QByteArrayView(bmp.data(), qsizetype(bmp.size())), "BMP");
    }();
    return image;
}

// The decoded picture, row-major, y counted from the top.
const std::vector<Colour>& decoded() {
    static const std::vector<Colour> grid = [] {
        const QImage& img = decoded_image();
        std::vector<Colour> g;
        if (img.width() != W || img.height() != H)
            return g;
        g.reserve(std::size_t(W) * H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const QRgb p = img.pixel(x, y);
                g.push_back(classify(qRed(p), qGreen(p), qBlue(p)));
            }
        return g;
    }();
    return grid;
}

Colour at(int x, int y) {
    return decoded()[std::size_t(y) * W + x];
}

// The picture painted straight from the lists, as a reference for the file writer.
std::vector<Colour> painted_from_lists() {
    std::vector<Colour> g(std::size_t(W) * H, Colour::Black);
    for (const MazeRect& r : maze_rectangles())
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x)
                g[std::size_t(y) * W + x] = Colour::Yellow;
    for (const MazePixel& p : maze_white_pixels())
        g[std::size_t(p.y) * W + p.x] = Colour::White;
    return g;
}

bool contains(const MazeRect& r, int x, int y) {
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

constexpr std::array<MazeRect, 2> kPocket{{{102, 92, 181, 15}, {102, 107, 15, 59}}};

bool in_pocket(int x, int y) {
    return contains(kPocket[0], x, y) || contains(kPocket[1], x, y);
}

constexpr std::array<std::array<int, 2>, 4> kSteps{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};

} // namespace

Q_DECLARE_METATYPE(Colour)

class TestMaze : public QObject {
    Q_OBJECT

  private slots:
    void header_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::addColumn<qint64>("value");
        QTest::newRow("signature B") << 0 << 1 << qint64('B');
        QTest::newRow("signature M") << 1 << 1 << qint64('M');
        QTest::newRow("file size") << 2 << 4 << qint64(1'382'886);
        QTest::newRow("reserved 1") << 6 << 2 << qint64(0);
        QTest::newRow("reserved 2") << 8 << 2 << qint64(0);
        QTest::newRow("pixel offset") << 10 << 4 << qint64(54);
        QTest::newRow("info size") << 14 << 4 << qint64(40);
        QTest::newRow("width") << 18 << 4 << qint64(792);
        QTest::newRow("height, bottom-up") << 22 << 4 << qint64(582);
        QTest::newRow("planes") << 26 << 2 << qint64(1);
        QTest::newRow("bits per pixel") << 28 << 2 << qint64(24);
        QTest::newRow("compression") << 30 << 4 << qint64(0);
        QTest::newRow("pixel data size") << 34 << 4 << qint64(1'382'832);
        QTest::newRow("x resolution") << 38 << 4 << qint64(0);
        QTest::newRow("y resolution") << 42 << 4 << qint64(0);
        QTest::newRow("palette colours") << 46 << 4 << qint64(0);
        QTest::newRow("important colours") << 50 << 4 << qint64(0);
    }
    void header() {
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(qint64, value);
        const auto& bmp = maze_bmp();
        QVERIFY(bmp.size() >= 54);
        qint64 got = 0;
        for (int i = width - 1; i >= 0; --i)
            got = (got << 8) | bmp[std::size_t(offset + i)];
        QCOMPARE(got, value);
    }

    void file_digest() {
        // The whole file, byte for byte: its SHA-256 was taken once from a picture written apart
        // from this code, straight from the two lists, so a changed number in either list fails.
        const auto& bmp = maze_bmp();
        const QByteArray digest =
            QCryptographicHash::hash(QByteArrayView(bmp.data(), qsizetype(bmp.size())),
                                     QCryptographicHash::Sha256)
                .toHex();
        QCOMPARE(digest,
                 QByteArray("d73d525b115dedc4b950a895a26f719c8906e580db68c354cfb1203850345dd3"));
    }

    void size() {
        QCOMPARE(maze_bmp().size(), std::size_t{1'382'886});
        QCOMPARE(kMazeBmpSize, std::size_t{1'382'886});
    }

    void colour_counts_data() {
        QTest::addColumn<Colour>("colour");
        QTest::addColumn<int>("count");
        QTest::newRow("yellow") << Colour::Yellow << 234'718;
        QTest::newRow("black") << Colour::Black << 225'961;
        QTest::newRow("white") << Colour::White << 265;
        QTest::newRow("anything else") << Colour::Other << 0;
    }
    void colour_counts() {
        QFETCH(Colour, colour);
        QFETCH(int, count);
        // Counted on the raw bytes (blue, green, red), independent of any decoder.
        const auto& bmp = maze_bmp();
        int n = 0;
        for (std::size_t i = 54; i + 2 < bmp.size(); i += 3)
            n += classify(bmp[i + 2], bmp[i + 1], bmp[i]) == colour;
        QCOMPARE(n, count);
    }

    void lists_do_not_overlap() {
        const auto rects = maze_rectangles();
        const auto whites = maze_white_pixels();
        QCOMPARE(rects.size(), std::size_t{87});
        QCOMPARE(whites.size(), std::size_t{265});
        for (std::size_t i = 0; i < rects.size(); ++i) {
            const MazeRect& a = rects[i];
            QVERIFY(a.x >= 0 && a.y >= 0 && a.x + a.w <= W && a.y + a.h <= H);
            for (std::size_t j = i + 1; j < rects.size(); ++j) {
                const MazeRect& b = rects[j];
                const bool apart =
                    a.x + a.w <= b.x || b.x + b.w <= a.x || a.y + a.h <= b.y || b.y + b.h <= a.y;
                QVERIFY2(apart, qPrintable(QStringLiteral("rectangles %1 and %2").arg(i).arg(j)));
            }
        }
        std::vector<bool> seen(std::size_t(W) * H);
        for (const MazePixel& p : whites) {
            QVERIFY(p.x >= 0 && p.x < W && p.y >= 0 && p.y < H);
            QVERIFY2(!seen[std::size_t(p.y) * W + p.x], "white pixel listed twice");
            seen[std::size_t(p.y) * W + p.x] = true;
            for (const MazeRect& r : rects)
                QVERIFY2(
                    !contains(r, p.x, p.y),
                    qPrintable(QStringLiteral("white (%1,%2) in a rectangle").arg(p.x).arg(p.y)));
        }
    }

    void decoded_matches_lists() {
        // The file decodes to the lists' pixels, and the picture the game builds straight from
        // the lists, 8-bit with a table of three colours, has the decoded file's pixels.
        QCOMPARE(decoded().size(), std::size_t(W) * H);
        const std::vector<Colour> want = painted_from_lists();
        const QImage built = maze_image();
        const QImage& file = decoded_image();
        QCOMPARE(built.size(), QSize(W, H));
        QCOMPARE(built.format(), QImage::Format_Indexed8);
        QCOMPARE(built.colorCount(), 3);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (at(x, y) != want[std::size_t(y) * W + x])
                    QFAIL(qPrintable(QStringLiteral("pixel (%1,%2) differs").arg(x).arg(y)));
                if (built.pixel(x, y) != file.pixel(x, y))
                    QFAIL(qPrintable(QStringLiteral("built (%1,%2) differs").arg(x).arg(y)));
            }
    }

    void decoded_points_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<Colour>("colour");
        const struct {
            const char* name;
            int x, y;
            Colour c;
        } rows[] = {
            {"top left corner", 0, 0, Colour::Black},
            {"top right corner", 791, 0, Colour::Black},
            {"bottom left corner", 0, 581, Colour::Black},
            {"bottom right corner", 791, 581, Colour::Black},
            {"top row near right", 789, 0, Colour::Black},
            {"wall above pocket", 192, 88, Colour::Black},
            {"pocket arm", 193, 95, Colour::Yellow},
            {"pocket corner", 102, 92, Colour::Yellow},
            {"pocket arm end", 282, 106, Colour::Yellow},
            {"past pocket arm", 283, 92, Colour::Black},
            {"pocket leg end", 116, 165, Colour::Yellow},
            {"below pocket leg", 102, 166, Colour::Black},
            {"beside pocket leg", 117, 107, Colour::Black},
            {"outer corridor top left", 11, 13, Colour::Yellow},
            {"outer corridor top right", 777, 13, Colour::Yellow},
            {"left of outer corridor", 10, 13, Colour::Black},
            {"above outer corridor", 11, 12, Colour::Black},
            {"right of outer corridor", 778, 13, Colour::Black},
            {"bottom corridor", 777, 569, Colour::Yellow},
            {"row 570 left end", 11, 570, Colour::Yellow},
            {"row 570 before stroke", 46, 570, Colour::Yellow},
            {"row 570 stroke", 47, 570, Colour::White},
            {"row 570 after stroke", 48, 570, Colour::Yellow},
            {"row 570 right end", 777, 570, Colour::Yellow},
            {"stroke 437", 437, 572, Colour::White},
            {"beside stroke 437", 436, 572, Colour::Black},
            {"stroke 14 top", 14, 571, Colour::White},
            {"stroke 14 gap", 14, 575, Colour::Black},
            {"stroke 14 bottom", 14, 581, Colour::White},
            {"stroke 774 bottom", 774, 581, Colour::White},
            // Corners of corridors and ends of strokes, as the lists give them.
            {"145,27,19,12 top left", 145, 27, Colour::Yellow},
            {"145,27,19,12 bottom right", 163, 38, Colour::Yellow},
            {"732,53,17,21 top left", 732, 53, Colour::Yellow},
            {"732,53,17,21 bottom right", 748, 73, Colour::Yellow},
            {"132,120,50,17 top left", 132, 120, Colour::Yellow},
            {"132,120,50,17 bottom right", 181, 136, Colour::Yellow},
            {"521,151,98,15 top left", 521, 151, Colour::Yellow},
            {"521,151,98,15 bottom right", 618, 165, Colour::Yellow},
            {"132,196,50,18 top left", 132, 196, Colour::Yellow},
            {"132,196,50,18 bottom right", 181, 213, Colour::Yellow},
            {"633,220,19,211 top left", 633, 220, Colour::Yellow},
            {"633,220,19,211 bottom right", 651, 430, Colour::Yellow},
            {"668,252,47,23 top left", 668, 252, Colour::Yellow},
            {"668,252,47,23 bottom right", 714, 274, Colour::Yellow},
            {"102,287,15,176 top left", 102, 287, Colour::Yellow},
            {"102,287,15,176 bottom right", 116, 462, Colour::Yellow},
            {"196,366,392,18 top left", 196, 366, Colour::Yellow},
            {"196,366,392,18 bottom right", 587, 383, Colour::Yellow},
            {"577,463,107,15 top left", 577, 463, Colour::Yellow},
            {"577,463,107,15 bottom right", 683, 477, Colour::Yellow},
            {"11,570,36,1 top left", 11, 570, Colour::Yellow},
            {"11,570,36,1 bottom right", 46, 570, Colour::Yellow},
            {"740,570,38,1 top left", 740, 570, Colour::Yellow},
            {"740,570,38,1 bottom right", 777, 570, Colour::Yellow},
            {"stroke 29: 572-579 first", 29, 572, Colour::White},
            {"stroke 29: 572-579 last", 29, 579, Colour::White},
            {"stroke 107: 571-578 first", 107, 571, Colour::White},
            {"stroke 107: 571-578 last", 107, 578, Colour::White},
            {"stroke 336: 573-578 first", 336, 573, Colour::White},
            {"stroke 336: 573-578 last", 336, 578, Colour::White},
            {"stroke 712: 575-577 first", 712, 575, Colour::White},
            {"stroke 712: 575-577 last", 712, 577, Colour::White},
        };
        for (const auto& r : rows)
            QTest::newRow(r.name) << r.x << r.y << r.c;
    }
    void decoded_points() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(Colour, colour);
        QVERIFY(!decoded().empty());
        QCOMPARE(at(x, y), colour);
    }

    void row_order_data() {
        // Offsets worked out by hand: 54 + (581 - y) * 2376 + 3 * x.
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("blue");
        QTest::addColumn<int>("green");
        QTest::addColumn<int>("red");
        QTest::newRow("(0,581) black, stored first") << 54 << 0 << 0 << 0;
        QTest::newRow("(437,572) white") << 22'749 << 255 << 255 << 255;
        QTest::newRow("(437,9) black, mirror of the white") << 1'360'437 << 0 << 0 << 0;
        QTest::newRow("(47,570) white") << 26'331 << 255 << 255 << 255;
        QTest::newRow("(193,95) yellow") << 1'155'369 << 0 << 255 << 255;
        QTest::newRow("(11,13) yellow") << 1'349'655 << 0 << 255 << 255;
        QTest::newRow("(791,0) black, stored last") << 1'382'883 << 0 << 0 << 0;
    }
    void row_order() {
        QFETCH(int, offset);
        QFETCH(int, blue);
        QFETCH(int, green);
        QFETCH(int, red);
        const auto& bmp = maze_bmp();
        QVERIFY(std::size_t(offset) + 3 <= bmp.size());
        QCOMPARE(int(bmp[std::size_t(offset)]), blue);
        QCOMPARE(int(bmp[std::size_t(offset) + 1]), green);
        QCOMPARE(int(bmp[std::size_t(offset) + 2]), red);
    }

    void start_pocket_is_closed() {
        QVERIFY(!decoded().empty());
        int size = 0;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (!in_pocket(x, y))
                    continue;
                ++size;
                QCOMPARE(at(x, y), Colour::Yellow);
                for (const auto& [dx, dy] : kSteps) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || nx >= W || ny < 0 || ny >= H || in_pocket(nx, ny))
                        continue;
                    if (at(nx, ny) != Colour::Black)
                        QFAIL(
                            qPrintable(QStringLiteral("pocket leaks at (%1,%2)").arg(nx).arg(ny)));
                }
            }
        QCOMPARE(size, kPocketSize);
    }

    void corridors_form_one_system() {
        QVERIFY(!decoded().empty());
        // Flood the yellow pixels 4-connected from the outer corridor's top-left corner.
        std::vector<bool> seen(std::size_t(W) * H);
        std::vector<std::array<int, 2>> stack{{11, 13}};
        seen[std::size_t(13) * W + 11] = true;
        int reached = 0;
        while (!stack.empty()) {
            const auto [x, y] = stack.back();
            stack.pop_back();
            ++reached;
            QVERIFY(!in_pocket(x, y));
            for (const auto& [dx, dy] : kSteps) {
                const int nx = x + dx, ny = y + dy;
                if (nx < 0 || nx >= W || ny < 0 || ny >= H)
                    continue;
                const std::size_t i = std::size_t(ny) * W + nx;
                if (!seen[i] && at(nx, ny) == Colour::Yellow) {
                    seen[i] = true;
                    stack.push_back({nx, ny});
                }
            }
        }
        // Everything yellow outside the pocket, nothing more.
        QCOMPARE(reached, 231'118);
        QCOMPARE(reached + kPocketSize, 234'718);
    }

    void white_pixels_in_row_570() {
        QVERIFY(!decoded().empty());
        QList<int> columns;
        for (int x = 0; x < W; ++x)
            if (at(x, 570) == Colour::White)
                columns << x;
        QCOMPARE(columns, (QList<int>{47, 128, 129, 150, 151, 437, 461, 489, 739}));
    }

    void unbroken_strokes_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("first");
        QTest::newRow("128") << 128 << 570;
        QTest::newRow("437") << 437 << 570;
        QTest::newRow("461") << 461 << 570;
        QTest::newRow("233") << 233 << 571;
        QTest::newRow("271") << 271 << 571;
        QTest::newRow("490") << 490 << 571;
    }
    void unbroken_strokes() {
        QFETCH(int, x);
        QFETCH(int, first);
        QVERIFY(!decoded().empty());
        QVERIFY(at(x, first - 1) != Colour::White);
        for (int y = first; y < H; ++y)
            QVERIFY2(at(x, y) == Colour::White, qPrintable(QStringLiteral("row %1").arg(y)));
    }
};

QTEST_GUILESS_MAIN(TestMaze)
#include "test_maze.moc"
