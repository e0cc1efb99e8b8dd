// End to end: the real game binary on an Xvfb server of its own, driven by XTest key and button
// events and checked against the pixels the server holds for its windows. Each test starts a fresh
// game; guards kill and reap every child whatever ends the test.

#include "assets/maze.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QRect>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <X11/Xatom.h>
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

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kClientWidth = 395, kClientHeight = 193; // pixels, the game window's client area
constexpr int kHelpClientHeight = 240;                 // pixels, the help window's
constexpr int kMazeLeft = -78;                         // client x of the maze's column 0
constexpr int kMazeRight = 192;                        // client x where the status panel begins
constexpr QRect kSquare(112, 96, 9, 9);                // client pixels of the player's square
constexpr int kDiscX = 2880, kDiscY = 1320;            // Maze point of a blast at the start, twips
constexpr std::uint32_t kWhite = 0xFFFFFF, kGreen = 0x00FF00; // 0xRRGGBB, as the server has them

// Calls `done` every 20 ms until it answers true or `ms` have passed.
template <class F> bool poll_for(long ms, F done) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (!done()) {
        if (Clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

// A child process; the guard kills and reaps it unless it has been reaped already.
class Child {
  public:
    // argv[0] is looked up on PATH; `env` is the child's whole environment.
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& env,
          int stderr_fd = -1, int stdout_fd = -1) {
        std::vector<char*> args, vars; // built before the fork: the child only execs
        for (const auto& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        for (const auto& v : env)
            vars.push_back(const_cast<char*>(v.c_str()));
        args.push_back(nullptr);
        vars.push_back(nullptr);
        if ((pid_ = fork()) == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL); // nothing outlives a test run that crashed
            if (stderr_fd >= 0)
                dup2(stderr_fd, STDERR_FILENO);
            if (stdout_fd >= 0)
                dup2(stdout_fd, STDOUT_FILENO);
            execvpe(args[0], args.data(), vars.data());
            _exit(127);
        }
    }
    ~Child() {
        if (pid_ > 0 && kill(pid_, SIGKILL) == 0)
            waitpid(pid_, nullptr, 0);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The wait status, once the child has ended within `ms`.
    std::optional<int> wait_exit(int ms) {
        int status = 0;
        if (pid_ <= 0 || !poll_for(ms, [&] { return waitpid(pid_, &status, WNOHANG) == pid_; }))
            return std::nullopt;
        pid_ = -1;
        return status;
    }

  private:
    pid_t pid_ = -1;
};

// Our environment without any Qt setting, display or session type, and with `extra` (NAME=value)
// over it.
std::vector<std::string> game_env(std::vector<std::string> extra) {
    const std::size_t given = extra.size();
    const auto set_by_extra = [&](const std::string& var) {
        const std::string name = var.substr(0, var.find('=') + 1);
        return std::any_of(extra.begin(), extra.begin() + long(given),
                           [&](const std::string& e) { return e.starts_with(name); });
    };
    for (char** e = environ; *e; ++e) {
        const std::string var = *e;
        if (!var.starts_with("QT_") && !var.starts_with("DISPLAY=") &&
            !var.starts_with("WAYLAND_DISPLAY=") && !var.starts_with("XDG_SESSION_TYPE=") &&
            !set_by_extra(var))
            extra.push_back(var);
    }
    return extra;
}

// The maze picture at pixel (x, y), from the bottom-up 24-bit BMP the game carries.
std::uint32_t maze_at(int x, int y) {
    const std::size_t row = std::size_t(assets::kMazeHeight - 1 - y) * assets::kMazeWidth;
    static const std::vector<std::uint8_t> bmp = assets::maze_bmp();
    const std::uint8_t* p = bmp.data() + 54 + (row + std::size_t(x)) * 3; // BGR
    return std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0];
}

// Client row of the maze's row 0 while `Picture1` has this Top: positions are cut down to whole
// pixels, and the drawing area begins inside a 2-pixel border.
int maze_top(int picture_top_twips) {
    return int(std::floor(picture_top_twips / 15.0)) + 2;
}

int luminance(std::uint32_t c) {
    return int((c >> 16) + (c >> 8 & 0xFF) + (c & 0xFF));
}

struct Image {
    int width = 0;
    std::vector<std::uint32_t> px;
    std::uint32_t at(int x, int y) const { return px[std::size_t(y * width + x)]; }
};

} // namespace

