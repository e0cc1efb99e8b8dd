// The wall probe, the distance to the treasure, the win and the finish window.

#include "game/forms.h"

#include "platform/numeric.h"
#include "platform/runtime.h"

namespace game {

using namespace platform;

form1::MazePoint form1::square_point(float x_offset, float y_offset) {
    const float picture_left = Picture1.left();
    const float square_left = Picture2.left();
    const float picture_top = Picture1.top();
    const float square_top = Picture2.top();
    const float y = to_single(double(square_top) - double(picture_top) + double(y_offset));
    const float x = to_single(double(square_left) - double(picture_left) + double(x_offset));
    return {x, y};
}

void form1::prov() {
    // Each sample reads the positions afresh and is stored before the next is taken.
    MazePoint point = square_point(0, -50);
    pix_up = Picture1.pixel_at(point.x, point.y);
    point = square_point(25, 110);
    pix_down = Picture1.pixel_at(point.x, point.y);
    point = square_point(-50, 25);
    pix_left = Picture1.pixel_at(point.x, point.y);
    point = square_point(100, 25);
    pix_right = Picture1.pixel_at(point.x, point.y);
}

void form1::RastClad() {
    const float treasure_left = cladd.left();
    const float square_left = Picture2.left();
    dist_x = round_to_i16(fp_check(double(square_left) - double(treasure_left)));
    if (dist_x < 0)
        dist_x = checked_neg(dist_x);

    const float treasure_top = cladd.top();
    const float square_top = Picture2.top();
    dist_y = round_to_i16(fp_check(double(square_top) - double(treasure_top)));
    if (dist_y < 0)
        dist_y = checked_neg(dist_y);

    const double y_squared = power(double(dist_y), 2.0);
    const double x_squared = power(double(dist_x), 2.0);
    dist_sq = round_to_i32(fp_check(y_squared + x_squared));

    Text3.set_text(number_text(int_part(square_root(double(dist_sq)))));
    ProgressBar1.set_value(to_single(fp_check(15000.0 - int_part(square_root(double(dist_sq))))));

    if (text_to_number(Text3.text()) < 200) {
        Text3.set_text(int_text(0));
        instance<game::Form2>().set_visible(true);
        instance<game::form1>().set_visible(false);
        Timer1.set_enabled(false);
    }
    if (text_to_number(Text3.text()) > 14500)
        end_program();
}

void Form2::Command1_Click() {
    end_program();
}

} // namespace game
