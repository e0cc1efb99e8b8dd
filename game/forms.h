#pragma once

// The game's code: the event handlers and private procedures of its three windows.

#include "windows/form1.h"
#include "windows/side_windows.h"

#include <cstdint>

namespace game {

class form1 : public windows::form1 {
  public:
    void Form_Load() override;

    // Event handlers.
    void Clok_Timer() override;
    void CLST_Timer() override;
    void Command3_Click() override;
    void en_Click() override;
    void Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) override;
    void razr_Click() override;
    void Timer1_Timer() override;

    // The window's procedures, open to the tests.
    void vzrvv();
    void Up();
    void down();
    void Lef();
    void Righ();
    void prov();
    void zachistka();
    void helpp();
    void RastClad();

  private:
    struct MazePoint {
        float x, y; // twips in Picture1's drawing area
    };
    // The square's Maze point plus an offset, from the four positions read afresh.
    MazePoint square_point(float x_offset, float y_offset);
    // A step: the maze and the treasure move by the same amount, then the distance is shown.
    void slide_top(float step);
    void slide_left(float step);
};

class Form2 : public windows::Form2 {
  protected:
    void Command1_Click() override;
};

class form2_help : public windows::form2_help {
  protected:
    void Command1_Click() override;
};

} // namespace game
