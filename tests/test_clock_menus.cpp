// The clock and its hints, tick by tick to the seven-minute end; the menu bar; the help window.

#include "game/hints.h"
#include "game_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

namespace {

QString hint(int minute) {
    return QString::fromUtf8(game::kHints[size_t(minute)]);
}
game::form2_help& help() {
    return platform::instance<game::form2_help>();
}
// A step down that ends 150 twips from the treasure: the win.
void win(GameFixture& fx) {
    fx.place_treasure_at_difference(0, -200);
    fx.form().Picture1.key_down(40);
}

// What the labels show after each tick: ticks first..last, the hint of a minute, Label3.
struct ClockRow {
    int first, last, hint;
    const char* minute;
};
constexpr ClockRow kClock[] = {
    {1, 59, 0, "0"},    {60, 60, 0, "1"},   {61, 119, 1, "1"},  {120, 120, 1, "2"},
    {121, 179, 2, "2"}, {180, 180, 2, "3"}, {181, 239, 3, "3"}, {240, 240, 3, "4"},
    {241, 299, 4, "4"}, {300, 300, 4, "5"}, {301, 359, 5, "5"}, {360, 360, 5, "6"},
    {361, 419, 6, "6"}, {420, 420, 6, "7"},
};

} // namespace

class TestClockMenus : public QObject {
    Q_OBJECT

  private slots:
    void clock_table() {
        // Seconds read 1..60, a new minute's hint comes one tick late, tick 420 ends the program.
        GameFixture fx;
        game::form1& f = fx.form();
        QCOMPARE(f.Label5.caption(), QString("Здесь могла быть ваша реклама"));
        QCOMPARE(f.Label1.caption() + f.Label3.caption(), QString("00"));
        for (const ClockRow& row : kClock) {
            for (int tick = row.first; tick <= row.last; ++tick) {
                QVERIFY(!fx.ended());
                if (tick == 420)
                    f.Label5.set_caption("-"); // the last tick writes hint "6" once more
                f.Clok.fire();
                const int seconds = (tick - 1) % 60 + 1;
                QCOMPARE(QString("%1: %2 %3").arg(tick).arg(f.Label1.caption(), f.Label3.caption()),
                         QString("%1: %2 %3").arg(tick).arg(seconds).arg(row.minute));
                QVERIFY2(f.Label5.caption() == hint(row.hint), qPrintable(QString::number(tick)));
            }
        }
        QVERIFY(fx.ended());
        QCOMPARE(fx.end_status, std::optional<int>(0));
    }

    void hint_texts_data() {
        QTest::addColumn<int>("length"); // the row's tag is the minute
        QTest::addColumn<int>("double_blanks");
        QTest::addColumn<bool>("trailing_blank");
        QTest::addColumn<QString>("text"); // word for word, blanks included
        // clang-format off
        QTest::newRow("0") << 136 << 2 << true << QString("Вы сделали правильный выбор, приобретя игру MIRTOVAK.  В этом окошке по ходу игры будtn появляться всякая  [хр..ь] чтобы небыло скучно. ");
        QTest::newRow("1") << 50 << 0 << false << QString("Вы должны за меньший интервал времени найти (клад)");
        QTest::newRow("2") << 167 << 3 << true << QString("Над этим сообщением, как вы  наверное  заметили, находиться  кнопачка уничтожение стен она одна так-что непромахнетесь ну в крайнем случае воспользуйтесь правый(Ctrl) ");
        QTest::newRow("3") << 27 << 0 << false << QString("Взрывать стену можно 3 раза");
        QTest::newRow("4") << 69 << 0 << true << QString("Если вы неуспеете в течение 5 с пробежать сквозь стену она закроется ");
        QTest::newRow("5") << 92 << 0 << false << QString("Будте акуратны при прохождение через стены назад выхода может небыть к стати бывают и осечки");
        QTest::newRow("6") << 85 << 0 << false << QString("Ну если за 6 минут ненашли клад извените меня но ВЫ ДАУН я дам ещё минутку но неболее");
        // clang-format on
    }
    void hint_texts() {
        // Each hint word for word; its length, double blanks and trailing blank hold the typed
        // words to what the game must show.
        QFETCH(int, length);
        QFETCH(int, double_blanks);
        QFETCH(bool, trailing_blank);
        QFETCH(QString, text);
        QCOMPARE(hint(QString(QTest::currentDataTag()).toInt()), text);
        QCOMPARE(text.size(), length);
        QCOMPARE(text.count(QStringLiteral("  ")), double_blanks);
        QCOMPARE(text.endsWith(' '), trailing_blank);
        QVERIFY(!text.startsWith(' ') && !text.contains(QStringLiteral("   ")));
    }

