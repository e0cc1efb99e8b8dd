#include "windows/form1.h"

#include "windows/maze_picture.h"

namespace windows {

namespace {

using platform::FontDef;
using platform::kCentred;
using platform::kColouredFace;
using platform::LookDef;
using platform::MenuDef;
using platform::PlaceDef;
using platform::system_colour;
using platform::TimerDef;

constexpr platform::FormDef kForm{
    .caption = "qex",
    .client_width = 5925,
    .client_height = 2895,
    .client_left = 1800,
    .client_top = 765,
    .back = 0x000000,
    .frame_close = platform::FrameClose::EndsProgram,
};

// Twips; within a container an earlier control stands in front of the later ones.
// clang-format off
constexpr PlaceDef kPlaces[] = {
    // name           container  Left   Top   Width  Height tab
    {"cladd",         nullptr,   7320,  5400, 375,   375,   12},
    {"Picture2",      nullptr,   1680,  1440, 135,   135,   10},
    {"Frame1",        nullptr,   2880,  0,    3255,  2895,  1},
    {"Command3",      "Frame1",  1560,  240,  1455,  375,   5},
    {"Frame3",        "Frame1",  0,     0,    1455,  615,   4},
    {"Text3",         "Frame3",  240,   240,  975,   285,   11},
    {"Frame4",        "Frame1",  0,     1200, 3015,  1695,  2},
    {"ProgressBar1",  "Frame4",  120,   240,  2775,  255,   13},
    {"Label4",        "Frame4",  1800,  1320, 1095,  255,   14},
    {"Label5",        "Frame4",  120,   480,  2775,  1335,  3},
    {"time_cls",      "Frame1",  2040,  600,  735,   615,   9},
    {"Label3",        "Frame1",  360,   960,  375,   255,   8},
    {"Label2",        "Frame1",  0,     720,  1455,  255,   7},
    {"Label1",        "Frame1",  720,   960,  375,   255,   6},
    {"Picture1",      nullptr,   -1200, 120,  11895, 8775,  0},
};
// clang-format on

constexpr platform::Colour kGreen = 0x00FF00;
constexpr platform::Colour kBlue = 0xC00000;
constexpr platform::Colour kDarkGrey = 0x404040;
constexpr platform::Colour kCyan = 0xFFFF00;
constexpr platform::Colour kBlack = 0x000000;
constexpr platform::Colour kRed = 0x0000FF;
constexpr platform::Colour kWindowText = system_colour(8);

constexpr FontDef kHintFont{.family = "MS Serif", .points = 6.75f, .weight = 400, .charset = 204};
constexpr FontDef kCountdownFont{
    .family = "MS Sans Serif", .points = 18, .weight = 700, .charset = 204};

constexpr LookDef kLooks[] = {
    {.name = "cladd", .visible = false},
    {.name = "Picture2", .back = kGreen},
    {.name = "Frame1", .back = kBlack, .text = "Frame1"},
    {.name = "Command3", .back = kBlue, .text = "взорвать стену", .options = kColouredFace},
    {.name = "Frame3", .back = kDarkGrey, .fore = kCyan, .text = "Растояние "},
    {.name = "Text3", .text = "", .options = kCentred},
    {.name = "Frame4", .back = kBlack, .fore = kRed, .text = "Подскзки"},
    {.name = "ProgressBar1"},
    {.name = "Label4", .back = kBlack, .fore = kRed, .text = "НЕТ заряда", .visible = false},
    {.name = "Label5",
     .back = kWindowText,
     .fore = kBlue,
     .text = "Здесь могла быть ваша реклама",
     .font = kHintFont},
    {.name = "time_cls",
     .back = kBlack,
     .fore = kRed,
     .text = "",
     .font = kCountdownFont,
     .visible = false,
     .options = kCentred},
    {.name = "Label3", .back = kBlack, .fore = kCyan, .text = "0", .options = kCentred},
    {.name = "Label2", .back = kBlack, .fore = kCyan, .text = "Затрачено время"},
    {.name = "Label1", .back = kBlack, .fore = kCyan, .text = "0", .options = kCentred},
    {.name = "Picture1"},
};

// ms; each runs from the window's creation.
constexpr TimerDef kTimers[] = {
    {"CLST", "Frame1", 1000, true},
    {"Clok", "Frame1", 1000, true},
    {"Timer1", "Picture1", 1000, true},
};

constexpr MenuDef kMenus[] = {
    {"gam", nullptr, "GAME"},
    {"en", "gam", "exit"},
    {"hel", nullptr, "HELP"},
    {"razr", "hel", "О разработчике"},
};

} // namespace

form1::form1() : Form(kForm) {
    build(kPlaces, kLooks, kTimers, kMenus);
    Picture1.set_picture(maze_picture());

    Clok.on_timer = [this] { Clok_Timer(); };
    CLST.on_timer = [this] { CLST_Timer(); };
    Command3.on_click = [this] { Command3_Click(); };
    en.on_click = [this] { en_Click(); };
    Picture1.on_key_down = [this](std::int16_t& KeyCode, std::int16_t& Shift) {
        Picture1_KeyDown(KeyCode, Shift);
    };
    razr.on_click = [this] { razr_Click(); };
    Timer1.on_timer = [this] { Timer1_Timer(); };
}

} // namespace windows
