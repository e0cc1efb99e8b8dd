// Whole-process figures of the game on its own Xvfb: start-up from exec to the first frame that
// shows the maze, key-to-pixels latency of a step, CPU used while idle and peak resident memory.
// Usage: qex_bench_process PATH_TO_QEX

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void sleep_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

pid_t xvfb_pid = 0, game_pid = 0;

void stop(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "qex_bench_process: %s\n", what);
    stop(game_pid);
    stop(xvfb_pid);
    std::exit(1);
}

// A window may be unmapped or gone between two requests; the next poll sees it.
int ignore_x_error(Display*, XErrorEvent*) {
    return 0;
}

// Starts Xvfb on a display number it picks itself and returns the display's name.
std::string start_xvfb() {
    int fds[2];
    if (pipe(fds) != 0)
        fail("no pipe");
    xvfb_pid = fork();
    if (xvfb_pid == 0) {
        close(fds[0]);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    if (number.empty())
        fail("Xvfb did not start");
    return ":" + number;
}

// The viewable top-level window of the process that is large enough to be the game window.
Window find_window(Display* display, pid_t pid) {
    const Atom pid_atom = XInternAtom(display, "_NET_WM_PID", False);
    Window root, parent, *children = nullptr, found = 0;
    unsigned count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count))
        return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) ||
            attributes.map_state != IsViewable || attributes.width < 100)
            continue;
        Atom type;
        int format;
        unsigned long items, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display, children[i], pid_atom, 0, 1, False, XA_CARDINAL, &type,
                               &format, &items, &after, &data) == Success &&
            data) {
            if (items == 1 && *reinterpret_cast<unsigned long*>(data) == unsigned(pid))
                found = children[i];
            XFree(data);
        }
    }
    if (children)
        XFree(children);
    return found;
}

// The pixels of a window rectangle as 0xRRGGBB values; empty when it cannot be read.
struct Area {
    int x, y, width, height;
};
std::vector<unsigned> grab(Display* display, Window window, Area area) {
    XImage* image = XGetImage(display, window, area.x, area.y, unsigned(area.width),
                              unsigned(area.height), AllPlanes, ZPixmap);
    std::vector<unsigned> pixels;
    if (!image)
        return pixels;
    pixels.reserve(size_t(area.width) * size_t(area.height));
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x)
            pixels.push_back(unsigned(XGetPixel(image, x, y)) & 0xFFFFFFu);
    XDestroyImage(image);
    return pixels;
}

Area whole(Display* display, Window window) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return {0, 0, 0, 0};
    return {0, 0, attributes.width, attributes.height};
}

constexpr unsigned kYellow = 0xFFFF00; // the maze's corridors

// Starts the game and returns the milliseconds from the fork until its window shows the maze.
double start_game(Display* display, const std::string& name, const char* qex, Window& window) {
    const auto start = Clock::now();
    game_pid = fork();
    if (game_pid == 0) {
        setenv("DISPLAY", name.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(qex, qex, static_cast<char*>(nullptr));
        _exit(127);
    }
    window = 0;
    while (ms_since(start) < 20000) {
        if (!window)
            window = find_window(display, game_pid);
        if (window) {
            const auto pixels = grab(display, window, whole(display, window));
            if (std::count(pixels.begin(), pixels.end(), kYellow) > 1000)
                return ms_since(start);
        }
        if (waitpid(game_pid, nullptr, WNOHANG) != 0)
            fail("the game ended during start-up");
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    fail("the game window never showed the maze");
}

// A square of the window centred on the player's green square: each step moves the maze
// under it.
Area around_square(Display* display, Window window) {
    const Area all = whole(display, window);
    const auto pixels = grab(display, window, all);
    long sx = 0, sy = 0, n = 0;
    for (int i = 0; i < int(pixels.size()); ++i) {
        const unsigned p = pixels[size_t(i)];
        if ((p >> 16) < 0x40 && ((p >> 8) & 0xFF) > 0xC0 && (p & 0xFF) < 0x40) {
            sx += i % all.width;
            sy += i / all.width;
            ++n;
        }
    }
    if (n == 0)
        fail("no green square in the game window");
    constexpr int kSide = 48;
    const int x = std::clamp(int(sx / n) - kSide / 2, 0, all.width - kSide);
    const int y = std::clamp(int(sy / n) - kSide / 2, 0, all.height - kSide);
    return {x, y, kSide, kSide};
}

// Presses and releases a key; returns the milliseconds from the press until the area changed,
// or -1 when it did not change within a second.
double step_latency(Display* display, Window window, Area area, KeyCode key) {
    const auto before = grab(display, window, area);
    const auto start = Clock::now();
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XFlush(display);
    double latency = -1;
    while (ms_since(start) < 1000)
        if (grab(display, window, area) != before) {
            latency = ms_since(start);
            break;
        }
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XSync(display, False);
    return latency;
}

// User plus system CPU time of the whole process, all threads, in seconds.
double cpu_seconds(pid_t pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2)); // the name may hold spaces
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) // utime is field 14, stime 15
        if (i >= 14)
            ticks += std::stod(field);
    return ticks / double(sysconf(_SC_CLK_TCK));
}

