// The wall probe around the square, and the distance readout with its win and too-far ends.

#include "game_fixture.h"

#include <QTest>

#include <array>

namespace {

using Gates = std::array<std::int32_t, 4>;   // pix_up, pix_down, pix_left, pix_right
constexpr platform::Colour kMark = 0x123456; // a colour the maze does not use
// Offsets of the up, down, left and right probe points from the square's Maze point (twips).
constexpr std::array<std::array<float, 2>, 4> kProbeOffset{
    {{0, -50}, {25, 110}, {-50, 25}, {100, 25}}};

Gates probe(GameFixture& game) {
    auto& f = game.form();
    game.run([&] { f.prov(); });
    return {f.pix_up, f.pix_down, f.pix_left, f.pix_right};
}

} // namespace

class TestProbeDistance : public QObject {
    Q_OBJECT

  private slots:
    void probe_at_places_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<Gates>("expected");
        using A = Gates;
        QTest::newRow("start: only down open") << 2880.f << 1320.f << A{0, 65535, 0, 0};
        QTest::newRow("pocket, far corner") << 4180.f << 2420.f << A{65535, 0, 65535, 0};
        QTest::newRow("white stroke below") << 6530.f << 8485.f << A{65535, 16777215, 65535, 65535};
        QTest::newRow("up off the area") << 2880.f << 40.f << A{-1, 0, 0, 0};
        QTest::newRow("left off the area") << 40.f << 1320.f << A{0, 0, -1, 0};
        QTest::newRow("right off the area") << 11735.f << 1320.f << A{0, 0, 0, -1};
        QTest::newRow("down off the area") << 2880.f << 8605.f << A{65535, -1, 0, 0};
        QTest::newRow("all off the area") << -1000.f << -1000.f << A{-1, -1, -1, -1};
    }

    // The probe stores the pixel query's answers unchanged, -1 beyond the drawing area.
    void probe_at_places() {
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(Gates, expected);
        GameFixture game;
        game.place_square(x, y);
        QCOMPARE(probe(game), expected);
        QVERIFY(!game.ended());
    }

    void probe_points_data() {
        QTest::addColumn<int>("direction"); // index into kProbeOffset
        QTest::addColumn<float>("inside");  // twips right of and below the marked pixel's corner
        const char* names[] = {"up", "down", "left", "right"};
        for (int d = 0; d < 4; ++d) {
            QTest::addRow("%s, pixel corner", names[d]) << d << 0.f;
            QTest::addRow("%s, last twip of pixel", names[d]) << d << 14.f;
        }
    }

    // Each probe point lies at its own whole-twip offset: the marked pixel is seen by exactly that
    // probe, from both its first and its last twip, so an offset one twip off either way shows.
    void probe_points() {
        QFETCH(int, direction);
        QFETCH(float, inside);
        GameFixture game;
        auto& f = game.form();
        const int px = 300, py = 200;
        f.Picture1.draw_circle(px * 15 + 7.5f, py * 15 + 7.5f, 1, kMark); // just this pixel
        const auto [ox, oy] = kProbeOffset[direction];
        game.place_square(px * 15 + inside - ox, py * 15 + inside - oy);
        const auto fields = probe(game);
        for (int d = 0; d < 4; ++d)
            QCOMPARE(fields[d] == kMark, d == direction);
    }

    void distance_data() {
        QTest::addColumn<float>("dx"); // square minus treasure, twips
        QTest::addColumn<float>("dy");
        QTest::addColumn<int>("dist_x");
        QTest::addColumn<QString>("readout"); // before a win overwrites it
        QTest::addColumn<bool>("won");
        QTest::addColumn<int>("status"); // -1 plays on, else the exit status
        QTest::newRow("200 across") << 200.f << 0.f << 200 << "200" << false << -1;
        QTest::newRow("200 slanted") << 120.f << 160.f << 120 << "200" << false << -1;
        QTest::newRow("199.4 wins") << 119.f << 160.f << 119 << "199" << true << -1;
        QTest::newRow("0 wins") << 0.f << 0.f << 0 << "0" << true << -1;
        QTest::newRow("14500 plays on") << 0.f << 14500.f << 0 << "14500" << false << -1;
        QTest::newRow("14501 ends") << 14501.f << 0.f << 14501 << "14501" << false << 0;
        QTest::newRow("0.5 to 0") << 0.5f << 1000.f << 0 << "1000" << false << -1;
        QTest::newRow("1.5 to 2") << 1.5f << 1000.f << 2 << "1000" << false << -1;
        QTest::newRow("2.5 to 2") << 2.5f << 1000.f << 2 << "1000" << false << -1;
        QTest::newRow("-2.5 to 2") << -2.5f << 1000.f << 2 << "1000" << false << -1;
        QTest::newRow("both negative") << -300.f << -400.f << 300 << "500" << false << -1;
        QTest::newRow("32767 is no overflow") << 32767.4f << 0.f << 32767 << "32767" << false << 0;
        QTest::newRow("32767.5 overflows") << 32767.5f << 0.f << 0 << "" << false << 1;
        QTest::newRow("-32768 at negation") << -32768.f << 0.f << 0 << "" << false << 1;
        QTest::newRow("-32767.5 at negation") << -32767.5f << 0.f << 0 << "" << false << 1;
        QTest::newRow("vertical overflow") << 0.f << -32768.4f << 0 << "" << false << 1;
    }

    // Text3 shows the integer distance of the rounded absolute differences and the bar 15000 minus
    // it; under 200 wins, over 14500 ends, and a difference rounding to +-32768 raises Overflow.
    void distance() {
        QFETCH(float, dx);
        QFETCH(float, dy);
        QFETCH(int, dist_x);
        QFETCH(QString, readout);
        QFETCH(bool, won);
        QFETCH(int, status);
        GameFixture game;
        auto& f = game.form();
        game.place_treasure_at_difference(dx, dy);
        game.run([&] { f.RastClad(); });
        QCOMPARE(game.end_status.value_or(-1), status);
        QCOMPARE(game.reported.has_value(), status == 1);
        if (status == 1) {
            QVERIFY(game.reported->contains(QStringLiteral("Overflow")));
            return;
        }
        QCOMPARE(int(f.dist_x), dist_x);
        QCOMPARE(f.Text3.text(), won ? QStringLiteral("0") : readout);
        QCOMPARE(f.ProgressBar1.value(), 15000.f - readout.toFloat());
        if (status < 0) { // the end closes every window
            QCOMPARE(f.visible(), !won);
            QCOMPARE(f.Timer1.enabled(), !won);
        }
    }

    // A win puts the one finish window up in the game window's place; its OK ends the program.
    void win_shows_finish_window_once() {
        GameFixture game;
        auto& f = game.form();
        game.place_treasure_at_difference(119, 160);
        game.run([&] { f.RastClad(); });
        auto& finish = platform::instance<game::Form2>();
        const auto windows = platform::Runtime::get().forms().size();
        QVERIFY(finish.visible());
        QVERIFY(!f.visible());
        QVERIFY(!f.Timer1.enabled());
        QCOMPARE(f.Text3.text(), QStringLiteral("0"));
        QCOMPARE(f.ProgressBar1.value(), 15000.f - 199);

        finish.set_visible(false);
        game.run([&] { f.RastClad(); });
        QCOMPARE(&platform::instance<game::Form2>(), &finish);
        QCOMPARE(platform::Runtime::get().forms().size(), windows);
        QVERIFY(finish.visible());
        QVERIFY(!game.ended());

        finish.Command1.click();
        QCOMPARE(game.end_status, std::optional<int>(0));
    }
};

QTEST_MAIN(TestProbeDistance)
#include "test_probe_distance.moc"
