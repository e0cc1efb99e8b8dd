// The keyboard: the key handler of the maze, the four steps and the focus keeper.

#include "game/forms.h"

#include "platform/numeric.h"
#include "platform/runtime.h"

namespace game {

using namespace platform;

namespace {
constexpr float kStep = 50; // twips
} // namespace

void form1::Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& /*Shift*/) {
    prov();
    switch (KeyCode) {
    case 17: // Ctrl
        vzrvv();
        break;
    case 27: // Esc
        end_program();
    case 37: // Left
        if (pix_left != 0)
            Lef();
        break;
    case 38: // Up
        if (pix_up != 0)
            Up();
        break;
    case 39: // Right
        if (pix_right != 0)
            Righ();
        break;
    case 40: // Down
        if (pix_down != 0)
            down();
        break;
    case 88: // X
        charges = 1000;
        break;
    default:
        break;
    }
}

float form1::moved(float position, float step) {
    return to_single(fp_check(double(position) + double(step)));
}

// The maze and the treasure slide together the opposite way, so the square travels the maze.
void form1::Up() {
    Picture1.set_top(moved(Picture1.top(), kStep));
    cladd.set_top(moved(cladd.top(), kStep));
    RastClad();
}

void form1::down() {
    Picture1.set_top(moved(Picture1.top(), -kStep));
    cladd.set_top(moved(cladd.top(), -kStep));
    RastClad();
}

void form1::Lef() {
    Picture1.set_left(moved(Picture1.left(), kStep));
    cladd.set_left(moved(cladd.left(), kStep));
    RastClad();
}

void form1::Righ() {
    Picture1.set_left(moved(Picture1.left(), -kStep));
    cladd.set_left(moved(cladd.left(), -kStep));
    RastClad();
}

void form1::Timer1_Timer() {
    Picture1.set_focus();
}

} // namespace game
