// qex: the maze game. Starts the forms run time with the game window.

#include "game/forms.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QFont>

#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// QApplication aborts when it finds no display; say so in one line instead.
bool display_usable(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "-platform") == 0)
            return true; // Qt's own choice, Qt's own checks
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::strncmp(platform, "xcb", 3) != 0)
        return true;
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return false;
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool usable = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return usable;
}

} // namespace

int main(int argc, char** argv) {
    if (!display_usable(argc, argv)) {
        std::fprintf(stderr, "qex: no display to open the game window on (set DISPLAY)\n");
        return 2;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("qex"));
    QApplication::setQuitOnLastWindowClosed(false);
    // The windows were laid out for a small sans-serif default font.
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    QApplication::setFont(font);

    platform::Runtime& runtime = platform::Runtime::get();
    if (platform::start<game::form1>())
        app.exec();
    const int status = runtime.exit_status();
    runtime.reset(); // the windows go before the application does
    return status;
}
