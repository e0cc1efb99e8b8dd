// The keyboard: the probe before every key, the steps and where walls stop them, the treasure
// riding with the maze, the way off the maze, key events through Qt, and the focus keeper.

#include "game_fixture.h"
#include "platform/keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QSet>
#include <QTest>

#include <tuple>

namespace {

// A fresh game whose treasure hides at Maze point (6000, 12000), off the maze and 200 to 14500
// twips from every Maze point of the drawing area: no walk on the maze wins or ends the game.
struct Game : GameFixture {
    game::form1& f = form();
    Game() { hide_treasure(6000, 12000); }
    void hide_treasure(float x, float y) {
        f.cladd.set_left(f.Picture1.left() + x);
        f.cladd.set_top(f.Picture1.top() + y);
    }
    QPoint at() const { // the square's Maze point, twips
        return {int(f.Picture2.left() - f.Picture1.left()),
                int(f.Picture2.top() - f.Picture1.top())};
    }
    QPointF treasure() const {
        return {f.cladd.left() - f.Picture1.left(), f.cladd.top() - f.Picture1.top()};
    }
    QList<int> gates() const { return {f.pix_up, f.pix_down, f.pix_left, f.pix_right}; }
    void send(int key, Qt::KeyboardModifiers mods = {}, bool repeat = false) {
        QKeyEvent event(QEvent::KeyPress, key, mods, QString(), repeat);
        QApplication::sendEvent(f.Picture1.widget(), &event);
    }
    // Everything a key may change but the gates, as text for readable failures.
    QStringList state() const {
        const auto n = [](auto... v) { return QStringList{QString::number(v)...}; };
        return n(at().x(), at().y(), treasure().x(), treasure().y(), f.Picture2.left(),
                 f.Picture2.top(), f.ProgressBar1.value(), f.charges, f.cls_count, f.dist_x,
                 f.dist_y, f.dist_sq, f.sec_count, f.min_count, f.Label4.visible(),
                 f.time_cls.visible(), f.CLST.enabled(), f.Timer1.enabled(), f.visible(),
                 f.Picture1.pixel_at(float(at().x()), float(at().y()))) +
               QStringList{f.Text3.text(), f.time_cls.caption()};
    }
};

const QList<int> kStartGates{0, 65535, 0, 0}; // up, down, left, right at the start

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT

  private slots:
    void steps_alone_stay_in_start_pocket() {
        // Steps alone never leave the closed start pocket: 339 square positions in all.
        Game g;
        QSet<QPoint> seen{g.at()};
        for (QList<QPoint> queue{g.at()}; !queue.empty();) {
            const QPoint p = queue.takeFirst();
            for (int key = 37; key <= 40; ++key) {
                g.place_square(float(p.x()), float(p.y()));
                g.f.Picture1.key_down(key);
                if (!seen.contains(g.at()))
                    queue << *seen.insert(g.at());
            }
        }
        QCOMPARE(seen.size(), 339);
        for (const QPoint p : seen)
            QVERIFY2(QRect(QPoint(1530, 1320), QPoint(4180, 2420)).contains(p),
                     qPrintable(QString("left the pocket at %1, %2").arg(p.x()).arg(p.y())));
        QVERIFY(!g.ended() && g.f.visible());
    }

