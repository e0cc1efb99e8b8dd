// End to end: the real game binary on an Xvfb server of its own, driven by XTest key and button
// events, checked against the pixels the server holds for its window. Each test starts a fresh
// game; guards kill and reap every child whatever ends the test.

#include "assets/maze.h"

#include <QCoreApplication>
#include <QRect>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kClientHeight = 193;          // pixels, the game window's client area
constexpr int kHelpClientHeight = 240;      // pixels, the help window's
constexpr int kMazeLeft = -78;              // client x of the maze's column 0
constexpr QRect kSquare(112, 96, 9, 9);     // client pixels of the player's square
constexpr int kDiscX = 2880, kDiscY = 1320; // Maze point of a blast at the start, twips
constexpr std::uint32_t kWhite = 0xFFFFFF, kGreen = 0x00FF00; // 0xRRGGBB, as the server has them

// Calls `done` every 20 ms until it answers true or `ms` have passed.
template <class F> bool poll_for(int ms, F done) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (done())
            return true;
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// A child process, killed and reaped when the guard goes unless it has ended and been reaped.
class Child {
  public:
    // argv[0] is looked up on PATH; `env` is the child's whole environment.
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
          int stderr_fd = -1) {
        std::vector<char*> args, vars; // built before the fork: the child only execs
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        for (const auto& v : env)
            vars.push_back(const_cast<char*>(v.c_str()));
        args.push_back(nullptr);
        vars.push_back(nullptr);
        pid_ = fork();
        if (pid_ == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL); // nothing outlives a test run that crashed
            if (stderr_fd >= 0)
                dup2(stderr_fd, STDERR_FILENO);
            execvpe(args[0], args.data(), vars.data());
            _exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The wait status, once the child has ended within `ms`.
    std::optional<int> wait_exit(int ms) {
        std::optional<int> status;
        poll_for(ms, [&] {
            int s = 0;
            if (pid_ <= 0 || waitpid(pid_, &s, WNOHANG) != pid_)
                return false;
            pid_ = -1;
            status = s;
            return true;
        });
        return status;
    }

  private:
    pid_t pid_ = -1;
};

// The environment of the game: ours without any Qt setting or display, plus `extra`.
std::vector<std::string> game_env(std::vector<std::string> extra) {
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (!var.starts_with("QT_") && !var.starts_with("DISPLAY=") &&
            !var.starts_with("WAYLAND_DISPLAY="))
            extra.push_back(var);
    }
    return extra;
}

// The maze picture as 0xRRGGBB, from the bottom-up 24-bit BMP the game carries.
std::uint32_t maze_at(int x, int y) {
    const auto& bmp = assets::maze_bmp();
    const std::uint8_t* p =
        bmp.data() + 54 + (std::size_t(assets::kMazeHeight - 1 - y) * assets::kMazeWidth + x) * 3;
    return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

// Client row of the maze's row 0 while `Picture1` has this Top: positions are cut down to whole
// pixels, and its drawing area begins inside a 2-pixel border.
int maze_top(int picture_top_twips) {
    return int(std::floor(picture_top_twips / 15.0)) + 2;
}

struct Image {
    QRect rect;
    std::vector<std::uint32_t> px;
    std::uint32_t at(int x, int y) const { return px[std::size_t(y * rect.width() + x)]; }
};

int luminance(std::uint32_t c) {
    return int((c >> 16) + (c >> 8 & 0xFF) + (c & 0xFF));
}

} // namespace

class E2e : public QObject {
    Q_OBJECT
  public:
    explicit E2e(std::string game) : game_(std::move(game)) {}

  private slots:
    void initTestCase();
    void cleanup() { qex_.reset(); }
    void start_view();
    void steps();
    void blast_by_ctrl();
    void blast_by_button();
    void ends_data();
    void ends();
    void help_window();
    void no_display();

