// The wall blast and the countdown that brings the walls back.

#include "game/forms.h"

#include "platform/numeric.h"

namespace game {

using namespace platform;

void form1::Command3_Click() {
    vzrvv();
}

void form1::vzrvv() {
    if (charges <= 0) {
        Label4.set_visible(true);
        return;
    }
    charges = checked_dec(charges);

    // Red rings outward, then white rings inward over them: a white disc of 400 twips.
    cls_count = 1;
    while (cls_count <= 400) {
        const MazePoint centre = square_point(0, 0);
        Picture1.draw_circle(centre.x, centre.y, float(cls_count), 255);
        cls_count = checked_inc(cls_count);
    }
    cls_count = 400;
    while (cls_count >= 1) {
        const MazePoint centre = square_point(0, 0);
        Picture1.draw_circle(centre.x, centre.y, float(cls_count), 16777215);
        cls_count = checked_dec(cls_count);
    }
    zachistka();
}

void form1::zachistka() {
    cls_count = 5;
    time_cls.set_visible(true); // still showing the digits it last held, until the next tick
    CLST.set_enabled(true);
}

void form1::CLST_Timer() {
    cls_count = checked_dec(cls_count);
    time_cls.set_caption(int_text(cls_count));
    if (cls_count == 0) {
        time_cls.set_visible(false);
        Picture1.clear_drawings();
        CLST.set_enabled(false);
    }
}

} // namespace game
