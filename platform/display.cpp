#include "platform/display.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <string_view>

namespace platform {

std::optional<std::string> xcb_display(int argc, const char* const* argv,
                                       const std::function<const char*(const char*)>& getenv) {
    const char* platform = nullptr;
    std::string display;
    for (int i = 1; i + 1 < argc; ++i) { // as Qt reads them: the last one wins
        std::string_view option = argv[i];
        if (option.starts_with("--"))
            option.remove_prefix(1);
        if (option == "-platform")
            platform = argv[++i];
        else if (option == "-display")
            display = argv[++i];
    }
    if (!platform) {
        platform = getenv("QT_QPA_PLATFORM");
        if (!platform || !*platform) {
            const char* session = getenv("XDG_SESSION_TYPE");
            if (session && std::string_view(session) == "wayland")
                return std::nullopt;
            platform = "xcb";
        }
    }
    const std::string_view name = platform;
    if (!name.starts_with("xcb") || name.find(';') != std::string_view::npos)
        return std::nullopt;
    if (display.empty()) // an empty name opens DISPLAY, as for Xlib
        if (const char* from_env = getenv("DISPLAY"))
            display = from_env;
    return display;
}

DisplayProbe::DisplayProbe(int argc, const char* const* argv) {
    const std::optional<std::string> name = xcb_display(argc, argv, std::getenv);
    if (!name)
        return;
    if (name->empty()) {
        refusal_ = "no display to open the game window on (set DISPLAY or give -display)";
        return;
    }
    int screen = 0;
    connection_ = xcb_connect(name->c_str(), &screen);
    const int error = xcb_connection_has_error(connection_);
    const bool no_screen = error ? error == XCB_CONN_CLOSED_INVALID_SCREEN
                                 : screen >= xcb_setup_roots_length(xcb_get_setup(connection_));
    if (error || no_screen)
        refusal_ = "cannot open display \"" + *name + "\"" +
                   (no_screen ? ": it has no screen " + std::to_string(screen) : "");
}

DisplayProbe::~DisplayProbe() {
    if (connection_)
        xcb_disconnect(connection_); // also after an error, as xcb asks
}

} // namespace platform