  private:
    bool start_game();
    Window find_window(const char* name, bool popup = false);
    QRect geometry(Window w);
    Image grab(QRect r);
    QPoint client() {
        return geometry(find_window("qex")).bottomLeft() - QPoint(0, kClientHeight - 1);
    }
    void key(KeySym sym);
    void click(QPoint at);
    bool choose_menu(int index);
    int view_errors(const Image& image, int top, bool disc);
    bool shows(int top, bool disc, int ms = 2000);
    bool stays(int top, int ms = 400);
    Image view() { return grab(QRect(client(), QSize(395, kClientHeight))); }

    std::string game_, display_, error_;
    std::optional<Child> xvfb_;
    std::unique_ptr<Display, int (*)(Display*)> dpy_{nullptr, XCloseDisplay}; // before Xvfb goes
    std::optional<Child> qex_;
};

void E2e::initTestCase() {
    int fds[2]; // Xvfb writes the display number it took to fds[1] once it is ready
    QVERIFY(pipe(fds) == 0);
    const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
    xvfb_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen",
                                           "0", "1024x768x24", "-nolisten", "tcp"},
                  game_env({}), quiet);
    close(quiet);
    close(fds[1]);
    std::string number;
    pollfd pfd{fds[0], POLLIN, 0};
    char c = 0;
    while (poll(&pfd, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    QVERIFY2(!number.empty(), "Xvfb reported no display within 10 s");
    display_ = ":" + number;
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }); // windows come and go under us
    dpy_.reset(XOpenDisplay(display_.c_str()));
    QVERIFY(dpy_);
    int event, error, major, minor;
    QVERIFY(XTestQueryExtension(dpy_.get(), &event, &error, &major, &minor));
}

bool E2e::start_game() {
    qex_.emplace(std::vector<std::string>{game_},
                 game_env({"DISPLAY=" + display_, "QT_QPA_PLATFORM=xcb", "QT_SCALE_FACTOR=1",
                           "QT_AUTO_SCREEN_SCALE_FACTOR=0"}));
    if (!poll_for(10000, [&] { return find_window("qex") != 0; })) {
        error_ = "no viewable window \"qex\" within 10 s";
        return false;
    }
    // No window manager: the keyboard follows the pointer, so keep it over the status panel.
    XTestFakeMotionEvent(dpy_.get(), -1, client().x() + 300, client().y() + 180, CurrentTime);
    return shows(maze_top(120), false, 10000);
}

// A viewable top-level window by name, or an override-redirect one (a dropped-down menu).
Window E2e::find_window(const char* name, bool popup) {
    Window root, parent, *children = nullptr, found = 0;
    unsigned count = 0;
    XQueryTree(dpy_.get(), DefaultRootWindow(dpy_.get()), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes a;
        char* title = nullptr;
        if (!XGetWindowAttributes(dpy_.get(), children[i], &a) || a.map_state != IsViewable ||
            a.width < 8)
            continue;
        if (popup ? a.override_redirect
                  : XFetchName(dpy_.get(), children[i], &title) && title && !strcmp(title, name))
            found = children[i];
        XFree(title);
    }
    XFree(children);
    return found;
}

QRect E2e::geometry(Window w) {
    XWindowAttributes a{};
    XGetWindowAttributes(dpy_.get(), w, &a); // top-level: its parent is the root
    return QRect(a.x, a.y, a.width, a.height);
}

Image E2e::grab(QRect r) {
    Image image{r, {}};
    XImage* x = XGetImage(dpy_.get(), DefaultRootWindow(dpy_.get()), r.x(), r.y(), r.width(),
                          r.height(), AllPlanes, ZPixmap);
    for (int y = 0; x && y < r.height(); ++y)
        for (int i = 0; i < r.width(); ++i)
            image.px.push_back(XGetPixel(x, i, y) & 0xFFFFFF);
    if (x)
        XDestroyImage(x);
    image.px.resize(std::size_t(r.width() * r.height()));
    return image;
}

void E2e::key(KeySym sym) {
    const KeyCode code = XKeysymToKeycode(dpy_.get(), sym);
    XTestFakeKeyEvent(dpy_.get(), code, True, CurrentTime);
    XTestFakeKeyEvent(dpy_.get(), code, False, CurrentTime);
    XSync(dpy_.get(), False);
}

