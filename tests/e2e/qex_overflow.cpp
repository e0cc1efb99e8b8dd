// The game as its main runs it, with the run time's own error report and end, and one run-time
// error forced from outside the game's code: the clock's seconds at the top of their range, so
// the first tick of Clok overflows. Prints one line for each message box shown, "title<TAB>text",
// with the text's line breaks as "\n", for the end-to-end test that cannot read the box.

#include "game/forms.h"
#include "platform/runtime.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

namespace {

class BoxPrinter : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (auto* box = qobject_cast<QMessageBox*>(watched); box && event->type() == QEvent::Show) {
            QString text = box->text();
            std::printf("%s\t%s\n", qPrintable(box->windowTitle()),
                        qPrintable(text.replace(QLatin1Char('\n'), QLatin1String("\\n"))));
            std::fflush(stdout);
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    BoxPrinter printer;
    app.installEventFilter(&printer);
    // Runs once the event loop does, after start-up and well before Clok's first tick (1000 ms).
    QTimer::singleShot(0, [] { platform::instance<game::form1>().sec_count = 32767; });
    return platform::run_program<game::form1>(QStringLiteral("qex"));
}