class E2e : public QObject {
    Q_OBJECT
  public:
    E2e(std::string game, std::string overflow, std::string cmake, std::string build)
        : game_(std::move(game)), overflow_(std::move(overflow)), cmake_(std::move(cmake)),
          build_(std::move(build)) {}

  private slots:
    void initTestCase() {
        int fds[2]; // Xvfb writes the display number it took to fds[1] once it is ready
        QVERIFY(pipe(fds) == 0);
        const int quiet = open("/dev/null", O_WRONLY | O_CLOEXEC);
        xvfb_.emplace(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]),
                                               "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                      game_env({}), quiet);
        close(quiet);
        close(fds[1]);
        pollfd ready{fds[0], POLLIN, 0};
        std::string number;
        for (char c; poll(&ready, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n';)
            number += c;
        close(fds[0]);
        QVERIFY2(!number.empty(), "Xvfb reported no display within 10 s");
        display_ = ":" + number;
        // Our connection stays open for the whole run: once its last client has gone, Xvfb
        // resets, and a game that connects during the reset fails.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; }); // windows come and go
        dpy_.reset(XOpenDisplay(display_.c_str()));
        int event, error, major, minor;
        QVERIFY(dpy_ && XTestQueryExtension(dpy_.get(), &event, &error, &major, &minor));
    }
    void cleanup() { qex_.reset(); }

    void start_view() { QVERIFY2(start_game(), qPrintable(error_)); }

    void steps() {
        QVERIFY2(start_game(), qPrintable(error_));
        key(XK_Up); // the pocket's ceiling is wall
        QVERIFY2(stays(maze_top(120)), qPrintable(error_));
        for (int n = 1; n <= 4; ++n) {
            key(XK_Down);
            QVERIFY2(shows(maze_top(120 - 50 * n)), qPrintable(error_));
        }
        key(XK_Down); // the pocket's floor
        QVERIFY2(stays(maze_top(-80)), qPrintable(error_));
        key(XK_Up); // had the fifth Down gone through, this would land four steps down
        QVERIFY2(shows(maze_top(-30)), qPrintable(error_));
    }

    void blast_by_ctrl() {
        QVERIFY2(start_game(), qPrintable(error_));
        const auto blast = Clock::now();
        key(XK_Control_L);
        QVERIFY2(shows(maze_top(120), true), qPrintable(error_));
        for (int k = 1; k <= 4; ++k) { // through the 12-pixel wall into the corridor above
            key(XK_Up);
            QVERIFY2(shows(maze_top(120 + 50 * k), true), qPrintable(error_));
        }
        const auto left =
            6000 -
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - blast).count();
        QVERIFY2(shows(maze_top(320), false, left), qPrintable("walls not back: " + error_));
    }

    void blast_by_button() {
        QVERIFY2(start_game(), qPrintable(error_));
        click(client() + QPoint(296 + 97 / 2, 16 + 25 / 2));
        QVERIFY2(shows(maze_top(120), true), qPrintable(error_));
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
        QVERIFY2(moved, qPrintable("Down did not step within 1.5 s: " + error_));
    }

    void ends_data() {
        QTest::addColumn<bool>("by_option"); // started by -display with DISPLAY unset
        QTest::addColumn<QString>("end");
        QTest::addColumn<int>("status");
        QTest::newRow("Esc") << false << "Esc" << 0;
        QTest::newRow("GAME, exit") << false << "exit" << 0;
        QTest::newRow("-display, Esc") << true << "Esc" << 0;
        QTest::newRow("connection lost") << false << "connection lost" << 1;
    }
    void ends() {
        QFETCH(bool, by_option);
        QFETCH(QString, end);
        QFETCH(int, status);
        std::vector<std::string> args, env;
        if (by_option)
            args = {"-display", display_};
        // Qt ends a lost connection by exit(1) from within the event loop, past all that the
        // program would free: leaks found there are Qt's, and the sanitizer's own status 1 must
        // not pass for the game's.
        if (end == "connection lost")
            env = {"ASAN_OPTIONS=detect_leaks=0:exitcode=86"};
        QVERIFY2(start_game(args, env), qPrintable(error_));
        if (end == "exit")
            QVERIFY(choose_menu(0));
        else if (end == "Esc")
            key(XK_Escape);
        else { // the server closes the game's connection, as when it dies
            XKillClient(dpy_.get(), find_window("qex"));
            XSync(dpy_.get(), False);
        }
        check_end(status);
    }

