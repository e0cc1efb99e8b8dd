// qex: the maze game. Starts the forms run time with the game window.

#include "game/forms.h"
#include "platform/controls.h"
#include "platform/display.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QFont>

#include <cstdio>
#include <memory>

int main(int argc, char** argv) {
    // Without a display Qt aborts in several lines; say why in one line instead.
    auto probe = std::make_unique<platform::DisplayProbe>(argc, argv);
    if (!probe->refusal().empty()) {
        std::fprintf(stderr, "qex: %s\n", probe->refusal().c_str());
        return 2;
    }
    QApplication app(argc, argv);
    probe.reset(); // only once Qt has connected
    QApplication::setApplicationName(QStringLiteral("qex"));
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(platform::default_font());

    platform::Runtime& runtime = platform::Runtime::get();
    if (platform::start<game::form1>())
        app.exec();
    const int status = runtime.exit_status();
    runtime.reset(); // the windows go before the application does
    return status;
}
