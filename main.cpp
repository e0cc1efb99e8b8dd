// qex: the maze game. Starts the forms run time with the game window.

#include "game/forms.h"
#include "platform/display.h"
#include "platform/runtime.h"

#include <QApplication>

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
    return platform::run_program<game::form1>(QStringLiteral("qex"));
}
