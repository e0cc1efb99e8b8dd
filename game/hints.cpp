#include "game/hints.h"

namespace game {

// One hint for each minute "0" to "6", exactly as the game shows them: the double blanks and
// the trailing blanks are part of the texts.
// clang-format off
const std::array<const char*, 7> kHints = {
    "Вы сделали правильный выбор, приобретя игру MIRTOVAK.  В этом окошке по ходу игры будtn появляться всякая  [хр..ь] чтобы небыло скучно. ", // 136 characters
    "Вы должны за меньший интервал времени найти (клад)", // 50 characters
    "Над этим сообщением, как вы  наверное  заметили, находиться  кнопачка уничтожение стен она одна так-что непромахнетесь ну в крайнем случае воспользуйтесь правый(Ctrl) ", // 167 characters
    "Взрывать стену можно 3 раза", // 27 characters
    "Если вы неуспеете в течение 5 с пробежать сквозь стену она закроется ", // 69 characters
    "Будте акуратны при прохождение через стены назад выхода может небыть к стати бывают и осечки", // 92 characters
    "Ну если за 6 минут ненашли клад извените меня но ВЫ ДАУН я дам ещё минутку но неболее", // 85 characters
};
// clang-format on

} // namespace game
