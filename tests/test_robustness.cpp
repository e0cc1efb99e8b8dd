// Whole games of random input through the platform's dispatch, with what must always hold checked
// after every event; and the way a run-time error ends the program.

#include "game_fixture.h"

#include "platform/geometry.h"
#include "platform/keys.h"
#include "platform/numeric.h"
#include "windows/maze_picture.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

namespace {

using platform::Runtime;

// Events per seed; the game under way when a seed's budget runs out is played to its end.
constexpr long kEventsPerSeed = 4'500;
constexpr int kSeeds = 40;

// clang-format off
enum class End { Esc, Exit, FinishOk, TooFar, SeventhMinute, FrameClose, Count };
constexpr const char* kEndNames[] = {"Esc", "exit", "OK of the finish window", "too far",
                                     "seventh minute", "window closed from its frame"};

enum class What { Key, Clok, Clst, Timer1, Blast, Exit, Help, HelpOk, HelpClose, FinishOk,
                  CloseGame, CloseFinish };
// The window that must show for the window system to deliver the input at all. Keys are sent
// after a win too, as Qt hands a key to a hidden widget; they must do nothing then.
enum class Needs { Keys, Game, Help, Finish };
constexpr int kArrow = -1, kAnyCode = -2; // codes drawn per event
// What the gates hold before each event: no colour the pixel query answers (0x00BBGGRR or -1).
constexpr std::int32_t kUnprobed = INT32_MIN;

// The event mix, weights per 100,000 choices: arrows and ticks common, ends rare, so that most
// games run long enough for the clock's end. burst > 1: the key held, up to that many repeats.
struct Choice { What what; int weight; Needs needs; int code = 0; int burst = 1; };
constexpr Choice kChoices[] = {
    {What::Key, 26'000, Needs::Keys, kArrow},  {What::Key, 5'000, Needs::Keys, kArrow, 40},
    {What::Key, 6'000, Needs::Keys, kAnyCode}, {What::Key, 1'000, Needs::Keys, kAnyCode, 20},
    {What::Key, 700, Needs::Keys, 17},         {What::Key, 150, Needs::Keys, 17, 15}, // Ctrl
    {What::Key, 400, Needs::Keys, 88},         {What::Key, 100, Needs::Keys, 88, 30}, // X
    {What::Key, 4, Needs::Keys, 27},           {What::Exit, 5, Needs::Game},
    {What::Clok, 13'000, Needs::Keys},      {What::Clst, 13'000, Needs::Keys},
    {What::Timer1, 13'000, Needs::Keys},    {What::Blast, 700, Needs::Game},
    {What::Help, 400, Needs::Game},            {What::HelpOk, 400, Needs::Help},
    {What::HelpClose, 200, Needs::Help},       {What::FinishOk, 150, Needs::Finish},
    {What::CloseGame, 4, Needs::Game},         {What::CloseFinish, 80, Needs::Finish},
};
// clang-format on

// A Qt key that the platform turns into this virtual-key code, or 0.
int qt_key_of(int code) {
    static const std::array<int, 256> keys = [] {
        std::array<int, 256> table{};
        const auto add = [&](int from, int to) {
            for (int key = from; key <= to; ++key)
                if (const int c = platform::virtual_key_code(key); c > 0 && !table[size_t(c)])
                    table[size_t(c)] = key;
        };
        add(Qt::Key_Space, Qt::Key_Z);
        add(Qt::Key_Escape, Qt::Key_F24);
        return table;
    }();
    return code >= 0 && code < 256 ? keys[size_t(code)] : 0;
}

template <class T> T* existing() {
    return static_cast<T*>(Runtime::get().find_instance(typeid(T)));
}
template <class T> bool shown() {
    const T* form = existing<T>();
    return form && form->visible();
}

// Whether the canvas shows the bare maze within reach pixels of the square's Maze point.
bool maze_bare_near(const game::form1& f, int reach) {
    static const QImage maze = windows::maze_picture().convertToFormat(QImage::Format_RGB32);
    const QImage& canvas = f.Picture1.canvas();
    const int cx = platform::twips_to_pixels(f.Picture2.left() - f.Picture1.left());
    const int cy = platform::twips_to_pixels(f.Picture2.top() - f.Picture1.top());
    const int x0 = std::max(0, cx - reach), x1 = std::min(canvas.width(), cx + reach + 1);
    for (int y = std::max(0, cy - reach); x0 < x1 && y < std::min(canvas.height(), cy + reach + 1);
         ++y)
        if (std::memcmp(canvas.constScanLine(y) + 4 * x0, maze.constScanLine(y) + 4 * x0,
                        size_t(4 * (x1 - x0))) != 0)
            return false;
    return true;
}

// What the game must show, followed event by event.
struct Model {
    double treasure_x, treasure_y; // the treasure's place in the maze, twips
    int charges = 3;
    int cls_count = 0;
    bool clst_on = true; // the count before the first blast runs from the start
    bool blasted = false, stepped = false, won = false;
};

struct Tally {
    long events = 0, games = 0, wins = 0, blasts = 0, steps = 0, faults = 0;
    std::array<long, size_t(End::Count)> ends{};
    std::bitset<256> codes; // the key codes that reached the handler
    double drift = 0;       // largest move of the treasure's place in the maze, twips
} tally;

QtMessageHandler qt_handler = nullptr;

// The offscreen platform cannot raise a window and says so at every show; that is no news about
// the game, and thousands of such lines would bury a failure's report.
void drop_raise_warnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text != QLatin1String("This plugin does not support raise()"))
        qt_handler(type, context, text);
}

} // namespace