    // A run-time error as the player meets it: the run time's own message box over the game names
    // the error, Enter dismisses it, and the program ends with status 1.
    void runtime_error() {
        int fds[2]; // the program writes a line to fds[1] for each message box it shows
        QVERIFY(pipe2(fds, O_CLOEXEC) == 0);
        fcntl(fds[0], F_SETFL, O_NONBLOCK);
        const bool started = start_game({}, {}, overflow_, fds[1]);
        close(fds[1]);
        std::string said;
        Window box = 0;
        const bool shown = started && poll_for(5000, [&] {
                               for (char c; read(fds[0], &c, 1) == 1;)
                                   said += c;
                               return said.ends_with('\n') && (box = find_window("qex", true));
                           });
        close(fds[0]);
        QVERIFY2(started, qPrintable(error_));
        QVERIFY2(shown, ("no message box on the screen within 5 s; shown: " + said).c_str());
        QCOMPARE(QString::fromStdString(said),
                 QStringLiteral("qex\tRun-time error '6':\\n\\nOverflow\n"));
        // Qt gives the box the keyboard focus once the server has mapped it; a key before that
        // goes to the game window, which the box blocks.
        QVERIFY2(poll_for(2000,
                          [&] {
                              Window focus = 0;
                              int revert = 0;
                              XGetInputFocus(dpy_.get(), &focus, &revert);
                              return focus == box;
                          }),
                 "the message box did not get the keyboard focus within 2 s");
        key(XK_Return);
        check_end(1);
    }

    void help_window() {
        QVERIFY2(start_game(), qPrintable(error_));
        QVERIFY(choose_menu(1));
        Window help = 0;
        QVERIFY(poll_for(3000, [&] { return (help = find_window("Help")) != 0; }));
        const QRect h = geometry(help); // its client area is its bottom rows
        click(QPoint(h.x() + 64 + 81 / 2, h.bottom() + 1 - kHelpClientHeight + 208 + 25 / 2));
        QVERIFY2(poll_for(3000, [&] { return find_window("Help") == 0; }), "OK left it shown");
        QVERIFY(!qex_->wait_exit(0));
    }

    void refused_start_data() {
        using Strings = std::vector<std::string>;
        QTest::addColumn<Strings>("args");
        QTest::addColumn<Strings>("env");
        QTest::addColumn<std::string>("named"); // what the line must say
        QTest::newRow("no display") << Strings{} << Strings{} << std::string("no display");
        QTest::newRow("no such screen")
            << Strings{} << Strings{"DISPLAY=" + display_ + ".3"} << '"' + display_ + ".3\"";
        QTest::newRow("-display, no server there") // no server listens on :97 here
            << Strings{"-display", ":97"} << Strings{"DISPLAY=" + display_}
            << std::string("\":97\"");
    }
    void refused_start() {
        // Start-up refused: one line on stderr that names the display, and status 2.
        QFETCH(std::vector<std::string>, args);
        QFETCH(std::vector<std::string>, env);
        QFETCH(std::string, named);
        args.insert(args.begin(), game_);
        std::string err;
        QCOMPARE(run(args, err, env, 10000), 2);
        QVERIFY2(err.size() > 1 && err.find('\n') == err.size() - 1, err.c_str()); // one line
        QVERIFY2(err.find(named) != std::string::npos, err.c_str());
    }