long status_kib(pid_t pid, const char* key) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(file, line);)
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::strlen(key)));
    return -1;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(std::ceil(p / 100.0 * double(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        fail("usage: qex_bench_process PATH_TO_QEX");
    const char* qex = argv[1];
    constexpr int startups = 5, steps = 200, idle_seconds = 30;

    const std::string name = start_xvfb();
    Display* display = XOpenDisplay(name.c_str());
    int event_base, error_base, major, minor;
    if (!display || !XTestQueryExtension(display, &event_base, &error_base, &major, &minor))
        fail("no Xvfb display with the XTest extension");
    XSetErrorHandler(ignore_x_error);

    // Start-up: fresh processes, the last of which goes on to the other measurements.
    std::vector<double> startup;
    Window window = 0;
    for (int i = 0; i < startups; ++i) {
        if (i > 0)
            stop(game_pid);
        startup.push_back(start_game(display, name, qex, window));
    }

    // Latency: Down three times to the place in the start pocket from which Down and Up are
    // both open, then Down and Up in turn.
    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    sleep_ms(300);
    const Area area = around_square(display, window);
    const KeyCode down = XKeysymToKeycode(display, XK_Down), up = XKeysymToKeycode(display, XK_Up);
    for (int i = 0; i < 3; ++i) {
        if (step_latency(display, window, area, down) < 0)
            fail("a key press did not move the maze");
        sleep_ms(20);
    }
    std::vector<double> latency;
    for (int i = 0; i < steps; ++i) {
        const double ms = step_latency(display, window, area, i % 2 == 0 ? down : up);
        if (ms < 0)
            fail("a step did not show within a second");
        latency.push_back(ms);
        sleep_ms(10);
    }

    // Idle: nothing pressed, the one-second timers ticking.
    sleep_ms(1000);
    const double cpu_before = cpu_seconds(game_pid);
    sleep_ms(idle_seconds * 1000);
    const double idle_cpu = (cpu_seconds(game_pid) - cpu_before) / idle_seconds * 100.0;

    const long hwm = status_kib(game_pid, "VmHWM:");
    stop(game_pid);
    XCloseDisplay(display);
    stop(xvfb_pid);

    std::printf("%-36s %10s %10s   %s\n", "figure", "median", "p99", "target");
    std::printf("%-36s %7.1f ms %10s   median < 80 ms\n", "start-up to first frame, 5 runs",
                percentile(startup, 50), "");
    std::printf("%-36s %7.2f ms %7.2f ms   median < 4 ms, p99 < 10 ms\n",
                "key-to-pixels latency, 200 steps", percentile(latency, 50),
                percentile(latency, 99));
    std::printf("%-36s %7.3f %%  %10s   < 0.2 %%\n", "idle CPU, 30 s", idle_cpu, "");
    std::printf("%-36s %6.1f MiB %10s   < 32 MiB\n", "peak resident memory (VmHWM)",
                double(hwm) / 1024.0, "");
    return 0;
}
