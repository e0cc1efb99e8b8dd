// Whole-process figures of the game beside a reference program (qex_reference, the least Qt
// Widgets program of the game's shape), both on one private Xvfb: start-up from the fork to the
// first frame, key-to-pixels latency, CPU used while idle and peak resident memory. The two are
// measured in turn within one run, so that what else the machine does weighs on both alike, and
// the figures are printed with their ratios game/reference, which hold across machines.
// Usage: qex_bench_process PATH_TO_QEX PATH_TO_REFERENCE

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStartups = 15;          // fresh processes of each program
constexpr int kBlocks = 20;            // turns of each program at the keys
constexpr int kBlockSteps = 20;        // key presses a turn, an even number: Down and Up in turn
constexpr int kIdleSeconds = 30;       // the idle window
constexpr unsigned kYellow = 0xFFFF00; // the game's corridors, the reference's label

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void sleep_ms(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

struct Area {
    int x, y, width, height; // pixels of a window
};

// One of the two programs under measurement, and its figures.
struct Program {
    explicit Program(const char* program_name) : name(program_name) {}
    const char* name;
    const char* path = nullptr;
    pid_t pid = 0;
    Window window = 0;
    Area watched{0, 0, 0, 0};
    std::vector<double> startup, latency; // ms
    double idle_cpu = 0;                  // per cent of one CPU
    long peak_kib = 0;
};

pid_t xvfb_pid = 0;
std::array<Program, 2> programs{Program("game"), Program("reference")};

void stop(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    pid = 0;
}

[[noreturn]] void fail(const char* what, const char* program = nullptr) {
    std::fprintf(stderr, "qex_bench_process: %s%s%s\n", program ? program : "", program ? ": " : "",
                 what);
    for (Program& p : programs)
        stop(p.pid);
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

// The viewable top-level window of the process that is large enough to be its main window.
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

// Starts the program and returns the milliseconds from the fork until its window shows more than
// 1,000 yellow pixels: the game's maze, the reference's label.
double start(Display* display, const std::string& name, Program& program) {
    const auto begin = Clock::now();
    program.pid = fork();
    if (program.pid == 0) {
        setenv("DISPLAY", name.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(program.path, program.path, static_cast<char*>(nullptr));
        _exit(127);
    }
    program.window = 0;
    while (ms_since(begin) < 20000) {
        if (!program.window)
            program.window = find_window(display, program.pid);
        if (program.window) {
            const auto pixels = grab(display, program.window, whole(display, program.window));
            if (std::count(pixels.begin(), pixels.end(), kYellow) > 1000)
                return ms_since(begin);
        }
        if (waitpid(program.pid, nullptr, WNOHANG) != 0)
            fail("ended during start-up", program.name);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    fail("the window never showed its yellow", program.name);
}

// The 48 x 48 pixels around the centre of the window's yellow, found the same way in both
// programs: in the game a part of the maze, which each step slides; in the reference the middle
// of the label with its text, which each key rewrites.
Area watched_area(Display* display, Window window) {
    const Area all = whole(display, window);
    const auto pixels = grab(display, window, all);
    long sx = 0, sy = 0, n = 0;
    for (int i = 0; i < int(pixels.size()); ++i)
        if (pixels[size_t(i)] == kYellow) {
            sx += i % all.width;
            sy += i / all.width;
            ++n;
        }
    if (n == 0)
        return {0, 0, 0, 0};
    constexpr int kSide = 48;
    const int x = std::clamp(int(sx / n) - kSide / 2, 0, all.width - kSide);
    const int y = std::clamp(int(sy / n) - kSide / 2, 0, all.height - kSide);
    return {x, y, kSide, kSide};
}

// Presses and releases a key; returns the milliseconds from the press until the area changed,
// or -1 when it did not change within a second.
double key_latency(Display* display, const Program& program, KeyCode key) {
    const auto before = grab(display, program.window, program.watched);
    const auto begin = Clock::now();
    XTestFakeKeyEvent(display, key, True, CurrentTime);
    XFlush(display);
    double latency = -1;
    while (ms_since(begin) < 1000)
        if (grab(display, program.window, program.watched) != before) {
            latency = ms_since(begin);
            break;
        }
    XTestFakeKeyEvent(display, key, False, CurrentTime);
    XSync(display, False);
    return latency;
}

void give_focus(Display* display, const Program& program) {
    XSetInputFocus(display, program.window, RevertToPointerRoot, CurrentTime);
    XSync(display, False);
    sleep_ms(200); // the change of active window repaints; let it pass before a key
}

// The time every thread of the process has run on a CPU (the first field of each thread's
// schedstat, ns), by thread id.
std::map<int, long long> thread_run_ns(pid_t pid) {
    std::map<int, long long> run;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(tasks.c_str());
    if (!dir)
        return run;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream file(tasks + "/" + entry->d_name + "/schedstat");
        long long ns = 0;
        if (file >> ns)
            run[std::atoi(entry->d_name)] = ns;
    }
    closedir(dir);
    return run;
}

// Run time between two samples; a thread started since counts from its start. A thread that
// ended in between takes its time since the first sample with it.
long long run_ns_between(const std::map<int, long long>& before,
                         const std::map<int, long long>& after) {
    long long ns = 0;
    for (const auto& [tid, run] : after) {
        const auto it = before.find(tid);
        ns += run - (it == before.end() ? 0 : it->second);
    }
    return ns;
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

void print_row(const char* figure, const char* unit, double game, double reference, double target,
               int decimals) {
    const double ratio = game / reference;
    std::printf("%-32s %9.*f %-3s %9.*f %-3s %6.2f   <= %.2f  %s\n", figure, decimals, game, unit,
                decimals, reference, unit, ratio, target, ratio <= target ? "met" : "missed");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3)
        fail("usage: qex_bench_process PATH_TO_QEX PATH_TO_REFERENCE");
    Program& game = programs[0];
    Program& reference = programs[1];
    game.path = argv[1];
    reference.path = argv[2];

    const std::string name = start_xvfb();
    Display* display = XOpenDisplay(name.c_str());
    int event_base, error_base, major, minor;
    if (!display || !XTestQueryExtension(display, &event_base, &error_base, &major, &minor))
        fail("no Xvfb display with the XTest extension");
    XSetErrorHandler(ignore_x_error);

    // Start-up: fresh processes, the two programs in turn, which one goes first alternating.
    for (int i = 0; i < kStartups; ++i)
        for (int k = 0; k < 2; ++k) {
            Program& program = programs[size_t((i + k) % 2)];
            program.startup.push_back(start(display, name, program));
            stop(program.pid);
        }

    // Both run on for the other figures, their windows apart on the screen.
    const KeyCode down = XKeysymToKeycode(display, XK_Down), up = XKeysymToKeycode(display, XK_Up);
    for (Program& program : programs) {
        start(display, name, program);
        give_focus(display, program);
        program.watched = watched_area(display, program.window);
        if (program.watched.width == 0)
            fail("no yellow to watch", program.name);
        // Three presses before any is timed; they take the game's square from the start to the
        // place in its pocket from which Down and Up are both open.
        for (int i = 0; i < 3; ++i) {
            if (key_latency(display, program, down) < 0)
                fail("a key press did not change the window", program.name);
            sleep_ms(20);
        }
    }

    // Latency: turns of presses, Down and Up in turn, the programs taking turns.
    for (int block = 0; block < kBlocks; ++block)
        for (int k = 0; k < 2; ++k) {
            Program& program = programs[size_t((block + k) % 2)];
            give_focus(display, program);
            for (int i = 0; i < kBlockSteps; ++i) {
                const double ms = key_latency(display, program, i % 2 == 0 ? down : up);
                if (ms < 0)
                    fail("a key press did not show within a second", program.name);
                program.latency.push_back(ms);
                sleep_ms(10);
            }
        }

    // Idle: nothing pressed, the timers ticking; both over the same window of time.
    sleep_ms(1000);
    std::array<std::map<int, long long>, 2> before;
    for (size_t k = 0; k < 2; ++k)
        before[k] = thread_run_ns(programs[k].pid);
    sleep_ms(kIdleSeconds * 1000);
    for (size_t k = 0; k < 2; ++k) {
        Program& program = programs[k];
        const long long ns = run_ns_between(before[k], thread_run_ns(program.pid));
        program.idle_cpu = double(ns) / (kIdleSeconds * 1e9) * 100.0;
        program.peak_kib = status_kib(program.pid, "VmHWM:");
        stop(program.pid);
    }
    XCloseDisplay(display);
    stop(xvfb_pid);

    std::printf("%-32s %13s %13s %6s   %-7s\n", "figure", "game", "reference", "ratio", "target");
    print_row("start-up to first frame, median", "ms", percentile(game.startup, 50),
              percentile(reference.startup, 50), 1.2, 1);
    print_row("peak resident memory (VmHWM)", "MiB", double(game.peak_kib) / 1024.0,
              double(reference.peak_kib) / 1024.0, 1.15, 1);
    print_row("key to pixels, median", "ms", percentile(game.latency, 50),
              percentile(reference.latency, 50), 2.0, 2);
    print_row("key to pixels, 99th percentile", "ms", percentile(game.latency, 99),
              percentile(reference.latency, 99), 1.5, 2);
    print_row("idle CPU, 30 s", "%", game.idle_cpu, reference.idle_cpu, 1.5, 4);
    std::printf("(%d start-ups and %d key presses of each; the ratios are game/reference)\n",
                kStartups, kBlocks * kBlockSteps);
    return 0;
}