    void walk_stops_at_wall_data() {
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<int>("key");
        // Pixel of the wall's edge on the probe's line: for Up/Left the first corridor row or
        // column past the wall, for Down/Right the wall's first black row or column.
        QTest::addColumn<int>("edge");
        QTest::newRow("pocket up") << QPoint(2880, 1500) << 38 << 92;
        QTest::newRow("pocket left") << QPoint(2880, 1500) << 37 << 102;
        QTest::newRow("pocket right") << QPoint(2880, 1500) << 39 << 283;
        QTest::newRow("pocket column down") << QPoint(1530, 1500) << 40 << 166;
        QTest::newRow("top ring up") << QPoint(3000, 300) << 38 << 13;
        QTest::newRow("top ring left") << QPoint(3000, 300) << 37 << 11;
        QTest::newRow("top ring right") << QPoint(3000, 300) << 39 << 778;
        QTest::newRow("left ring down") << QPoint(300, 300) << 40 << 571;
    }
    void walk_stops_at_wall() {
        // Up/Left stop under 50 twips past a wall's edge, Down 60..110 and Right 50..100 before it.
        QFETCH(QPoint, from);
        QFETCH(int, key);
        QFETCH(int, edge);
        Game g;
        g.place_square(float(from.x()), float(from.y()));
        QPoint stop = g.at();
        for (int i = 0; i < 400; ++i) {
            g.f.Picture1.key_down(key);
            if (g.at() == stop)
                break;
            stop = g.at();
        }
        QVERIFY(stop != from && !g.ended());
        const int along = (key == 37 || key == 39) ? stop.x() : stop.y();
        const int gap = (key == 37 || key == 38) ? along - edge * 15 : edge * 15 - along;
        const QPoint range = key == 40   ? QPoint(60, 110)
                             : key == 39 ? QPoint(50, 100)
                                         : QPoint(-1, 49);
        QVERIFY2(gap > range.x() && gap <= range.y(), qPrintable(QString("gap %1").arg(gap)));
    }

