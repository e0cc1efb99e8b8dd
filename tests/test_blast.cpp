// The wall blast: charges, the white disc it leaves on the maze, and the countdown that clears it.

#include "game_fixture.h"
#include "windows/maze_picture.h"

#include <QTest>

#include <cmath>
#include <tuple>

using platform::kRed;
using platform::kWhite;

namespace {

void blast(GameFixture& game) {
    game.run([&] { game.form().vzrvv(); });
}

void tick(game::form1& f, int times) {
    for (int i = 0; i < times; ++i)
        f.CLST.fire();
}

// The drawing area shows the maze picture and nothing else.
bool reads_as_maze(const platform::PictureBox& box) {
    const QImage& canvas = box.canvas();
    return canvas ==
           windows::maze_picture().copy(canvas.rect()).convertToFormat(QImage::Format_RGB32);
}

// Pixel corners that break the disc about (cx, cy): white within 390 twips, the maze beyond 430
// twips, and no red left anywhere.
int disc_faults(const platform::PictureBox& box, double cx, double cy) {
    const QImage& maze = windows::maze_picture();
    int faults = 0;
    for (int py = 0; py < box.drawing_size().height(); ++py) {
        for (int px = 0; px < box.drawing_size().width(); ++px) {
            const auto colour = box.pixel_at(px * 15.f, py * 15.f);
            const double d = std::hypot(px * 15 - cx, py * 15 - cy);
            faults += colour == kRed || (d <= 390 && colour != kWhite) ||
                      (d > 430 && colour != platform::colour_from_rgb(maze.pixel(px, py)));
        }
    }
    return faults;
}

auto countdown_state(const game::form1& f) {
    return std::tuple(f.cls_count, f.time_cls.caption(), f.time_cls.visible(), f.CLST.enabled());
}

void verify_armed(const game::form1& f) {
    QCOMPARE(f.cls_count, std::int16_t(5));
    QVERIFY(f.time_cls.visible());
    QVERIFY(f.CLST.enabled());
}

} // namespace

class TestBlast : public QObject {
    Q_OBJECT

  private slots:
    void charges_run_out_data() {
        QTest::addColumn<int>("ticks"); // CLST ticks after the third blast
        QTest::newRow("countdown running") << 2;
        QTest::newRow("countdown finished") << 5;
    }

    // A game has three blasts; then a blast only shows Label4, which stays, also once X refills.
    void charges_run_out() {
        QFETCH(int, ticks);
        GameFixture game;
        auto& f = game.form();
        for (int left = 2; left >= 0; --left) {
            blast(game);
            QCOMPARE(f.charges, std::int16_t(left));
            QVERIFY(!f.Label4.visible());
        }
        tick(f, ticks);
        game.place_square(6000, 4000); // a disc drawn here would show
        const QImage canvas = f.Picture1.canvas();
        const auto countdown = countdown_state(f);
        blast(game);
        QVERIFY(f.Label4.visible());
        QCOMPARE(f.charges, std::int16_t(0));
        QVERIFY(f.Picture1.canvas() == canvas);
        QVERIFY(countdown_state(f) == countdown);

        f.Picture1.key_down(88);
        QCOMPARE(f.charges, std::int16_t(1000));
        blast(game);
        QCOMPARE(f.charges, std::int16_t(999));
        QVERIFY(f.Label4.visible());
    }

    void countdown_data() {
        QTest::addColumn<int>("before");    // CLST ticks before the first blast
        QTest::addColumn<int>("between");   // ticks before a second blast elsewhere; -1: none
        QTest::addColumn<QString>("shown"); // time_cls after the last blast, until the next tick
        QTest::newRow("first blast before any tick") << 0 << -1 << "";
        QTest::newRow("first blast after 1 tick") << 1 << -1 << "-1";
        QTest::newRow("first blast after 12 ticks") << 12 << -1 << "-12";
        QTest::newRow("second blast while 4 shows") << 0 << 1 << "4";
        QTest::newRow("second blast while 2 shows") << 0 << 3 << "2";
        QTest::newRow("blast after a finished countdown") << 3 << 5 << "0";
    }

