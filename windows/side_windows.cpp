#include "windows/side_windows.h"

namespace windows {

namespace {

using platform::FontDef;
using platform::LookDef;
using platform::PlaceDef;
using platform::system_colour;

constexpr platform::FormDef kForm2{
    .caption = "FIHISH",
    .client_width = 4545,
    .client_height = 1560,
    .client_left = 45,
    .client_top = 285,
    .back = 0x000000,
    // With the game window hidden for good, nothing would be left on the screen.
    .frame_close = platform::FrameClose::EndsProgram,
};

// clang-format off
constexpr PlaceDef kForm2Places[] = {
    // name       container Left  Top   Width Height tab
    {"Label1",    nullptr,  240,  240,  4095, 615,   0},
    {"Command1",  nullptr,  1560, 1080, 1455, 375,   1},
};
// clang-format on

constexpr FontDef kFinishFont{
    .family = "Palatino Linotype", .points = 24, .weight = 700, .italic = true, .charset = 204};

constexpr LookDef kForm2Looks[] = {
    {.name = "Label1",
     .back = system_colour(18),
     .fore = 0x0000FF,
     .text = "ВЫ ЕГО НАШЛИ",
     .font = kFinishFont},
    // The dark grey is stored, but a button of the default style shows the toolkit's face.
    {.name = "Command1", .back = 0x404040, .text = "OK"},
};

constexpr platform::FormDef kHelp{
    .caption = "Help",
    .client_width = 3345,
    .client_height = 3600,
    .client_left = 45,
    .client_top = 285,
    .back = 0x000000,
    .frame_close = platform::FrameClose::Hides,
};

// clang-format off
constexpr PlaceDef kHelpPlaces[] = {
    // name       container Left  Top   Width Height tab
    {"Text1",     nullptr,  0,    0,    3375, 3015,  1},
    {"Command1",  nullptr,  960,  3120, 1215, 375,   0},
};
// clang-format on

constexpr LookDef kHelpLooks[] = {
    {.name = "Text1",
     .back = system_colour(10),
     .text = "Сама пиши",
     .options = platform::kMultiLine | platform::kVerticalScrollBar},
    {.name = "Command1", .text = "OK"},
};

} // namespace

Form2::Form2() : Form(kForm2) {
    build(kForm2Places, kForm2Looks);
    Command1.on_click = [this] { Command1_Click(); };
}

form2_help::form2_help() : Form(kHelp) {
    build(kHelpPlaces, kHelpLooks);
    Command1.on_click = [this] { Command1_Click(); };
}

} // namespace windows