    void key_probes_then_acts_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("moved_down"); // twips
        QTest::addColumn<int>("charges");
        for (int key : {65, 16, 48, 112, 37, 38, 39}) // closed arrows and keys without an action
            QTest::addRow("key %d", key) << key << 0 << 3;
        QTest::newRow("Down open") << 40 << 50 << 3;
        QTest::newRow("Ctrl") << 17 << 0 << 2;
        QTest::newRow("X") << 88 << 0 << 1000;
        QTest::newRow("Esc") << 27 << 0 << 3;
    }
    void key_probes_then_acts() {
        // Every key probes first, at the position before its action; only a step refreshes Text3.
        QFETCH(int, key);
        QFETCH(int, moved_down);
        QFETCH(int, charges);
        Game g;
        g.f.pix_up = g.f.pix_down = g.f.pix_left = g.f.pix_right = 7;
        const QStringList before = g.state();
        const QPoint start = g.at();
        g.f.Picture1.key_down(key);
        QCOMPARE(g.gates(), kStartGates);
        QCOMPARE(g.at(), start + QPoint(0, moved_down));
        QCOMPARE(g.f.Text3.text().isEmpty(), moved_down == 0);
        QCOMPARE(int(g.f.charges), charges);
        QCOMPARE(g.end_status, key == 27 ? std::optional<int>(0) : std::nullopt);
        if (key != 27 && moved_down == 0 && charges == 3)
            QCOMPARE(g.state(), before);
    }

    void treasure_rides_with_maze() {
        // Steps, blasts and clearings keep the treasure's Maze point; the square never moves.
        Game g;
        g.f.Picture1.key_down(88);
        const QPointF treasure = g.treasure();
        QSet<QPoint> visited;
        quint32 lcg = 12345;
        for (int i = 0; i < 3000 && !g.ended(); ++i) {
            lcg = lcg * 1103515245u + 12345u;
            const int pick = int((lcg >> 16) % 23); // 20 steps, 1 blast, 1 clearing, 1 no-op
            if (pick == 21)
                g.f.CLST.fire();
            else
                g.f.Picture1.key_down(pick == 20 ? 17 : pick == 22 ? 65 : 37 + pick % 4);
            visited << g.at();
            QCOMPARE(g.treasure(), treasure);
            QCOMPARE(QPointF(g.f.Picture2.left(), g.f.Picture2.top()), QPointF(1680, 1440));
        }
        QVERIFY2(visited.size() > 339, "the walk never left the start pocket");
    }

    void stroke_leads_off_maze() {
        // Down the white stroke of pixel column 437 the square leaves the maze, then walks too far.
        Game g;
        g.hide_treasure(437 * 15 - 25, 0);
        g.place_square(437 * 15 - 25, 557 * 15);
        QSet<int> down_gates;
        for (int y = g.at().y(); y < 582 * 15 + 50; y += 50) {
            g.f.Picture1.key_down(40);
            down_gates << g.f.pix_down;
            QCOMPARE(g.at().y(), y + 50);
        }
        QCOMPARE(down_gates, (QSet<int>{-1, 65535, 16777215}));
        g.f.Picture1.key_down(65);
        QCOMPARE(g.gates(), QList<int>(4, -1));
        QString last;
        for (int i = 0; i < 200 && !g.ended(); ++i) {
            last = g.f.Text3.text();
            g.f.Picture1.key_down(40);
        }
        QCOMPARE(g.end_status, std::optional<int>(0));
        QVERIFY(last.toInt() <= 14500 && g.f.Text3.text().toInt() > 14500);
    }

    void qt_key_events_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<bool>("repeat");
        QTest::addColumn<QPoint>("moved");
        QTest::addColumn<int>("charges");
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
        QTest::newRow("Down") << int(Qt::Key_Down) << 0 << false << QPoint(0, 50) << 3;
        QTest::newRow("Up repeated") << int(Qt::Key_Up) << 0 << true << QPoint(0, -50) << 3;
        QTest::newRow("Shift+Up") << int(Qt::Key_Up) << shift << false << QPoint(0, -50) << 3;
        QTest::newRow("Ctrl+Right") << int(Qt::Key_Right) << ctrl << false << QPoint(50, 0) << 3;
        QTest::newRow("Left closed") << int(Qt::Key_Left) << 0 << false << QPoint() << 3;
        QTest::newRow("Ctrl") << int(Qt::Key_Control) << ctrl << false << QPoint() << 2;
        QTest::newRow("Shift+X held") << int(Qt::Key_X) << shift << true << QPoint() << 1000;
        QTest::newRow("A") << int(Qt::Key_A) << 0 << false << QPoint() << 3;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << false << QPoint() << 3;
    }
    void qt_key_events() {
        // Qt key presses on the maze act as their virtual-key codes say; modifiers change nothing.
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(bool, repeat);
        QFETCH(QPoint, moved);
        QFETCH(int, charges);
        Game g;
        g.place_square(1560, 1500); // in the pocket's column: all open but Left
        g.send(key, Qt::KeyboardModifiers(mods), repeat);
        QCOMPARE(g.at(), QPoint(1560, 1500) + moved);
        QCOMPARE(int(g.f.charges), charges);
        QCOMPARE(g.ended(), key == Qt::Key_Escape);
        QCOMPARE(g.f.pix_right, 65535); // probed, whatever the key
    }

    void held_ctrl_blasts_while_charges_last() {
        // A held Ctrl blasts once per repeat while charges last, then only shows the notice.
        Game g;
        for (int i = 0; i < 5; ++i) {
            g.f.cls_count = 0;
            g.send(Qt::Key_Control, Qt::ControlModifier, i > 0);
            QCOMPARE(int(g.f.charges), std::max(2 - i, 0));
            QCOMPARE(int(g.f.cls_count), i < 3 ? 5 : 0);
            QCOMPARE(g.f.Label4.visible(), i >= 3);
        }
    }

    void key_code_follows_layout_data() {
        QTest::addColumn<quint32>("keycode"); // X keycode, the key's place on the keyboard
        QTest::addColumn<int>("key");         // the Qt key the layout gives that place
        QTest::addColumn<bool>("x_keycodes");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("charges");
        constexpr int che = 0x0427, yu = 0x042E; // Qt names a Cyrillic key by its letter
        // clang-format off
        const std::tuple<const char*, quint32, int, bool, int, int> rows[] = {
            {"US X", 53, Qt::Key_X, true, 88, 1000},
            {"US B", 56, Qt::Key_B, true, 66, 3},
            {"Dvorak X at B's place", 56, Qt::Key_X, true, 88, 1000},
            {"Dvorak Q at X's place", 53, Qt::Key_Q, true, 81, 3},
            {"Dvorak ' at Q's place", 24, Qt::Key_Apostrophe, true, 81, 3},
            {"AZERTY A at Q's place", 24, Qt::Key_A, true, 65, 3},
            {"AZERTY & at 1's place", 10, Qt::Key_Ampersand, true, 49, 3},
            {"Russian Ch at X's place", 53, che, true, 88, 1000},
            {"Russian Yu at full stop's place", 60, yu, true, 0, 3},
            {"US 0", 19, Qt::Key_0, true, 48, 3},
            {"US /", 61, Qt::Key_Slash, true, 0, 3},
            {"left Ctrl, next to the letters", 37, Qt::Key_Control, true, 17, 2},
            {"left Shift, next to the letters", 50, Qt::Key_Shift, true, 16, 3},
            {"Enter", 36, Qt::Key_Return, true, 13, 3},  {"Esc", 9, Qt::Key_Escape, true, 27, 3},
            {"Left", 113, Qt::Key_Left, true, 37, 3},    {"Up", 111, Qt::Key_Up, true, 38, 3},
            {"Right", 114, Qt::Key_Right, true, 39, 3},  {"Down", 116, Qt::Key_Down, true, 40, 3},
            {"no code", 123, Qt::Key_VolumeUp, true, 0, 3},
            {"X, no scan code", 0, Qt::Key_X, true, 88, 1000},
            {"Russian Ch, no X keycodes", 53, che, false, 0, 3},
            {"Dvorak Q, no X keycodes", 53, Qt::Key_Q, false, 81, 3},
            {"A, no X keycodes", 38, Qt::Key_A, false, 65, 3},
            {"9, no X keycodes", 18, Qt::Key_9, false, 57, 3},
            {"Z, no scan code", 0, Qt::Key_Z, false, 90, 3},
        };
        // clang-format on
        for (const auto& [name, keycode, key, x_keycodes, code, charges] : rows)
            QTest::newRow(name) << keycode << key << x_keycodes << code << charges;
    }
    void key_code_follows_layout() {
        // With X keycodes a digit goes by its place, a letter by the layout's Latin letter, else
        // by the US letter at its place; other keys, and every key elsewhere, by their Qt key.
        QFETCH(quint32, keycode);
        QFETCH(int, key);
        QFETCH(bool, x_keycodes);
        QFETCH(int, code);
        QFETCH(int, charges);
        const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, keycode, 0, 0);
        QCOMPARE(platform::virtual_key_code(event, x_keycodes), code);
        Game g;
        g.f.Picture1.key_down(platform::virtual_key_code(event, x_keycodes));
        QCOMPARE(int(g.f.charges), charges);
    }

    void win_inside_step_stops_keys() {
        // A winning step hides the game window before it returns; no later key reaches the game.
        Game g;
        g.place_treasure_at_difference(0, -200); // one step down leaves 150 twips
        bool hidden_in_step = false;
        g.run([&] {
            std::int16_t key = 40, shift = 0;
            g.f.Picture1_KeyDown(key, shift);
            hidden_in_step = !g.f.visible() && platform::instance<game::Form2>().visible();
        });
        QVERIFY(hidden_in_step && !g.f.Timer1.enabled());
        QCOMPARE(g.f.Text3.text(), QString("0"));
        const QStringList after_win = g.state();
        const QList<int> gates_at_win = g.gates();
        for (int key : {38, 40, 17, 88, 27}) {
            g.f.Picture1.key_down(key);
            g.send(Qt::Key_Left);
        }
        QCOMPARE(g.state(), after_win);
        QCOMPARE(g.gates(), gates_at_win);
        QVERIFY(!g.ended());
    }

    void focus_keeper_takes_focus_back() {
        // Each tick of Timer1 gives the maze the keyboard focus back.
        Game g;
        g.f.Text3.widget()->setFocus();
        QVERIFY(!g.f.Picture1.has_focus());
        g.f.Timer1.fire();
        QVERIFY(g.f.Picture1.has_focus());
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
