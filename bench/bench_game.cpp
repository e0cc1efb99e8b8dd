// In-process benchmarks of the game's hot paths on Qt's offscreen platform: the pixel query,
// one step without and with the repaint it causes, one blast and one frame of the game window.
// Handlers run through the one dispatch, as the window system delivers them. Only the step with
// its repaint processes events inside its timed loop; the others measure the handler alone.

#include "tests/game_fixture.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>

namespace {

constexpr std::int16_t kKeyUp = 38, kKeyDown = 40;
constexpr int kCirclesPerBlast = 800;

// The square's Maze point inside the start pocket from which both Down and Up are open: Down
// takes it to y 1520, Up brings it back (twips).
constexpr float kPocketX = 2880, kPocketY = 1470;

// A fresh game (the tests' fixture: manual timers, recording end and error reports, a fixed
// seed) with the square in the start pocket and the treasure 4243 twips away, far from both the
// win (under 200) and the end (over 14500).
class Game : public GameFixture {
  public:
    Game() {
        place_square(kPocketX, kPocketY);
        place_treasure_at_difference(-3000, -3000);
        QApplication::processEvents(); // the first frame, before anything is timed
    }
    ~Game() { QApplication::processEvents(); }

    void blast() {
        form().charges = 30000; // never runs out, so every call draws its 800 circles
        platform::Runtime::get().dispatch([this] { form().vzrvv(); });
    }

    // One Down or Up; false when the step did not move the maze (a closed way or the end).
    bool step(std::int16_t key) {
        const float before = form().Picture1.top();
        form().Picture1.key_down(key);
        return !ended() && form().Picture1.top() != before;
    }
};

// The four probe points of the square in the start pocket (twips in the drawing area).
constexpr float kProbes[4][2] = {{kPocketX, kPocketY - 50},
                                 {kPocketX + 25, kPocketY + 110},
                                 {kPocketX - 50, kPocketY + 25},
                                 {kPocketX + 100, kPocketY + 25}};

// The pixel query, with the drawings of range(0) blasts since the last clearing (800 circles
// each). Its cost must not depend on how much has been drawn.
void BM_pixel_query(benchmark::State& state) {
    Game game;
    for (int i = 0; i < state.range(0); ++i)
        game.blast();
    const auto& box = game.form().Picture1;
    // The disc of the blasts is white over the wall above the pocket.
    if (state.range(0) > 0 && box.pixel_at(kProbes[0][0], kProbes[0][1]) != 16777215)
        state.SkipWithError("the blasts drew no white disc");
    unsigned i = 0;
    for (auto _ : state) {
        const float* p = kProbes[i++ & 3];
        benchmark::DoNotOptimize(box.pixel_at(p[0], p[1]));
    }
    state.counters["circles"] = double(state.range(0) * kCirclesPerBlast);
}
BENCHMARK(BM_pixel_query)->Arg(0)->Arg(100)->ArgName("blasts");

// One step: Picture1_KeyDown with an open arrow (the probe, the step, RastClad), without the
// repaint. Down and Up alternate, so the square stays in the pocket.
void BM_step(benchmark::State& state) {
    Game game;
    if (!game.step(kKeyDown) || !game.step(kKeyUp))
        state.SkipWithError("Down and Up are not both open in the start pocket");
    std::int16_t key = kKeyDown;
    for (auto _ : state) {
        game.form().Picture1.key_down(key);
        key = key == kKeyDown ? kKeyUp : kKeyDown;
    }
    if (!game.step(key)) // still going to and fro in the pocket
        state.SkipWithError("a step was closed or the game ended");
}
BENCHMARK(BM_step);

// Counts the paint events of one widget.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    long paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// One step with the repaint it causes, as in play: the handler, then the posted events (the
// window's update request: layout, paint of what moved or changed, and the copy to the offscreen
// screen).
void BM_step_with_repaint(benchmark::State& state) {
    Game game;
    if (!game.step(kKeyDown) || !game.step(kKeyUp))
        state.SkipWithError("Down and Up are not both open in the start pocket");
    QApplication::sendPostedEvents();
    PaintCounter maze(game.form().Picture1.widget());
    std::int16_t key = kKeyDown;
    for (auto _ : state) {
        game.form().Picture1.key_down(key);
        QApplication::sendPostedEvents();
        key = key == kKeyDown ? kKeyUp : kKeyDown;
    }
    if (maze.paints < state.iterations())
        state.SkipWithError("a step was not repainted");
    if (!game.step(key))
        state.SkipWithError("a step was closed or the game ended");
}
BENCHMARK(BM_step_with_repaint)->Unit(benchmark::kMicrosecond);

// One blast: vzrvv with its 800 circles and the start of the countdown. The drawings of the
// previous blast are cleared outside the timing.
void BM_blast(benchmark::State& state) {
    Game game;
    auto& box = game.form().Picture1;
    for (auto _ : state) {
        state.PauseTiming();
        box.clear_drawings();
        state.ResumeTiming();
        game.blast();
    }
    if (box.pixel_at(kProbes[0][0], kProbes[0][1]) != 16777215)
        state.SkipWithError("the blast drew no white disc");
}
BENCHMARK(BM_blast)->Unit(benchmark::kMicrosecond);

// One frame: the whole game window (menu bar, maze, square, status panel) rendered into an
// image after a step; the step itself is outside the timing.
void BM_frame(benchmark::State& state) {
    Game game;
    QWidget* window = game.form().widget();
    QImage image(window->size(), QImage::Format_RGB32);
    std::int16_t key = kKeyDown;
    for (auto _ : state) {
        state.PauseTiming();
        game.form().Picture1.key_down(key);
        key = key == kKeyDown ? kKeyUp : kKeyDown;
        state.ResumeTiming();
        window->render(&image);
    }
    state.counters["pixels"] = double(image.width() * image.height());
}
BENCHMARK(BM_frame)->Unit(benchmark::kMicrosecond);

// The offscreen platform warns on every raise of a window; the figures are what we print.
QtMessageHandler qt_handler = nullptr;
void drop_raise_warnings(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("does not support raise()")))
        return;
    if (qt_handler)
        qt_handler(type, context, text);
    else
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qt_handler = qInstallMessageHandler(drop_raise_warnings);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    platform::Runtime::get().reset(); // the windows go before the application does
    return 0;
}