    // Every blast restarts the count at 5 and leaves the old digits until the next tick; the fifth
    // tick after the last blast clears every disc at once and the maze reads as before.
    void countdown() {
        QFETCH(int, before);
        QFETCH(int, between);
        QFETCH(QString, shown);
        GameFixture game;
        auto& f = game.form();
        // Two Maze points of the square, neither white in the maze.
        const QPointF first(2880, 1320), second(6000, 4000);
        tick(f, before);
        QVERIFY(!f.time_cls.visible());
        blast(game);
        verify_armed(f);
        if (between >= 0) {
            tick(f, between);
            game.place_square(second.x(), second.y());
            blast(game);
            verify_armed(f);
        }
        QCOMPARE(f.time_cls.caption(), shown);
        tick(f, 4);
        QCOMPARE(f.time_cls.caption(), QStringLiteral("1"));
        QVERIFY(f.time_cls.visible());
        QCOMPARE(f.Picture1.pixel_at(first.x(), first.y()) == kWhite, between < 5);
        QCOMPARE(f.Picture1.pixel_at(second.x(), second.y()) == kWhite, between >= 0);
        tick(f, 1);
        QCOMPARE(f.time_cls.caption(), QStringLiteral("0"));
        QVERIFY(!f.time_cls.visible());
        QVERIFY(!f.CLST.enabled());
        QVERIFY(reads_as_maze(f.Picture1));
    }

    void disc_data() {
        QTest::addColumn<float>("x"); // the square's Maze point, twips
        QTest::addColumn<float>("y");
        QTest::newRow("start") << 2880.f << 1320.f;
        QTest::newRow("off the pixel grid") << 2893.f << 1337.f;
        QTest::newRow("cut by the top-left edge") << 100.f << 50.f;
        QTest::newRow("cut by the bottom-right edge") << 11800.f << 8700.f;
    }

    // The disc is white to radius 400 over wall and corridor, red nowhere, and stays where it is in
    // the maze when the maze box moves.
    void disc() {
        QFETCH(float, x);
        QFETCH(float, y);
        GameFixture game;
        auto& f = game.form();
        game.place_square(x, y);
        blast(game);
        QCOMPARE(disc_faults(f.Picture1, x, y), 0);
        game.place_square(x + 700, y - 450);
        QCOMPARE(disc_faults(f.Picture1, x, y), 0);
    }

    // The start pocket is closed upwards; after Ctrl the up probe reads the disc and the step goes.
    void blast_opens_way_up() {
        GameFixture game;
        auto& f = game.form();
        game.place_treasure_at_difference(5000, 0); // neither a win nor too far after one step
        const float top = f.Picture1.top();
        f.Picture1.key_down(38);
        QCOMPARE(f.pix_up, 0);
        QCOMPARE(f.Picture1.top(), top);
        f.Picture1.key_down(17);
        f.Picture1.key_down(38);
        QCOMPARE(f.pix_up, kWhite);
        QCOMPARE(f.Picture1.top(), top + 50);
        QVERIFY(!game.ended());
    }

    // The blast button and the Ctrl key make the same blast.
    void button_blasts_like_ctrl() {
        QImage by_key;
        {
            GameFixture game;
            game.form().Picture1.key_down(17);
            by_key = game.form().Picture1.canvas();
        }
        GameFixture game;
        auto& f = game.form();
        f.Command3.click();
        QCOMPARE(f.charges, std::int16_t(2));
        verify_armed(f);
        QVERIFY(!reads_as_maze(f.Picture1));
        QVERIFY(f.Picture1.canvas() == by_key);
    }
};

QTEST_MAIN(TestBlast)
#include "test_blast.moc"
