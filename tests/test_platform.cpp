// The forms run time under the game window: the pixel query and drawings over the maze, twips
// positions, stacking and tab order, the one dispatch, timers, global instances, keys, frames,
// and the display Qt will open.

#include "game_fixture.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "windows/maze_picture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>

#include <cmath>
#include <map>

using namespace platform;

namespace {

// The first pixel of Picture1's drawing area (789 x 581) that fails `ok`, queried at its
// top-left Maze point and named for the failure message; empty when every pixel passes.
template <class Ok> QString first_wrong(const PictureBox& box, Ok ok) {
    for (int py = 0; py < 581; ++py)
        for (int px = 0; px < 789; ++px)
            if (const Colour got = box.pixel_at(px * 15.0f, py * 15.0f); !ok(px, py, got))
                return QStringLiteral("pixel (%1, %2) reads %3").arg(px).arg(py).arg(got);
    return {};
}

const auto shows_maze = [](int px, int py, Colour got) {
    return got == colour_from_rgb(windows::maze_picture().pixel(px, py));
};

struct CountedHelp : game::form2_help {
    static inline int loads = 0;
    void Form_Load() override { ++loads; }
};

} // namespace

class TestPlatform : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { Runtime::get().set_manual_timers(true); }

    void pixel_query_cuts_twips_down_to_pixels_data() {
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<int>("colour");
        // clang-format off
        QTest::newRow("start, in the wall")     << 2880.f       << 1320.f       << 0;
        QTest::newRow("start pocket")           << 2905.f       << 1430.f       << 65535;
        QTest::newRow("white stroke")           << 437 * 15.f   << 572 * 15.f   << 16777215;
        QTest::newRow("frame corner")           << 0.f          << 0.f          << 0;
        QTest::newRow("last pixel of the area") << 11834.99f    << 8714.99f     << 0;
        QTest::newRow("right of the area")      << 789 * 15.f   << 0.f          << -1;
        QTest::newRow("below the area")         << 0.f          << 581 * 15.f   << -1;
        QTest::newRow("just left of 0")         << -0.001f      << 300.f        << -1;
        QTest::newRow("above 0")                << 300.f        << -7.5f        << -1;
        // In row 13 columns 10 and 778 are wall, 11 and 777 corridor.
        QTest::newRow("2/3 into column 10")     << 160.f        << 200.f        << 0;
        QTest::newRow("1/3 into column 11")     << 170.f        << 200.f        << 65535;
        QTest::newRow("2/3 into column 777")    << 11665.f      << 200.f        << 65535;
        QTest::newRow("1/3 into column 778")    << 11675.f      << 200.f        << 0;
        QTest::newRow("2/3 into row 12")        << 200.f        << 190.f        << 0;
        // clang-format on
    }
    void pixel_query_cuts_twips_down_to_pixels() {
        // A Maze point reads the pixel it lies in (floor of twips / 15); off the area it is -1.
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(int, colour);
        GameFixture game;
        QCOMPARE(game.form().Picture1.pixel_at(x, y), colour);
    }

    void white_rings_leave_a_solid_disc_and_clearing_restores_the_maze_data() {
        QTest::addColumn<float>("cx");
        QTest::addColumn<float>("cy");
        QTest::newRow("square's start point") << 2880.f << 1320.f;
        QTest::newRow("fractional centre") << 2905.5f << 1437.25f;
        QTest::newRow("over the left edge") << -100.f << 4000.f;
        QTest::newRow("bottom-right corner") << 11830.f << 8710.f;
        QTest::newRow("top edge") << 5000.f << 10.f;
    }
    void white_rings_leave_a_solid_disc_and_clearing_restores_the_maze() {
        // Red rings 1..400 then white 400..1 leave a white disc with no red left and change
        // nothing far from it; clearing the drawings gives back the picture exactly.
        QFETCH(float, cx);
        QFETCH(float, cy);
        GameFixture game;
        PictureBox& box = game.form().Picture1;
        for (int r = 1; r <= 400; ++r)
            box.draw_circle(cx, cy, float(r), kRed);
        for (int r = 400; r >= 1; --r)
            box.draw_circle(cx, cy, float(r), kWhite);
        const auto disc = [&](int px, int py, Colour got) {
            double nearest = 1e9; // twips from the centre to the pixel's nearest corner or centre
            for (double ox : {0.0, 7.5, 15.0})
                for (double oy : {0.0, 7.5, 15.0})
                    nearest = std::min(nearest, std::hypot(px * 15 + ox - cx, py * 15 + oy - cy));
            if (nearest <= 390)
                return got == kWhite;
            return got != kRed && (nearest <= 430 || shows_maze(px, py, got));
        };
        QCOMPARE(first_wrong(box, disc), QString());
        box.clear_drawings();
        QCOMPARE(first_wrong(box, shows_maze), QString());
    }

    void drawings_move_with_the_box() {
        // A drawing stays at its Maze point when the box moves; the widget moves by whole pixels.
        GameFixture game;
        PictureBox& box = game.form().Picture1;
        for (int r = 1; r <= 60; ++r)
            box.draw_circle(2880, 1320, float(r), kWhite);
        box.set_left(-1150);
        box.set_top(70);
        QCOMPARE(box.pixel_at(2880, 1320), kWhite);
        QCOMPARE(box.pixel_at(2880, 1320 - 90), 0);
        QCOMPARE(box.widget()->pos(), QPoint(-77, 4));
    }

    void positions_keep_fractions_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("is_top");
        QTest::addColumn<float>("twips");
        // clang-format off
        QTest::newRow("Picture1 top") << QByteArray("Picture1") << true << 4999.99951171875f;
        // The single-precision sum of these and the height (width) rounds up to 8235.
        QTest::newRow("Picture2 top") << QByteArray("Picture2") << true << 8099.99951171875f;
        QTest::newRow("Picture2 left") << QByteArray("Picture2") << false << 8099.99951171875f;
        QTest::newRow("cladd left below 0") << QByteArray("cladd") << false << -0.5f;
        // clang-format on
    }
    void positions_keep_fractions() {
        // A put keeps the twips exactly; the widget stands at floor(twips / 15) and keeps its size.
        QFETCH(QByteArray, name);
        QFETCH(bool, is_top);
        QFETCH(float, twips);
        GameFixture game;
        Control* control = game.form().find_control(name.constData());
        QRect expected = control->widget()->geometry();
        const int pixel = int(std::floor(double(twips) / 15));
        is_top ? control->set_top(twips) : control->set_left(twips);
        is_top ? expected.moveTop(pixel) : expected.moveLeft(pixel);
        QCOMPARE(double(is_top ? control->top() : control->left()), double(twips)); // exactly
        QCOMPARE(control->widget()->geometry(), expected);
    }

    void screen_follows_moves_data() {
        QTest::addColumn<QList<QPointF>>("places"); // the square's Maze points in turn, twips
        QTest::newRow("maze down, the strip above it bared") << QList<QPointF>{{2880, 1270}};
        QTest::newRow("maze up") << QList<QPointF>{{2880, 1370}};
        QTest::newRow("maze right") << QList<QPointF>{{2830, 1320}};
        QTest::newRow("maze left") << QList<QPointF>{{2930, 1320}};
        QTest::newRow("two moves, no paint between") << QList<QPointF>{{2000, 600}, {5000, 4000}};
    }
    void screen_follows_moves() {
        // After the maze moves under the status panel and the square, the screen shows the
        // window as it now is, the strip the maze bares and the controls in front included.
        QFETCH(QList<QPointF>, places);
        GameFixture game;
        QApplication::processEvents();
        for (const QPointF& place : places)
            game.place_square(float(place.x()), float(place.y()));
        QApplication::processEvents();
        QWidget* window = game.form().widget();
        const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
        QCOMPARE(screen.convertToFormat(QImage::Format_RGB32),
                 window->grab().toImage().convertToFormat(QImage::Format_RGB32));
    }

    void bar_fill_follows_value_data() {
        QTest::addColumn<float>("value");
        QTest::addColumn<int>("fill"); // pixels of the 183 inside the bar's edge
        QTest::newRow("empty") << 0.f << 0;
        QTest::newRow("a pixel's worth") << 82.f << 1;
        QTest::newRow("half, rounded") << 7500.f << 92;
        QTest::newRow("full") << 15000.f << 183;
        QTest::newRow("below the range") << -500.f << 0;
        QTest::newRow("above the range") << 20000.f << 183;
    }
    void bar_fill_follows_value() {
        // On the screen the bar's fill grows from the left in proportion to the value within
        // 0..15000 and stops at the range's ends; the control keeps the value as written.
        QFETCH(float, value);
        QFETCH(int, fill);
        GameFixture game;
        ProgressBar& bar = game.form().ProgressBar1;
        bar.set_value(7500); // shown first, so the repaint of the change is what is seen
        QApplication::processEvents();
        bar.set_value(value);
        QApplication::processEvents();
        QCOMPARE(bar.value(), value);
        QWidget* window = game.form().widget();
        const QRect at(bar.widget()->mapTo(window, QPoint(0, 0)), bar.widget()->size());
        const QImage seen =
            window->screen()
                ->grabWindow(window->winId(), at.x(), at.y(), at.width(), at.height())
                .toImage();
        const QColor highlight = bar.widget()->palette().color(QPalette::Highlight);
        int filled = 0;
        for (int x = 0; x < seen.width(); ++x)
            filled += seen.pixelColor(x, seen.height() / 2) == highlight;
        QCOMPARE(filled, fill);
    }

    void earlier_control_stands_in_front_data() {
        QTest::addColumn<QByteArray>("front");
        QTest::addColumn<QByteArray>("back");
        for (auto [front, back] : {std::pair{"Picture2", "Picture1"},
                                   {"Frame1", "Picture1"},
                                   {"cladd", "Picture2"},
                                   {"Label4", "Label5"},
                                   {"Label3", "Label2"},
                                   {"Label2", "Label1"},
                                   {"Command3", "time_cls"}})
            QTest::addRow("%s over %s", front, back) << QByteArray(front) << QByteArray(back);
    }
    void earlier_control_stands_in_front() {
        // Among siblings, a control earlier in the definition is stacked above the later ones.
        QFETCH(QByteArray, front);
        QFETCH(QByteArray, back);
        GameFixture game;
        QWidget* over = game.form().find_control(front.constData())->widget();
        QWidget* under = game.form().find_control(back.constData())->widget();
        QCOMPARE(over->parentWidget(), under->parentWidget());
        const QObjectList& siblings = over->parentWidget()->children(); // the last one on top
        QVERIFY(siblings.indexOf(over) > siblings.indexOf(under));
    }

    void tab_order_follows_tab_index() {
        // Tab walks the controls that take the focus by tab index, Picture1 (0) first.
        GameFixture game;
        QStringList order;
        QWidget* w = game.form().Picture1.widget();
        do {
            for (Control* control : game.form().controls())
                if (control->widget() == w && (w->focusPolicy() & Qt::TabFocus))
                    order << control->name();
            w = w->nextInFocusChain();
        } while (w != game.form().Picture1.widget());
        QCOMPARE(order, QStringList({"Picture1", "Command3", "Picture2", "Text3", "cladd"}));
    }

    void end_and_errors_stop_the_handler_and_all_later_events_data() {
        QTest::addColumn<int>("source"); // click, tick, key, menu
        QTest::addColumn<int>("error");  // 0: the end statement
        QTest::addColumn<QStringList>("reports");
        // clang-format off
        QTest::newRow("click, end") << 0 << 0 << QStringList{"end 0"};
        QTest::newRow("tick, overflow") << 1 << 6 << QStringList{"Run-time error '6':\n\nOverflow", "end 1"};
        QTest::newRow("key, floating point") << 2 << 16 << QStringList{"Run-time error '16':\n\nFloating-point error", "end 1"};
        QTest::newRow("menu, type mismatch") << 3 << 13 << QStringList{"Run-time error '13':\n\nType mismatch", "end 1"};
        // clang-format on
    }
    void end_and_errors_stop_the_handler_and_all_later_events() {
        // Nothing after the end or an error runs; an error is reported before the end (status 1);
        // after the end the windows are gone and every event is dropped.
        QFETCH(int, source);
        QFETCH(int, error);
        QFETCH(QStringList, reports);
        GameFixture game;
        auto& f = game.form();
        QStringList seen;
        Runtime::get().set_error_hook([&](const RuntimeError& e) { seen << e.message(); });
        Runtime::get().set_end_hook(
            [&](int status) { seen << QStringLiteral("end %1").arg(status); });
        int entered = 0;
        bool after = false;
        const std::function<void()> handler = [&] {
            ++entered;
            if (error)
                raise_error(ErrorNumber(error));
            end_program();
            after = true;
        };
        f.Command3.on_click = f.Clok.on_timer = f.en.on_click = handler;
        f.Picture1.on_key_down = [&](std::int16_t&, std::int16_t&) { handler(); };
        const std::function<void()> events[] = {[&] { f.Command3.click(); }, [&] { f.Clok.fire(); },
                                                [&] { f.Picture1.key_down(38); },
                                                [&] { f.en.click(); }};
        events[source]();
        QVERIFY(!after);
        QCOMPARE(seen, reports);
        QVERIFY(!f.widget()->isVisible());
        for (const auto& event : events)
            event();
        QCOMPARE(entered, 1);
    }

    void stopped_timer_does_not_fire() {
        // fire() is a tick only while the timer is enabled.
        GameFixture game;
        Timer& clok = game.form().Clok;
        int ticks = 0;
        clok.on_timer = [&] { ++ticks; };
        clok.set_enabled(false);
        clok.fire();
        QCOMPARE(ticks, 0);
        clok.set_enabled(true);
        clok.fire();
        QCOMPARE(ticks, 1);
    }

    void global_instance_is_made_once() {
        // The first use makes the window hidden and loads it; later uses get the same window.
        GameFixture game;
        CountedHelp::loads = 0;
        CountedHelp* first = &instance<CountedHelp>();
        QCOMPARE(&instance<CountedHelp>(), first);
        QCOMPARE(CountedHelp::loads, 1);
        QVERIFY(!first->visible() && !first->widget()->isVisible());
        QCOMPARE(&instance<game::form1>(), &game.form());
    }

    void xcb_display_follows_qt_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("env"); // NAME=value
        QTest::addColumn<QString>("display"); // "-": not on xcb alone, Qt's own checks
        const QStringList d5{"DISPLAY=:5"};
        QTest::newRow("DISPLAY") << QStringList{} << d5 << ":5";
        QTest::newRow("none") << QStringList{} << QStringList{} << "";
        QTest::newRow("empty DISPLAY") << QStringList{} << QStringList{"DISPLAY="} << "";
        QTest::newRow("-display over DISPLAY") << QStringList{"-display", ":7"} << d5 << ":7";
        QTest::newRow("last --display")
            << QStringList{"--display", ":7", "-display", ":8"} << QStringList{} << ":8";
        QTest::newRow("-display empty") << QStringList{"-display", ""} << d5 << ":5";
        QTest::newRow("-display, no name") << QStringList{"-display"} << d5 << ":5";
        QTest::newRow("-platform offscreen") << QStringList{"-platform", "offscreen"} << d5 << "-";
        QTest::newRow("--platform over QT_QPA_PLATFORM")
            << QStringList{"--platform", "xcb"} << d5 + QStringList{"QT_QPA_PLATFORM=offscreen"}
            << ":5";
        QTest::newRow("QT_QPA_PLATFORM offscreen")
            << QStringList{} << d5 + QStringList{"QT_QPA_PLATFORM=offscreen"} << "-";
        QTest::newRow("xcb, then a fallback")
            << QStringList{} << d5 + QStringList{"QT_QPA_PLATFORM=xcb;offscreen"} << "-";
        QTest::newRow("Wayland session")
            << QStringList{} << d5 + QStringList{"XDG_SESSION_TYPE=wayland"} << "-";
        QTest::newRow("Wayland session, xcb chosen")
            << QStringList{} << d5 + QStringList{"XDG_SESSION_TYPE=wayland", "QT_QPA_PLATFORM=xcb"}
            << ":5";
    }
    void xcb_display_follows_qt() {
        // The probe checks the display Qt's xcb platform opens, and only when Qt opens xcb alone.
        QFETCH(QStringList, args);
        QFETCH(QStringList, env);
        QFETCH(QString, display);
        std::vector<QByteArray> bytes{"qex"};
        for (const QString& arg : args)
            bytes.push_back(arg.toLocal8Bit());
        std::vector<const char*> argv;
        for (const QByteArray& arg : bytes)
            argv.push_back(arg.constData());
        std::map<std::string, std::string> vars;
        for (const QString& var : env)
            vars[var.section('=', 0, 0).toStdString()] = var.section('=', 1).toStdString();
        const auto getenv = [&](const char* name) -> const char* {
            const auto found = vars.find(name);
            return found == vars.end() ? nullptr : found->second.c_str();
        };
        const std::optional<std::string> got = xcb_display(int(argv.size()), argv.data(), getenv);
        QCOMPARE(got ? QString::fromStdString(*got) : QString("-"), display);
    }

    void key_event_reaches_the_handler_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("code");
        QTest::newRow("Left") << int(Qt::Key_Left) << 37;
        QTest::newRow("Ctrl") << int(Qt::Key_Control) << 17;
        QTest::newRow("Esc") << int(Qt::Key_Escape) << 27;
    }
    void key_event_reaches_the_handler() {
        // A key press on Picture1's widget, auto-repeated too, reaches its KeyDown handler.
        QFETCH(int, key);
        QFETCH(int, code);
        GameFixture game;
        int got = -1;
        game.form().Picture1.on_key_down = [&](std::int16_t& c, std::int16_t&) { got = c; };
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, 113, 0, 0, QString(), true);
        QApplication::sendEvent(game.form().Picture1.widget(), &event);
        QCOMPARE(got, code);
    }

    void closing_from_the_frame() {
        // Closing the help window only hides it; closing the game window ends the program.
        GameFixture game;
        Form& help = instance<game::form2_help>();
        help.set_visible(true);
        help.widget()->close();
        QVERIFY(!help.visible() && !help.widget()->isVisible() && !game.ended());
        game.form().widget()->close();
        QVERIFY(game.ended() && !game.form().widget()->isVisible());
        QCOMPARE(game.end_status, std::optional(0));
    }
};

QTEST_MAIN(TestPlatform)
#include "test_platform.moc"