#define CHECK(cond, what)                                                                          \
    QVERIFY2(cond,                                                                                 \
             qPrintable(QStringLiteral("seed %1, event %2: %3").arg(seed_).arg(index_).arg(what)))

class Robustness : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { qt_handler = qInstallMessageHandler(drop_raise_warnings); }

    void random_play_data() {
        QTest::addColumn<int>("seed");
        for (int seed = 1; seed <= kSeeds; ++seed)
            QTest::addRow("seed %d", seed) << seed;
    }

    void random_play() {
        QFETCH(int, seed);
        seed_ = seed;
        rng_.seed(unsigned(seed));
        for (index_ = 0; index_ < kEventsPerSeed && !QTest::currentTestFailed();)
            play_game();
    }

    // A forced overflow, from a handler or from the game's own code in a tick or a step: the
    // message shows, the program ends with status 1 and no window stays on the screen.
    void runtime_error_data() {
        QTest::addColumn<int>("where");
        QTest::addColumn<bool>("side_windows");
        QTest::newRow("handler") << 0 << false;
        QTest::newRow("handler, side windows shown") << 0 << true;
        QTest::newRow("CLST tick below -32768, side windows shown") << 1 << true;
        QTest::newRow("Clok tick above 32767") << 2 << false;
        QTest::newRow("step 33000 twips from the treasure, side windows shown") << 3 << true;
    }

    void runtime_error() {
        QFETCH(int, where);
        QFETCH(bool, side_windows);
        GameFixture fx;
        auto& f = fx.form();
        if (side_windows) {
            f.razr.click();
            fx.run([] { platform::instance<game::Form2>().set_visible(true); });
        }
        if (where == 0)
            fx.run([] { (void)platform::checked_inc(32767); });
        if (where == 1)
            f.cls_count = -32768, f.CLST.fire();
        if (where == 2)
            f.sec_count = 32767, f.Clok.fire();
        if (where == 3) // the step down is open at the start
            fx.place_treasure_at_difference(-33000, 0), f.Picture1.key_down(40);
        QCOMPARE(fx.reported, QStringLiteral("Run-time error '6':\n\nOverflow"));
        QCOMPARE(fx.end_status, 1);
        for (platform::Form* form : Runtime::get().forms())
            QVERIFY2(!form->widget()->isVisible(), qPrintable(form->caption()));
        const auto seconds = f.sec_count;
        f.Clok.fire(); // dropped: the program has ended
        QCOMPARE(f.sec_count, seconds);
    }

    void cleanup() {
        if (QTest::currentTestFailed() && QTest::currentDataTag())
            ++tally.faults;
    }

    void cleanupTestCase() {
        QStringList ends;
        for (size_t i = 0; i < tally.ends.size(); ++i)
            ends << QStringLiteral("%1 %2").arg(kEndNames[i]).arg(tally.ends[i]);
        qInfo("robustness: %ld events, %ld games, %zu key codes, %ld steps, %ld blasts, %ld wins; "
              "ends: %s; treasure drift %.6f twips; faults %ld",
              tally.events, tally.games, tally.codes.count(), tally.steps, tally.blasts, tally.wins,
              qPrintable(ends.join(QStringLiteral(", "))), tally.drift, tally.faults);
    }

  private:
    int pick(int n) { return int(rng_() % unsigned(n)); }

    bool possible(Needs needs, const GameFixture& fx) {
        return needs == Needs::Game     ? platform::instance<game::form1>().visible()
               : needs == Needs::Help   ? shown<game::form2_help>()
               : needs == Needs::Finish ? shown<game::Form2>()
                                        : !fx.ended();
    }

    const Choice& draw(const GameFixture& fx) {
        static const int total = [] {
            int sum = 0;
            for (const Choice& c : kChoices)
                sum += c.weight;
            return sum;
        }();
        for (;;) {
            int r = pick(total);
            for (const Choice& c : kChoices) {
                if ((r -= c.weight) < 0) {
                    if (possible(c.needs, fx))
                        return c;
                    break;
                }
            }
        }
    }

    // Returns whether the window hands the key to the maze's handler: all but Tab and Shift+Tab,
    // with which the window moves the focus, when they come as the window system's events.
    bool deliver(What what, int code, bool repeat, game::form1& f) {
        switch (what) {
        case What::Key:
            if (const int key = qt_key_of(code); key && pick(4) == 0) {
                // As the window system sends it: a held key repeats with the flag set.
                static constexpr Qt::KeyboardModifier kMods[] = {
                    Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier};
                const Qt::KeyboardModifier mod = kMods[pick(4)];
                QKeyEvent event(QEvent::KeyPress, key, mod, QString(), repeat);
                QCoreApplication::sendEvent(f.Picture1.widget(), &event);
                return key != Qt::Key_Tab || mod == Qt::ControlModifier || mod == Qt::AltModifier;
            }
            f.Picture1.key_down(code, pick(8));
            return true;
        // clang-format off
        case What::Clok: f.Clok.fire(); break;
        case What::Clst: f.CLST.fire(); break;
        case What::Timer1: f.Timer1.fire(); break;
        case What::Blast: f.Command3.click(); break;
        case What::Exit: f.en.click(); break;
        case What::Help: f.razr.click(); break;
        case What::HelpOk: existing<game::form2_help>()->Command1.click(); break;
        case What::HelpClose: existing<game::form2_help>()->widget()->close(); break;
        case What::FinishOk: existing<game::Form2>()->Command1.click(); break;
        case What::CloseGame: f.widget()->close(); break;
        case What::CloseFinish: existing<game::Form2>()->widget()->close(); break;
            // clang-format on
        }
        return false;
    }

    // The event ended the program: it must be one of the game's ends, with no error and no
    // window left on the screen.
    void classify_end(What what, int code, const GameFixture& fx, const game::form1& f) {
        CHECK(!fx.reported, QStringLiteral("run-time error: ") + fx.reported.value_or(""));
        CHECK(fx.end_status == 0, "end status");
        for (platform::Form* form : Runtime::get().forms())
            CHECK(!form->widget()->isVisible(), form->caption() + " stays after the end");
        End end = End::Count;
        if (what == What::Key && code == 27)
            end = End::Esc;
        else if (what == What::Exit)
            end = End::Exit;
        else if (what == What::FinishOk)
            end = End::FinishOk;
        else if (what == What::CloseGame || what == What::CloseFinish)
            end = End::FrameClose;
        else if (what == What::Clok && f.min_count == 7)
            end = End::SeventhMinute;
        else if (what == What::Key && code >= 37 && code <= 40 &&
                 platform::text_to_number(f.Text3.text()) > 14500)
            end = End::TooFar;
        CHECK(end != End::Count, QStringLiteral("an end the game does not have, by %1 code %2")
                                     .arg(int(what))
                                     .arg(code));
        ++tally.ends[size_t(end)];
    }

    // Every key that reaches the handler probes, and nothing else does; only an arrow moves the
    // maze, by one 50-twip step its own way, exactly when the gate its probe wrote is open. After
    // a win the game window is hidden and no key reaches the handler. Checked before the end, as
    // a step can end the game.
    void check_step(bool key, int code, float left, float top, game::form1& f, Model& m) {
        static constexpr std::int32_t game::form1::*kGates[] = {
            &game::form1::pix_left, &game::form1::pix_up, &game::form1::pix_right,
            &game::form1::pix_down};
        static constexpr float kStepX[] = {50, 0, -50, 0}, kStepY[] = {0, 50, 0, -50}; // twips
        const bool reached = key && !m.won;
        for (auto gate : kGates)
            CHECK((f.*gate != kUnprobed) == reached, "a probe where no key reached the handler, "
                                                     "or none where one did");
        const int arrow = reached && code >= 37 && code <= 40 ? code - 37 : -1;
        const bool open = arrow >= 0 && f.*kGates[arrow] != 0;
        const float dx = f.Picture1.left() - left, dy = f.Picture1.top() - top;
        CHECK(dx == (open ? kStepX[arrow] : 0) && dy == (open ? kStepY[arrow] : 0),
              QStringLiteral("moved (%1, %2); key %3, code %4, its gate %5")
                  .arg(dx)
                  .arg(dy)
                  .arg(key)
                  .arg(code)
                  .arg(arrow >= 0 ? f.*kGates[arrow] : 0));
        m.stepped |= open;
        tally.steps += open;
    }

    void check(What what, int code, float left, float top, game::form1& f, Model& m) {
        CHECK(f.Picture2.left() == 1680 && f.Picture2.top() == 1440, "the square moved");
        // Positions are singles and a step's sum is rounded to one, so a fractional treasure
        // place may lose its lowest bits in a larger binade: below 2^-7 twips in this range.
        const double drift =
            std::max(std::abs(f.cladd.left() - double(f.Picture1.left()) - m.treasure_x),
                     std::abs(f.cladd.top() - double(f.Picture1.top()) - m.treasure_y));
        tally.drift = std::max(tally.drift, drift);
        CHECK(drift < 1.0 / 64, QStringLiteral("the treasure moved %1 in the maze").arg(drift));
        CHECK(f.Text3.text().isEmpty() == !m.stepped, "readout: " + f.Text3.text());

        if (what == What::Blast || (what == What::Key && code == 17 && !m.won)) {
            if (m.charges >= 1) {
                --m.charges;
                m.blasted = m.clst_on = true;
                m.cls_count = 5;
                ++tally.blasts;
                const float x = f.Picture2.left() - f.Picture1.left();
                const float y = f.Picture2.top() - f.Picture1.top();
                const auto centre = f.Picture1.pixel_at(x, y);
                CHECK(centre == 16777215 || centre == -1, "no white disc at the square");
            } else {
                CHECK(f.Label4.visible(), "no-charge notice");
            }
        }
        if (what == What::Key && code == 88 && !m.won)
            m.charges = 1000;
        const bool cleared = what == What::Clst && m.clst_on && --m.cls_count == 0;
        m.clst_on &= !cleared;
        CHECK(f.charges == m.charges,
              QStringLiteral("charges %1, expected %2").arg(f.charges).arg(m.charges));
        // The model holds the count before the first blast (0, -1, -2, ...) and each countdown
        // (5 down to 0, CLST off at 0), so this is the countdown's whole state.
        CHECK(f.cls_count == m.cls_count && f.CLST.enabled() == m.clst_on,
              QStringLiteral("cls_count %1, expected %2").arg(f.cls_count).arg(m.cls_count));
        if (!f.CLST.enabled() || !m.blasted) // no countdown: no drawing may be left
            CHECK(maze_bare_near(f, cleared ? 1 << 12 : 40), "a drawing left on the maze");

        if (!f.visible() && !m.won) {
            const bool stepped = f.Picture1.left() != left || f.Picture1.top() != top;
            CHECK(stepped && f.dist_sq < 40000 && f.Text3.text() == "0", "a win without a find");
            m.won = true;
            ++tally.wins;
        }
        CHECK(f.visible() != m.won && f.Timer1.enabled() != m.won, "game window after a win");
        CHECK(!m.won || shown<game::Form2>(), "finish window after a win");
        if (what == What::Help || what == What::HelpOk || what == What::HelpClose)
            CHECK(shown<game::form2_help>() == (what == What::Help), "help window");
    }

    void play_game() {
        GameFixture fx(float(pick(86'400)) + 0.5f);
        ++tally.games;
        CHECK(fx.started, "start-up");
        auto& f = fx.form();
        // A player who leans on one arrow: towards a treasure hidden near the square, or down
        // through a white stroke of the bottom wall, off the maze; else none.
        int favourite = 0;
        const int scenario = pick(10);
        if (scenario < 3) {
            const int dx = pick(1401) - 700, dy = pick(1401) - 700; // square minus treasure
            fx.place_treasure_at_difference(float(dx), float(dy));
            favourite = std::abs(dx) > std::abs(dy) ? (dx > 0 ? 37 : 39) : (dy > 0 ? 38 : 40);
        } else if (scenario < 6) {
            // The square in the lowest corridor with its down probe over a stroke, and the
            // treasure far above: the too-far end within reach.
            static constexpr int kStrokeColumns[] = {87, 207, 307, 437}; // pixels
            fx.place_square(float(kStrokeColumns[pick(4)] * 15 - 25), 560 * 15);
            fx.place_treasure_at_difference(float(pick(6001) - 3000), float(11000 + pick(3001)));
            favourite = 40;
        }
        Model m{f.cladd.left() - double(f.Picture1.left()),
                f.cladd.top() - double(f.Picture1.top())};
        bool first = pick(4) == 0; // some games start with X, so blasts go on
        while (!fx.ended() && !QTest::currentTestFailed()) {
            static constexpr Choice kX{What::Key, 0, Needs::Game, 88};
            const Choice& c = first ? kX : draw(fx);
            first = false;
            const int repeats = c.burst > 1 ? 2 + pick(c.burst - 1) : 1;
            int code =
                c.code == kArrow ? (favourite && pick(2) ? favourite : 37 + pick(4)) : c.code;
            while (code == kAnyCode || (code == 27 && c.code == kAnyCode && pick(10)))
                code = pick(256); // every code, Esc seldom
            for (int r = 0; r < repeats && possible(c.needs, fx); ++r) {
                const float left = f.Picture1.left(), top = f.Picture1.top();
                f.pix_left = f.pix_up = f.pix_right = f.pix_down = kUnprobed;
                const bool key = deliver(c.what, code, r > 0 || (repeats == 1 && pick(2)), f);
                ++index_;
                ++tally.events;
                if (c.what == What::Key)
                    tally.codes.set(size_t(code));
                check_step(key, code, left, top, f, m);
                if (QTest::currentTestFailed())
                    return;
                if (fx.ended())
                    return classify_end(c.what, code, fx, f);
                check(c.what, code, left, top, f, m);
                if (QTest::currentTestFailed())
                    return;
            }
        }
    }

    std::mt19937 rng_;
    int seed_ = 0;
    long index_ = 0; // events of this seed so far: with the seed, what replays a failure
};

QTEST_MAIN(Robustness)
#include "test_robustness.moc"
