// The game window's start-up and its menus.

#include "game/forms.h"

#include "platform/numeric.h"
#include "platform/runtime.h"
#include "platform/services.h"

namespace game {

using namespace platform;

void form1::Form_Load() {
    random_generator().randomize(time_of_day());
    charges = 3;
    // The treasure's place, in twips of the client area; the products keep their fractions.
    const float r1 = random_generator().next();
    cladd.set_top(to_single(fp_check(double(r1) * 5000.0)));
    const float r2 = random_generator().next();
    cladd.set_left(to_single(fp_check(double(r2) * 10000.0)));
}

void form1::en_Click() {
    end_program();
}

void form1::razr_Click() {
    instance<game::form2_help>().set_visible(true);
}

void form2_help::Command1_Click() {
    instance<game::form2_help>().set_visible(false);
}

} // namespace game
