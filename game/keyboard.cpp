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

// The maze and the treasure slide together the opposite way, so the square travels the maze:
// first Picture1, then cladd, each position read and written back with the step added, then the
// distance.
void form1::slide_top(float step) {
    Picture1.set_top(to_single(fp_check(double(Picture1.top()) + double(step))));
    cladd.set_top(to_single(fp_check(double(cladd.top()) + double(step))));
    RastClad();
}

void form1::slide_left(float step) {
    Picture1.set_left(to_single(fp_check(double(Picture1.left()) + double(step))));
    cladd.set_left(to_single(fp_check(double(cladd.left()) + double(step))));
    RastClad();
}

void form1::Up() {
    slide_top(kStep);
}

void form1::down() {
    slide_top(-kStep);
}

void form1::Lef() {
    slide_left(kStep);
}

void form1::Righ() {
    slide_left(-kStep);
}

void form1::Timer1_Timer() {
    Picture1.set_focus();
}

} // namespace game
