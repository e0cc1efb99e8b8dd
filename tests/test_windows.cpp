// The game window as the player first sees it, its definition and start-up, and the definitions
// of the two side windows.

#include "game_fixture.h"
#include "platform/controls.h"
#include "windows/maze_picture.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <bit>
#include <cmath>

using namespace platform;

namespace {

// The text a widget shows, or a menu entry's QMenu or QAction.
QString shown_text(const QObject* object) {
    if (auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    if (auto* line = qobject_cast<const QLineEdit*>(object))
        return line->text();
    if (auto* box = qobject_cast<const QPlainTextEdit*>(object))
        return box->toPlainText();
    if (auto* menu = qobject_cast<const QMenu*>(object))
        return menu->title();
    return qobject_cast<const QAction*>(object)->text();
}

// A generator state and a time of day whose seeding makes draw n (1 or 2) the largest single
// below 1. The seeds tried, 8192 s and a little more, differ in their low 16 bits.
std::pair<quint32, float> seeding_for_largest(int n) {
    for (quint32 state = 0; state < 256; ++state)
        for (quint32 low_bits = 0; low_bits < (1u << 16); ++low_bits) {
            const float seed = std::bit_cast<float>(0x46000000u | low_bits);
            RandomGenerator g;
            g.set_state(state);
            g.randomize(seed);
            float draw = 0;
            for (int i = 0; i < n; ++i)
                draw = g.next();
            if (draw == 1 - 1.0f / (1 << 24))
                return {state, seed};
        }
    return {0, -1};
}

// The client area as the screen shows it, RGB32.
QImage seen_client(GameFixture& game) {
    return game.form().client()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// What the window shows at a point of a control, in fractions of its width and height; 0xRRGGBB.
QRgb seen_at(Form& form, const char* name, QPointF at) {
    form.set_visible(true);
    const QWidget* widget = form.find_control(name)->widget();
    const QPoint local(int(at.x() * (widget->width() - 1)), int(at.y() * (widget->height() - 1)));
    return form.client()->grab().toImage().pixel(widget->mapTo(form.client(), local)) & 0xFFFFFF;
}

constexpr int kEdge = -1;   // stands out from the container's colour
constexpr int kLikeOk = -2; // as the help window's OK button shows at the same place

} // namespace

class TestWindows : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase() { Runtime::get().set_manual_timers(true); }

    void maze_shows_pixel_exact_beside_the_panel() {
        // Through Picture1's border the maze shows unscaled: client (px - 78, py + 10) is maze
        // pixel (px, py); the 8-pixel strip above it is the window's black; the panel Frame1
        // starts at x 192 and reaches 210 twips past the right edge, its controls end 30 inside.
        GameFixture game;
        const QImage seen = seen_client(game);
        QCOMPARE(seen.size(), QSize(395, 193));
        QString wrong;
        for (int y = 0; y < 193; ++y)
            for (int x = 0; x < 192; ++x) {
                if (QRect(112, 96, 9, 9).contains(x, y) || y == 8 || y == 9) // square, border
                    continue;
                const QRgb want =
                    y < 8 ? qRgb(0, 0, 0) : windows::maze_picture().pixel(x + 78, y - 10);
                if (seen.pixel(x, y) != want && wrong.isEmpty())
                    wrong = QStringLiteral("client (%1, %2)").arg(x).arg(y);
            }
        QCOMPARE(wrong, QString());
        const Control& frame = game.form().Frame1;
        QCOMPARE(frame.left() + frame.width() - 5925, 210.f);
        QCOMPARE(frame.widget()->geometry().right(), 395 + 14 - 1);
        for (const char* name : {"Command3", "Frame4"}) {
            const QWidget* inside = game.form().find_control(name)->widget();
            QCOMPARE(inside->mapTo(game.form().client(), inside->rect().topRight()).x(), 395 - 3);
        }
    }

    void square_is_a_sunken_box_with_a_green_field() {
        // Picture2: 9 x 9 pixels at client (112, 96), a 2-pixel sunken border, 5 x 5 green inside.
        GameFixture game;
        const QImage seen = seen_client(game);
        for (int y = 96; y < 105; ++y)
            for (int x = 112; x < 121; ++x)
                QCOMPARE(seen.pixel(x, y) == qRgb(0, 255, 0), QRect(114, 98, 5, 5).contains(x, y));
        // Sunken: dark along the top and left, light along the bottom and right.
        QVERIFY(qGray(seen.pixel(112, 96)) < qGray(seen.pixel(120, 104)));
        QVERIFY(qGray(seen.pixel(113, 97)) < qGray(seen.pixel(119, 103)));
    }

    void at_start_nothing_is_measured_yet_and_the_maze_has_the_focus() {
        // Before any step or tick: empty readout, bar at 0, clock "0" "0", the placeholder hint.
        GameFixture game;
        auto& f = game.form();
        QCOMPARE(f.caption(), QStringLiteral("qex"));
        QVERIFY(f.visible() && f.widget()->isVisible());
        QCOMPARE(f.Text3.text(), QString());
        QCOMPARE(f.ProgressBar1.value(), 0.f);
        const QImage bar = f.ProgressBar1.widget()->grab().toImage(); // no fill inside its edge
        QVERIFY(bar.pixelColor(1, bar.height() / 2) !=
                f.ProgressBar1.widget()->palette().color(QPalette::Highlight));
        QCOMPARE(f.Label1.caption(), QStringLiteral("0"));
        QCOMPARE(f.Label3.caption(), QStringLiteral("0"));
        QCOMPARE(f.Label5.caption(), QStringLiteral("Здесь могла быть ваша реклама"));
        QVERIFY(!f.Label4.visible() && !f.Label4.widget()->isVisible());
        QVERIFY(!f.time_cls.visible() && !f.time_cls.widget()->isVisible());
        QVERIFY(f.Picture1.has_focus());
        for (auto [name, caption] : {std::pair{"gam", "GAME"},
                                     {"en", "exit"},
                                     {"hel", "HELP"},
                                     {"razr", "О разработчике"}})
            QCOMPARE(shown_text(f.find_menu(name)->qt_object()).toUtf8(), QByteArray(caption));
    }

    void place_table_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("container");
        QTest::addColumn<QRectF>("twips");
        QTest::addColumn<QByteArray>("text"); // as shown; empty for the boxes and the bar
        // clang-format off
        const std::tuple<const char*, const char*, QRectF, const char*> rows[] = {
            {"cladd",        "",       {7320, 5400, 375, 375},     ""},
            {"Picture2",     "",       {1680, 1440, 135, 135},     ""},
            {"Frame1",       "",       {2880, 0, 3255, 2895},      "Frame1"},
            {"Command3",     "Frame1", {1560, 240, 1455, 375},     "взорвать стену"},
            {"Frame3",       "Frame1", {0, 0, 1455, 615},          "Растояние "},
            {"Text3",        "Frame3", {240, 240, 975, 285},       ""},
            {"Frame4",       "Frame1", {0, 1200, 3015, 1695},      "Подскзки"},
            {"ProgressBar1", "Frame4", {120, 240, 2775, 255},      ""},
            {"Label4",       "Frame4", {1800, 1320, 1095, 255},    "НЕТ заряда"},
            {"Label5",       "Frame4", {120, 480, 2775, 1335},     "Здесь могла быть ваша реклама"},
            {"time_cls",     "Frame1", {2040, 600, 735, 615},      ""},
            {"Label3",       "Frame1", {360, 960, 375, 255},       "0"},
            {"Label2",       "Frame1", {0, 720, 1455, 255},        "Затрачено время"},
            {"Label1",       "Frame1", {720, 960, 375, 255},       "0"},
            {"Picture1",     "",       {-1200, 120, 11895, 8775},  ""},
        };
        // clang-format on
        for (const auto& [name, container, twips, text] : rows)
            QTest::newRow(name) << QByteArray(name) << QByteArray(container) << twips
                                << QByteArray(text);
    }
    void place_table() {
        // Each control stands in its container where the definition puts it, in twips, with its
        // widget on the same whole pixels, and shows its text byte for byte.
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, container);
        QFETCH(QRectF, twips);
        QFETCH(QByteArray, text);
        game::form1 fresh; // the definition alone, before start-up moves cladd
        const Control* control = fresh.find_control(name.constData());
        // Exactly: Qt Test would compare single floats to about 5 digits only.
        QCOMPARE(
            QList<double>({control->left(), control->top(), control->width(), control->height()}),
            QList<double>({twips.x(), twips.y(), twips.width(), twips.height()}));
        const Control* holder = container.isEmpty() ? nullptr : fresh.find_control(container);
        QCOMPARE(control->widget()->parentWidget(), holder ? holder->widget() : fresh.client());
        QCOMPARE(QRectF(control->widget()->geometry()),
                 QRectF(twips.topLeft() / 15, twips.size() / 15));
        if (const auto* frame = dynamic_cast<const platform::Frame*>(control))
            QCOMPARE(frame->caption().toUtf8(), text);
        else if (!text.isEmpty() || qobject_cast<QLabel*>(control->widget()))
            QCOMPARE(shown_text(control->widget()).toUtf8(), text);
    }

    void start_up_fields() {
        // Start-up gives 3 blasts and leaves the other ten fields at 0.
        GameFixture game;
        const auto& f = game.form();
        QCOMPARE(int(f.charges), 3);
        for (const int field :
             {f.pix_down, f.pix_left, f.pix_up, f.pix_right, int(f.sec_count), int(f.min_count),
              int(f.cls_count), int(f.dist_x), int(f.dist_y), f.dist_sq})
            QCOMPARE(field, 0);
    }

    void treasure_place_from_the_generator_data() {
        QTest::addColumn<quint32>("state"); // before the seeding
        QTest::addColumn<float>("seed");    // the time of day
        QTest::addColumn<double>("top");    // NaN: what the first draw gives
        QTest::addColumn<double>("left");   // NaN: what the second draw gives
        const auto [state1, seed1] = seeding_for_largest(1);
        const auto [state2, seed2] = seeding_for_largest(2);
        QTest::newRow("some draws") << quint32(0x345678) << 43210.5f << double(NAN) << double(NAN);
        QTest::newRow("largest first") << state1 << seed1 << 5000 - 1.0 / 2048 << double(NAN);
        QTest::newRow("largest second") << state2 << seed2 << double(NAN) << 10000 - 1.0 / 1024;
    }
    void treasure_place_from_the_generator() {
        // The same seeding gives the same place: the first draw x 5000 as cladd's Top, the
        // second x 10000 as its Left, each rounded once to a single and kept with its fraction.
        QFETCH(quint32, state);
        QFETCH(float, seed);
        QFETCH(double, top);
        QFETCH(double, left);
        QVERIFY(seed > 0);
        RandomGenerator draws;
        draws.set_state(state);
        draws.randomize(seed);
        const double r1 = draws.next(), r2 = draws.next();
        const double want_top = std::isnan(top) ? float(r1 * 5000) : top;
        const double want_left = std::isnan(left) ? float(r2 * 10000) : left;
        for (int run = 0; run < 2; ++run) {
            random_generator().set_state(state);
            GameFixture game(seed);
            QCOMPARE(double(game.form().cladd.top()), want_top);
            QCOMPARE(double(game.form().cladd.left()), want_left);
        }
    }

    void control_colours_data() {
        QTest::addColumn<bool>("help"); // in the help window, else the game window
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QList<QPointF>>("at"); // fractions of the control's width and height
        QTest::addColumn<int>("want");          // 0xRRGGBB the table gives, or kEdge, kLikeOk
        QTest::addColumn<int>("around");        // 0xRRGGBB of the container, for kEdge
        const QList<QPointF> edges{{0, 0.5}, {0.5, 0}};
        QTest::newRow("Text3 edge on Frame3")
            << false << QByteArray("Text3") << edges << kEdge << 0x404040;
        QTest::newRow("ProgressBar1 edge on Frame4")
            << false << QByteArray("ProgressBar1") << edges << kEdge << 0x000000;
        QTest::newRow("help Text1 edge on the window")
            << true << QByteArray("Text1") << edges << kEdge << 0x000000;
        QTest::newRow("Command3 edge like the OK buttons")
            << false << QByteArray("Command3") << edges << kLikeOk << 0;
        QTest::newRow("Frame3 dark grey")
            << false << QByteArray("Frame3") << QList<QPointF>{{0.05, 0.5}} << 0x404040 << 0;
        QTest::newRow("Command3 blue face")
            << false << QByteArray("Command3") << QList<QPointF>{{0.05, 0.2}, {0.95, 0.2}}
            << 0x0000C0 << 0;
        QTest::newRow("Label5 on window-text colour")
            << false << QByteArray("Label5") << QList<QPointF>{{0.97, 0.85}} << 0x000000 << 0;
    }
    void control_colours() {
        // A colour the table leaves unset is the toolkit's default, so an edge stands out from a
        // dark container and the blast button's edge is every button's; the table's colours show
        // as given.
        QFETCH(bool, help);
        QFETCH(QByteArray, name);
        QFETCH(QList<QPointF>, at);
        QFETCH(int, want);
        QFETCH(int, around);
        GameFixture game;
        Form& form = help ? static_cast<Form&>(instance<game::form2_help>()) : game.form();
        for (const QPointF& f : at) {
            const QRgb got = seen_at(form, name, f);
            const QString where = QStringLiteral("%1 at %2, %3 is %4")
                                      .arg(name.constData())
                                      .arg(f.x())
                                      .arg(f.y())
                                      .arg(got, 6, 16, QLatin1Char('0'));
            if (want == kEdge)
                QVERIFY2(std::abs(qGray(got) - qGray(QRgb(around))) >= 48, qPrintable(where));
            else if (want == kLikeOk)
                QCOMPARE(got, seen_at(instance<game::form2_help>(), "Command1", f));
            else
                QVERIFY2(got == QRgb(want), qPrintable(where));
        }
    }

    void finish_label_reads_in_a_palatino() {
        // "ВЫ ЕГО НАШЛИ" takes a Palatino design where the machine has one, and fits its box.
        GameFixture game;
        const QWidget* label = instance<game::Form2>().find_control("Label1")->widget();
        const QFontInfo info(label->font());
        QVERIFY(info.bold() && info.italic());
        QVERIFY2(QFontMetrics(label->font()).horizontalAdvance(QStringLiteral("ВЫ ЕГО НАШЛИ")) <=
                     label->width(),
                 qPrintable(info.family()));
        if (!QFontDatabase::hasFamily(QStringLiteral("P052")))
            QSKIP("no Palatino design on this machine");
        QVERIFY2(info.family().startsWith(QStringLiteral("P052")), qPrintable(info.family()));
    }

    void side_windows_data() {
        QTest::addColumn<bool>("finish");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QByteArray>("text_name");
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("Form2") << true << "FIHISH" << QSize(303, 104) << QByteArray("Label1")
                               << QByteArray("ВЫ ЕГО НАШЛИ");
        QTest::newRow("form2_help")
            << false << "Help" << QSize(223, 240) << QByteArray("Text1") << QByteArray("Сама пиши");
    }
    void side_windows() {
        // Each side window as defined; its OK button takes the focus but is no default button.
        QFETCH(bool, finish);
        QFETCH(QString, caption);
        QFETCH(QSize, client);
        QFETCH(QByteArray, text_name);
        QFETCH(QByteArray, text);
        GameFixture game;
        Form& form = finish ? static_cast<Form&>(instance<game::Form2>())
                            : static_cast<Form&>(instance<game::form2_help>());
        QCOMPARE(form.caption(), caption);
        QCOMPARE(form.client()->size(), client);
        QCOMPARE(shown_text(form.find_control(text_name)->widget()).toUtf8(), text);
        auto* ok = qobject_cast<QPushButton*>(form.find_control("Command1")->widget());
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        form.set_visible(true);
        QCOMPARE(form.widget()->focusWidget(), ok);
        QVERIFY(!ok->isDefault() && !ok->autoDefault());
    }
};

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
