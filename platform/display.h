#pragma once

#include <functional>
#include <optional>
#include <string>

struct xcb_connection_t;

namespace platform {

// The X display that Qt's xcb platform will open for these arguments and this environment: the
// last `-display NAME` (or `--display NAME`) that names one, else DISPLAY; "" when neither does.
// None when Qt will not start on xcb alone (`-platform NAME` or `--platform NAME`, else
// QT_QPA_PLATFORM, names another platform or a list of them, or a Wayland session lets Qt try
// Wayland first): that choice and its checks are Qt's.
std::optional<std::string> xcb_display(int argc, const char* const* argv,
                                       const std::function<const char*(const char*)>& getenv);

// QApplication aborts, with several lines and status 134, when its xcb platform cannot open its
// display. The probe opens the same display first and the same screen on it. Its connection
// stays open until Qt has connected: were it the server's only client, closing it first would
// reset the server under Qt's connection.
class DisplayProbe {
  public:
    DisplayProbe(int argc, const char* const* argv);
    ~DisplayProbe();
    DisplayProbe(const DisplayProbe&) = delete;
    DisplayProbe& operator=(const DisplayProbe&) = delete;

    // Why Qt cannot open its display, as one line for the player; empty when it can.
    const std::string& refusal() const { return refusal_; }

  private:
    std::string refusal_;
    xcb_connection_t* connection_ = nullptr;
};

} // namespace platform
