#pragma once

#include <array>

namespace game {

// The hint panel's text for each minute of the clock, "0" to "6", in UTF-8.
extern const std::array<const char*, 7> kHints;

} // namespace game
