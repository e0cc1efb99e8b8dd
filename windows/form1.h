#pragma once

// The game window: the maze box with the player's square over it, the hidden treasure box, the
// status panel, three one-second timers and the menu bar. Its fields hold the whole game state.

#include "platform/controls.h"
#include "platform/form.h"

#include <cstdint>

namespace windows {

class form1 : public platform::Form {
  public:
    form1();

    // Controls, in the order of the definition.
    platform::PictureBox cladd{*this, "cladd"};
    platform::PictureBox Picture2{*this, "Picture2"};
    platform::Frame Frame1{*this, "Frame1"};
    platform::CommandButton Command3{*this, "Command3"};
    platform::Frame Frame3{*this, "Frame3"};
    platform::TextBox Text3{*this, "Text3"};
    platform::Frame Frame4{*this, "Frame4"};
    platform::ProgressBar ProgressBar1{*this, "ProgressBar1"};
    platform::Label Label4{*this, "Label4"};
    platform::Label Label5{*this, "Label5"};
    platform::Label time_cls{*this, "time_cls"};
    platform::Label Label3{*this, "Label3"};
    platform::Label Label2{*this, "Label2"};
    platform::Label Label1{*this, "Label1"};
    platform::PictureBox Picture1{*this, "Picture1"};

    platform::Timer CLST{*this, "CLST"};
    platform::Timer Clok{*this, "Clok"};
    platform::Timer Timer1{*this, "Timer1"};

    platform::MenuItem gam{*this, "gam"};
    platform::MenuItem en{*this, "en"};
    platform::MenuItem hel{*this, "hel"};
    platform::MenuItem razr{*this, "razr"};

    // The game state, in the order of declaration; all 0 when the window is made.
    std::int32_t pix_down = 0;  // colour value under the down probe point
    std::int32_t pix_left = 0;  // ... the left probe point
    std::int32_t pix_up = 0;    // ... the up probe point
    std::int32_t pix_right = 0; // ... the right probe point
    std::int16_t sec_count = 0; // seconds of the clock
    std::int16_t min_count = 0; // minutes of the clock
    std::int16_t cls_count = 0; // radius counter of a blast, then the countdown to clearing it
    std::int16_t dist_x = 0;    // absolute horizontal difference, square to treasure, twips
    std::int16_t dist_y = 0;    // absolute vertical difference, twips
    std::int32_t dist_sq = 0;   // squared distance, square twips
    std::int16_t charges = 0;   // blasts left

  protected:
    // The event handlers: the game's code.
    virtual void Clok_Timer() = 0;
    virtual void CLST_Timer() = 0;
    virtual void Command3_Click() = 0;
    virtual void en_Click() = 0;
    virtual void Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) = 0;
    virtual void razr_Click() = 0;
    virtual void Timer1_Timer() = 0;
};

} // namespace windows