    void installed() {
        // `cmake --install` into an empty prefix puts the game, its menu entry and its icons where
        // a desktop looks for them, and nothing else; the game runs from there on its own.
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        std::string said;
        QVERIFY2(
            run({cmake_, "--install", build_, "--prefix", prefix.path().toStdString()}, said) == 0,
            said.c_str());
        QStringList files;
        for (QDirIterator it(prefix.path(), QDir::Files, QDirIterator::Subdirectories);
             it.hasNext();)
            files << QDir(prefix.path()).relativeFilePath(it.next());
        files.sort();
        QCOMPARE(files, QStringList({"bin/qex", "share/applications/qex.desktop",
                                     "share/icons/hicolor/48x48/apps/qex.png",
                                     "share/icons/hicolor/scalable/apps/qex.svg"}));
        QVERIFY(QFileInfo(prefix.filePath("bin/qex")).isExecutable());
        QCOMPARE(QImage(prefix.filePath("share/icons/hicolor/48x48/apps/qex.png")).size(),
                 QSize(48, 48));

        const QString entry = prefix.filePath("share/applications/qex.desktop");
        QFile file(entry);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArrayList lines = file.readAll().split('\n');
        for (const char* line : {"[Desktop Entry]", "Type=Application", "Name=qex", "Exec=qex",
                                 "Icon=qex", "Categories=Game;LogicGame;"})
            QVERIFY2(lines.contains(line), line);
        if (!QStandardPaths::findExecutable("desktop-file-validate").isEmpty()) {
            const int status = run({"desktop-file-validate", entry.toStdString()}, said);
            QVERIFY2(status == 0 && said.empty(), said.c_str()); // not even a hint
        }

        QVERIFY2(start_game({}, {}, prefix.filePath("bin/qex").toStdString()), qPrintable(error_));
        key(XK_Escape);
        check_end(0);
    }

  private:
    // Runs `argv` with `env` (NAME=value) over our environment, killed if it has not ended
    // within `ms`: its exit status, or -1 if it did not exit; what it wrote on its standard output
    // and error in `said`.
    int run(const std::vector<std::string>& argv, std::string& said,
            const std::vector<std::string>& env = {}, int ms = 60000) {
        int fds[2];
        if (pipe2(fds, O_CLOEXEC) != 0)
            return -1;
        fcntl(fds[0], F_SETFL, O_NONBLOCK);
        std::optional<int> status;
        {
            Child child(argv, game_env(env), fds[1], fds[1]);
            close(fds[1]);
            status = child.wait_exit(ms); // the few lines it writes wait in the pipe
        }
        said.clear();
        char buffer[4096];
        for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
            said.append(buffer, std::size_t(n));
        close(fds[0]);
        return status && WIFEXITED(*status) ? WEXITSTATUS(*status) : -1;
    }

    // Starts `program` (the game unless named) with `args` and `env` (NAME=value) on our display,
    // named by DISPLAY unless `args` name it; its standard output goes to `stdout_fd`.
    bool start_game(std::vector<std::string> args = {}, std::vector<std::string> env = {},
                    const std::string& program = {}, int stdout_fd = -1) {
        env.insert(env.end(),
                   {"QT_QPA_PLATFORM=xcb", "QT_SCALE_FACTOR=1", "QT_AUTO_SCREEN_SCALE_FACTOR=0"});
        if (std::find(args.begin(), args.end(), "-display") == args.end())
            env.push_back("DISPLAY=" + display_);
        args.insert(args.begin(), program.empty() ? game_ : program);
        qex_.emplace(args, game_env(env), -1, stdout_fd);
        std::optional<int> ended; // its wait status if it ends before its window shows
        error_ = "no viewable window \"qex\" within 10 s";
        if (!poll_for(10000, [&] { return find_window("qex") || (ended = qex_->wait_exit(0)); }))
            return false;
        if (ended) {
            error_ = QString::asprintf("the game ended at start, wait status %d", *ended);
            return false;
        }
        // No window manager: the keyboard follows the pointer, so keep it over the status panel.
        XTestFakeMotionEvent(dpy_.get(), -1, client().x() + 300, client().y() + 180, CurrentTime);
        return shows(maze_top(120), false, 10000);
    }

