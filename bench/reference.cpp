// The yardstick of the whole-process figures: the least Qt Widgets program of the game's shape.
// A window with a menu bar (GAME/exit, HELP/about) over a 395 x 193 client area that holds a
// label, a line edit, a progress bar and a button. A key repaints the label (its text counts the
// presses), and a one-second timer rewrites the line edit, as the game's clock rewrites its
// seconds. qex_bench_process watches it as it watches the game: the first frame is the one with
// the label's yellow, a key's pixels are those around the centre of that yellow.

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

class KeyLabel : public QLabel {
  public:
    using QLabel::QLabel;

  protected:
    void keyPressEvent(QKeyEvent* event) override {
        setText(QString::number(++presses_));
        event->accept();
    }

  private:
    int presses_ = 0;
};

void paint(QWidget* widget, Qt::GlobalColor back) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, back);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("reference"));
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* menus = new QMenuBar(&window);
    menus->setNativeMenuBar(false);
    menus->addMenu(QStringLiteral("GAME"))
        ->addAction(QStringLiteral("exit"), &app, &QApplication::quit);
    menus->addMenu(QStringLiteral("HELP"))->addAction(QStringLiteral("about"));
    layout->setMenuBar(menus);

    auto* client = new QWidget(&window);
    client->setFixedSize(395, 193); // pixels, the game window's client area
    paint(client, Qt::black);
    layout->addWidget(client);

    // Where the game shows its maze, beside a panel of the other controls (pixels).
    auto* label = new KeyLabel(QStringLiteral("0"), client);
    label->setGeometry(0, 8, 192, 185);
    label->setAlignment(Qt::AlignCenter);
    paint(label, Qt::yellow);
    label->setFocusPolicy(Qt::StrongFocus);
    auto* edit = new QLineEdit(client);
    edit->setGeometry(208, 16, 65, 19);
    auto* bar = new QProgressBar(client);
    bar->setGeometry(200, 96, 185, 17);
    bar->setRange(0, 15000);
    bar->setValue(0);
    bar->setTextVisible(false);
    auto* button = new QPushButton(QStringLiteral("button"), client);
    button->setGeometry(296, 16, 97, 25);

    QTimer clock;
    int seconds = 0;
    QObject::connect(&clock, &QTimer::timeout, [&] { edit->setText(QString::number(++seconds)); });
    clock.start(1000); // ms

    window.move(120, 320); // below where the game opens: both show in full on one screen
    window.show();
    label->setFocus();
    return app.exec();
}