void E2e::click(QPoint at) {
    XTestFakeMotionEvent(dpy_.get(), -1, at.x(), at.y(), CurrentTime);
    XTestFakeButtonEvent(dpy_.get(), 1, True, CurrentTime);
    XTestFakeButtonEvent(dpy_.get(), 1, False, CurrentTime);
    XSync(dpy_.get(), False);
}

// Clicks the index-th title of the game window's menu bar (found as runs of dark text columns),
// then the one item of the menu that drops down.
bool E2e::choose_menu(int index) {
    const QRect window = geometry(find_window("qex"));
    const Image bar =
        grab(QRect(window.topLeft(), QSize(window.width(), window.height() - kClientHeight)));
    std::vector<std::pair<int, int>> titles; // first and last column of each title
    for (int x = 0; x < bar.rect.width(); ++x)
        for (int y = 0; y < bar.rect.height(); ++y)
            if (luminance(bar.at(x, y)) < 3 * 128) {
                if (titles.empty() || x - titles.back().second > 6)
                    titles.push_back({x, x});
                titles.back().second = x;
                break;
            }
    if (int(titles.size()) <= index)
        return false;
    const int mid = (titles[std::size_t(index)].first + titles[std::size_t(index)].second) / 2;
    click(window.topLeft() + QPoint(mid, bar.rect.height() / 2));
    Window menu = 0;
    if (!poll_for(3000, [&] { return (menu = find_window(nullptr, true)) != 0; }))
        return false;
    click(geometry(menu).center());
    return true;
}

// How many client pixels differ from the maze with its row 0 at client row `top`, the square, and
// with `disc` the white disc of a blast at the start (pixels near its rim are left out).
int E2e::view_errors(const Image& image, int top, bool disc) {
    int errors = 0;
    auto check = [&](int x, int y, bool ok, std::uint32_t want) {
        if (ok)
            return;
        if (errors++ == 0)
            error_ =
                QString::asprintf("client (%d, %d) is %06X, want %06X", x, y, image.at(x, y), want)
                    .toStdString();
    };
    for (int y = std::max(0, top); y < kClientHeight && y - top < 581; ++y)
        for (int x = 0; x < 192; ++x) {
            const std::uint32_t got = image.at(x, y);
            if (kSquare.contains(x, y)) {
                const bool field = kSquare.adjusted(2, 2, -2, -2).contains(x, y);
                check(x, y, field == (got == kGreen), kGreen);
                continue;
            }
            const int mx = x - kMazeLeft, my = y - top;
            const double r = std::hypot(mx * 15 + 7.5 - kDiscX, my * 15 + 7.5 - kDiscY);
            if (disc && r <= 380)
                check(x, y, got == kWhite, kWhite);
            else if (!disc || r >= 440)
                check(x, y, got == maze_at(mx, my), maze_at(mx, my));
        }
    // Sunken: the box's top-left edge is darker than its bottom-right edge.
    const QRect s = kSquare;
    check(s.left(), s.top(),
          luminance(image.at(s.left(), s.top())) < luminance(image.at(s.right(), s.bottom())), 0);
    if (errors)
        error_ = std::to_string(errors) + " pixels wrong for maze row 0 at client row " +
                 std::to_string(top) + (disc ? " with the disc" : "") + "; first " + error_;
    return errors;
}

// Polls the client area until view_errors() finds nothing.
bool E2e::shows(int top, bool disc, int ms) {
    return poll_for(ms, [&] { return find_window("qex") && view_errors(view(), top, disc) == 0; });
}

// Watches the client area for `ms`: it must keep showing the maze with its row 0 at `top`.
bool E2e::stays(int top, int ms) {
    return !poll_for(ms, [&] { return view_errors(view(), top, false) != 0; });
}

void E2e::start_view() {
    QVERIFY2(start_game(), error_.c_str());
}