    void hint_follows_label3_exactly_data() {
        QTest::addColumn<QString>("label3");
        QTest::addColumn<int>("hint"); // -1: Label5 keeps what it showed
        QTest::newRow("0") << "0" << 0;
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("6") << "6" << 6;
        for (const char* other : {"7", "-1", "01", " 1", "1 ", "1.0", "", "２", "٤"})
            QTest::addRow("'%s'", other) << QString::fromUtf8(other) << -1;
    }
    void hint_follows_label3_exactly() {
        // helpp shows the hint whose minute text equals Label3's caption, else leaves Label5 alone.
        QFETCH(QString, label3);
        QFETCH(int, hint);
        GameFixture fx;
        game::form1& f = fx.form();
        f.Label5.set_caption("as it was");
        f.Label3.set_caption(label3);
        fx.run([&] { f.helpp(); });
        QCOMPARE(f.Label5.caption(), hint < 0 ? QString("as it was") : ::hint(hint));
        QVERIFY(!fx.ended());
    }

    void clock_runs_on_after_win() {
        // A win stops nothing of the clock: it counts on while hidden and ends at tick 420.
        GameFixture fx;
        game::form1& f = fx.form();
        win(fx);
        QVERIFY(!f.visible() && platform::instance<game::Form2>().visible());
        for (int tick = 1; tick < 420; ++tick)
            f.Clok.fire();
        QCOMPARE(f.Label1.caption() + f.Label3.caption(), QString("596"));
        QVERIFY(!fx.ended());
        f.Clok.fire();
        QCOMPARE(fx.end_status, std::optional<int>(0));
    }

    void menu_captions() {
        // Two menus of one item each, captions exactly as defined, no shortcuts.
        GameFixture fx;
        QStringList captions;
        for (QAction* menu : fx.form().menu_bar()->actions()) {
            captions << menu->text();
            for (QAction* item : menu->menu()->actions()) {
                captions << item->text();
                QVERIFY(item->isEnabled() && !item->isCheckable() && item->shortcut().isEmpty());
            }
        }
        QCOMPARE(captions, QStringList({"GAME", "exit", "HELP", "О разработчике"}));
    }

    void help_window_is_one_window() {
        // One help window: shown by razr, hidden by OK or its frame, shown again as it was left.
        GameFixture fx;
        game::form1& f = fx.form();
        f.razr.click();
        game::form2_help* const first = &help();
        f.razr.click();
        QCOMPARE(&help(), first);
        QCOMPARE(platform::Runtime::get().forms().size(), size_t(2));
        QVERIFY(help().visible() && help().widget()->isVisible());
        help().Text1.set_text("kept");
        help().Command1.click();
        QVERIFY(!help().visible() && !help().widget()->isVisible());
        f.razr.click();
        QVERIFY(&help() == first && help().widget()->isVisible());
        QCOMPARE(help().Text1.text(), QString("kept"));
        help().widget()->close();
        QVERIFY(!help().widget()->isVisible() && !fx.ended());
        f.razr.click();
        QVERIFY(help().visible() && help().widget()->isVisible());
        QCOMPARE(help().Text1.text(), QString("kept"));
        QVERIFY(f.visible() && !fx.ended());
    }

    void help_window_when_game_ends_data() {
        QTest::addColumn<QString>("event");
        QTest::newRow("exit") << "exit";
        QTest::newRow("seven minutes") << "clock";
        QTest::newRow("win") << "win";
    }
    void help_window_when_game_ends() {
        // With the help window shown, exit and the clock end everything; a win leaves it shown.
        QFETCH(QString, event);
        const bool ends = event != "win";
        GameFixture fx;
        game::form1& f = fx.form();
        f.razr.click();
        if (event == "exit")
            f.en.click();
        else if (event == "clock")
            for (int tick = 0; tick < 420; ++tick)
                f.Clok.fire();
        else
            win(fx);
        QCOMPARE(fx.end_status, ends ? std::optional<int>(0) : std::nullopt);
        QCOMPARE(help().widget()->isVisible(), !ends);
        QVERIFY(!f.widget()->isVisible());
        int windows_shown = 0;
        for (platform::Form* window : platform::Runtime::get().forms())
            windows_shown += window->widget()->isVisible();
        QCOMPARE(windows_shown, ends ? 0 : 2); // after a win: the finish and the help window
    }

    void esc_on_help_window_does_nothing() {
        // Only the maze's key handler acts on keys: Esc on the help window is no end.
        GameFixture fx;
        fx.form().razr.click();
        QWidget* focused = help().widget()->focusWidget();
        QCOMPARE(focused, help().Command1.widget());
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(focused, &esc);
        QVERIFY(!fx.ended() && help().visible() && help().widget()->isVisible());
    }
};

QTEST_MAIN(TestClockMenus)
#include "test_clock_menus.moc"
