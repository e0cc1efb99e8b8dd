#pragma once

// The shape of a window definition: plain tables that the windows fill in and Form builds from.

#include "platform/colour.h"

#include <optional>

namespace platform {

// What closing a window from its frame does; no handler of the game runs for it.
enum class FrameClose { EndsProgram, Hides };

struct FormDef {
    const char* caption;
    float client_width, client_height; // twips
    float client_left, client_top;     // twips, from the screen's top-left corner
    Colour back;
    FrameClose frame_close;
};

// Where a control stands. The rows of one window are in the order of its definition: within a
// container, an earlier control stands in front of the later ones, and a container comes before
// the controls it holds. A container of nullptr is the window's client area.
struct PlaceDef {
    const char* name;
    const char* container;
    float left, top, width, height; // twips
    int tab_index;
};

struct FontDef {
    const char* family = nullptr; // nullptr: the toolkit's default font
    float points = 0;
    int weight = 400;
    bool italic = false;
    int charset = 0; // 204 Cyrillic; Qt's fonts carry every script, so it only documents
};

// Options of a control beyond its colours and text.
enum Option : unsigned {
    kCentred = 1u << 0,           // text centred instead of left
    kMultiLine = 1u << 1,         // a text box that takes several lines
    kVerticalScrollBar = 1u << 2, // ... with a vertical scroll bar
    kColouredFace = 1u << 3,      // a button that shows its back colour on its face
};

// How a control looks and what it shows at start. Unset colours are the toolkit's defaults.
struct LookDef {
    const char* name = nullptr;
    std::optional<Colour> back = std::nullopt;
    std::optional<Colour> fore = std::nullopt;
    const char* text = nullptr;
    FontDef font = {};
    bool visible = true;
    unsigned options = 0;
};

struct TimerDef {
    const char* name;
    const char* container;
    int interval; // ms
    bool enabled;
};

// A menu title (parent nullptr) or an item under one.
struct MenuDef {
    const char* name;
    const char* parent;
    const char* caption;
};

} // namespace platform