void E2e::steps() {
    QVERIFY2(start_game(), error_.c_str());
    key(XK_Up); // the pocket's ceiling is wall
    QVERIFY2(stays(maze_top(120)), error_.c_str());
    for (int n = 1; n <= 4; ++n) {
        key(XK_Down);
        QVERIFY2(shows(maze_top(120 - 50 * n), false), error_.c_str());
    }
    key(XK_Down); // the pocket's floor: refused
    QVERIFY2(stays(maze_top(-80)), error_.c_str());
    key(XK_Up); // had the fifth gone through, this would land four steps down
    QVERIFY2(shows(maze_top(-30), false), error_.c_str());
}

void E2e::blast_by_ctrl() {
    QVERIFY2(start_game(), error_.c_str());
    const auto blast = Clock::now();
    key(XK_Control_L);
    QVERIFY2(shows(maze_top(120), true), error_.c_str());
    for (int k = 1; k <= 4; ++k) { // through the 12-pixel wall into the corridor above
        key(XK_Up);
        QVERIFY2(shows(maze_top(120 + 50 * k), true), error_.c_str());
    }
    const auto left =
        6000 - std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - blast).count();
    QVERIFY2(shows(maze_top(320), false, int(left)), ("walls not back: " + error_).c_str());
}

void E2e::blast_by_button() {
    QVERIFY2(start_game(), error_.c_str());
    click(client() + QPoint(296 + 97 / 2, 16 + 25 / 2));
    QVERIFY2(shows(maze_top(120), true), error_.c_str());
    // The click gave the button the focus; the focus timer hands it back to the maze.
    const bool moved = poll_for(1500, [&] {
        key(XK_Down);
        return poll_for(150, [&] {
            const Image image = view();
            for (int n = 1; n <= 4; ++n)
                if (view_errors(image, maze_top(120 - 50 * n), true) == 0)
                    return true;
            return false;
        });
    });
    QVERIFY2(moved, ("Down did not step within 1.5 s: " + error_).c_str());
}

void E2e::ends_data() {
    QTest::addColumn<bool>("by_menu");
    QTest::newRow("Esc") << false;
    QTest::newRow("GAME, exit") << true;
}

void E2e::ends() {
    QFETCH(bool, by_menu);
    QVERIFY2(start_game(), error_.c_str());
    if (by_menu)
        QVERIFY(choose_menu(0));
    else
        key(XK_Escape);
    const std::optional<int> status = qex_->wait_exit(5000);
    QVERIFY2(status, "the game did not end within 5 s");
    QVERIFY(WIFEXITED(*status));
    QCOMPARE(WEXITSTATUS(*status), 0);
    QVERIFY(poll_for(2000, [&] { return find_window("qex") == 0; }));
}

void E2e::help_window() {
    QVERIFY2(start_game(), error_.c_str());
    QVERIFY(choose_menu(1));
    Window help = 0;
    QVERIFY(poll_for(3000, [&] { return (help = find_window("Help")) != 0; }));
    const QRect h = geometry(help); // the client area is its bottom rows
    click(QPoint(h.x() + 64 + 81 / 2, h.bottom() + 1 - kHelpClientHeight + 208 + 25 / 2));
    QVERIFY2(poll_for(3000, [&] { return find_window("Help") == 0; }),
             "OK left the help window up");
    QVERIFY(!qex_->wait_exit(0));
}

void E2e::no_display() {
    int fds[2];
    QVERIFY(pipe2(fds, O_CLOEXEC) == 0);
    Child game({game_}, game_env({}), fds[1]);
    close(fds[1]);
    const std::optional<int> status = game.wait_exit(10000);
    std::string err;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        err.append(buffer, std::size_t(n));
    close(fds[0]);
    QVERIFY2(status, "the game did not end within 10 s");
    QVERIFY2(WIFEXITED(*status), "ended by a signal");
    QCOMPARE(WEXITSTATUS(*status), 2);
    QVERIFY2(err.size() > 1 && err.find('\n') == err.size() - 1, err.c_str());
}

// Qt Test's own main, but argv[1] is the game binary.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s GAME_BINARY [Qt Test options]\n", argv[0]);
        return 2;
    }
    E2e test(argv[1]);
    std::vector<char*> args{argv[0]};
    args.insert(args.end(), argv + 2, argv + argc);
    return QTest::qExec(&test, int(args.size()), args.data());
}

#include "test_e2e.moc"
