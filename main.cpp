// qex: the maze game. Starts the forms run time with the game window.

#include "game/forms.h"
#include "platform/runtime.h"

#include <QApplication>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

// QApplication aborts when it finds no display; say so in one line instead. The probe's own
// connection stays open until Qt has connected: were it the server's only client, closing it
// first would reset the server under Qt's connection.
class DisplayProbe {
  public:
    DisplayProbe(int argc, char** argv) {
        for (int i = 1; i < argc; ++i)
            if (std::strcmp(argv[i], "-platform") == 0)
                return; // Qt's own choice, Qt's own checks
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        if (platform && *platform && std::strncmp(platform, "xcb", 3) != 0)
            return;
        usable_ = false;
        const char* display = std::getenv("DISPLAY");
        if (!display || !*display)
            return;
        connection_ = xcb_connect(display, nullptr);
        usable_ = xcb_connection_has_error(connection_) == 0;
    }
    ~DisplayProbe() {
        if (connection_)
            xcb_disconnect(connection_);
    }
    DisplayProbe(const DisplayProbe&) = delete;
    DisplayProbe& operator=(const DisplayProbe&) = delete;

    bool usable() const { return usable_; }

  private:
    bool usable_ = true;
    xcb_connection_t* connection_ = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    auto probe = std::make_unique<DisplayProbe>(argc, argv);
    if (!probe->usable()) {
        std::fprintf(stderr, "qex: no display to open the game window on (set DISPLAY)\n");
        return 2;
    }
    QApplication app(argc, argv);
    probe.reset();
    return platform::run_program<game::form1>(QStringLiteral("qex"));
}