    // The program ends within 5 s with `status` and leaves no window on the screen.
    void check_end(int status) {
        const std::optional<int> wait = qex_->wait_exit(5000);
        QVERIFY2(wait, "the program did not end within 5 s");
        QVERIFY(WIFEXITED(*wait));
        QCOMPARE(WEXITSTATUS(*wait), status);
        QVERIFY(poll_for(2000, [&] { return !find_window("qex") && !find_window("qex", true); }));
    }

    // Whether a window's type is a dialog's (a message box; the game's windows are tools).
    bool is_dialog(Window w) {
        Display* d = dpy_.get();
        Atom type = 0, *types = nullptr;
        int format = 0;
        unsigned long count = 0, after = 0;
        XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), 0, 8, False, XA_ATOM,
                           &type, &format, &count, &after,
                           reinterpret_cast<unsigned char**>(&types));
        const Atom dialog = XInternAtom(d, "_NET_WM_WINDOW_TYPE_DIALOG", False);
        const bool found = types && std::find(types, types + count, dialog) != types + count;
        XFree(types);
        return found;
    }

    // A viewable top-level window by name and kind, or with no name an override-redirect one (a
    // menu).
    Window find_window(const char* name, bool dialog = false) {
        Window root, parent, *children = nullptr, found = 0;
        unsigned count = 0;
        XQueryTree(dpy_.get(), DefaultRootWindow(dpy_.get()), &root, &parent, &children, &count);
        for (unsigned i = 0; i < count && !found; ++i) {
            XWindowAttributes a;
            char* title = nullptr;
            if (!XGetWindowAttributes(dpy_.get(), children[i], &a) || a.map_state != IsViewable ||
                a.width < 8)
                continue;
            if (!name ? a.override_redirect
                      : XFetchName(dpy_.get(), children[i], &title) && title &&
                            !strcmp(title, name) && is_dialog(children[i]) == dialog)
                found = children[i];
            XFree(title);
        }
        XFree(children);
        return found;
    }

    QRect geometry(Window w) {
        XWindowAttributes a{};
        XGetWindowAttributes(dpy_.get(), w, &a); // top-level: relative to the root
        return QRect(a.x, a.y, a.width, a.height);
    }
    QPoint client() {
        return geometry(find_window("qex")).bottomLeft() - QPoint(0, kClientHeight - 1);
    }

    Image grab(QRect r) {
        Image image{r.width(), std::vector<std::uint32_t>(std::size_t(r.width() * r.height()))};
        XImage* x = XGetImage(dpy_.get(), DefaultRootWindow(dpy_.get()), r.x(), r.y(),
                              unsigned(r.width()), unsigned(r.height()), AllPlanes, ZPixmap);
        for (int y = 0; x && y < r.height(); ++y)
            for (int i = 0; i < r.width(); ++i)
                image.px[std::size_t(y * r.width() + i)] = XGetPixel(x, i, y) & 0xFFFFFF;
        if (x)
            XDestroyImage(x);
        return image;
    }
    Image view() { return grab(QRect(client(), QSize(kClientWidth, kClientHeight))); }

    void key(KeySym sym) {
        const KeyCode code = XKeysymToKeycode(dpy_.get(), sym);
        XTestFakeKeyEvent(dpy_.get(), code, True, CurrentTime);
        XTestFakeKeyEvent(dpy_.get(), code, False, CurrentTime);
        XSync(dpy_.get(), False);
    }
    void click(QPoint at) {
        XTestFakeMotionEvent(dpy_.get(), -1, at.x(), at.y(), CurrentTime);
        XTestFakeButtonEvent(dpy_.get(), 1, True, CurrentTime);
        XTestFakeButtonEvent(dpy_.get(), 1, False, CurrentTime);
        XSync(dpy_.get(), False);
    }

    // Clicks the index-th title of the game window's menu bar (found as runs of dark text
    // columns), then the one item of the menu that drops down.
    bool choose_menu(int index) {
        const QRect window = geometry(find_window("qex"));
        const int bar_height = window.height() - kClientHeight;
        const Image bar = grab(QRect(window.topLeft(), QSize(window.width(), bar_height)));
        std::vector<QPoint> titles; // first and last column of each title
        for (int x = 0; x < window.width(); ++x)
            for (int y = 0; y < bar_height; ++y)
                if (luminance(bar.at(x, y)) < 3 * 128) {
                    if (titles.empty() || x - titles.back().y() > 6)
                        titles.push_back({x, x});
                    titles.back().setY(x);
                    break;
                }
        if (int(titles.size()) <= index)
            return false;
        const QPoint& title = titles[std::size_t(index)];
        click(window.topLeft() + QPoint((title.x() + title.y()) / 2, bar_height / 2));
        Window menu = 0;
        if (!poll_for(3000, [&] { return (menu = find_window(nullptr)) != 0; }))
            return false;
        click(geometry(menu).center());
        return true;
    }

    // How many client pixels differ from the maze with its row 0 at client row `top`, with the
    // square over it and, with `disc`, the white disc of a blast at the start (its rim left out).
    int view_errors(const Image& image, int top, bool disc) {
        int errors = 0;
        auto check = [&](int x, int y, bool ok, const QString& want) {
            if (!ok && errors++ == 0)
                error_ = QString::asprintf("(%d, %d) is %06X, want ", x, y, image.at(x, y)) + want;
        };
        auto hex = [](std::uint32_t c) { return QString::asprintf("%06X", c); };
        for (int y = std::max(0, top); y < kClientHeight && y - top < 581; ++y)
            for (int x = 0; x < kMazeRight; ++x) {
                const std::uint32_t got = image.at(x, y);
                const int mx = x - kMazeLeft, my = y - top;
                const double r = std::hypot(mx * 15 + 7.5 - kDiscX, my * 15 + 7.5 - kDiscY);
                if (kSquare.adjusted(2, 2, -2, -2).contains(x, y)) // its 5 x 5 field
                    check(x, y, got == kGreen, hex(kGreen));
                else if (kSquare.contains(x, y)) // its 2-pixel border
                    check(x, y, got != kGreen, "a border colour");
                else if (disc && r <= 380)
                    check(x, y, got == kWhite, hex(kWhite));
                else if (!disc || r >= 440)
                    check(x, y, got == maze_at(mx, my), hex(maze_at(mx, my)));
            }
        // Sunken: the border's top and left edges are darker than its bottom and right ones.
        const auto dark = [&](int x0, int y0, int x1, int y1) {
            return luminance(image.at(x0, y0)) < luminance(image.at(x1, y1));
        };
        const int l = kSquare.left(), t = kSquare.top(), r = kSquare.right(), b = kSquare.bottom();
        check(l, t + 4, dark(l + 4, t, l + 4, b) && dark(l, t + 4, r, t + 4), "a sunken border");
        if (errors)
            error_ = QString::asprintf("%d client pixels wrong for maze row 0 at client row %d%s; "
                                       "first ",
                                       errors, top, disc ? " with the disc" : "") +
                     error_;
        return errors;
    }
    // Polls until the client area shows what view_errors() expects.
    bool shows(int top, bool disc = false, long ms = 2000) {
        return poll_for(ms, [&] { return find_window("qex") && !view_errors(view(), top, disc); });
    }
    // Watches the client area for `ms`: it must keep showing the maze with its row 0 at `top`.
    bool stays(int top, int ms = 400) {
        return !poll_for(ms, [&] { return view_errors(view(), top, false) != 0; });
    }

    std::string game_, overflow_, cmake_, build_, display_;
    QString error_;
    std::optional<Child> xvfb_;
    std::unique_ptr<Display, int (*)(Display*)> dpy_{nullptr, XCloseDisplay}; // before Xvfb goes
    std::optional<Child> qex_;
};

// Qt Test's usual main, but argv[1] is the game binary, argv[2] the game with a forced run-time
// error (qex_overflow), argv[3] the cmake program and argv[4] the build directory to install from.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::vector<char*> args(argv, argv + argc);
    if (args.size() < 5) {
        std::fprintf(stderr,
                     "usage: %s GAME_BINARY OVERFLOW_PROGRAM CMAKE BUILD_DIR [Qt Test options]\n",
                     argv[0]);
        return 2;
    }
    E2e test(args[1], args[2], args[3], args[4]);
    args.erase(args.begin() + 1, args.begin() + 5);
    return QTest::qExec(&test, int(args.size()), args.data());
}

#include "test_e2e.moc"
