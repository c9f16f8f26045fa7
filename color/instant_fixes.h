// The instant corrections of the colour editor (I): seven fixed repairs of a colour table that
// bring related elements into line.
#pragma once

#include <string_view>

#include "color/color_set.h"

namespace vondal {

inline constexpr int kInstantFixCount = 7;

// The text the list shows for fix 0-6.
std::string_view InstantFixText(int fix);

// Applies fix 0-6 to `table`; true when that changed anything.
bool ApplyInstantFix(int fix, ColorTable& table);

// Whether the fix would change the table (the list shows a digit only for those).
bool InstantFixChanges(int fix, const ColorTable& table);

}  // namespace vondal
