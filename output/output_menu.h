// The processing-output menu (">加工出力>") and its sub-menus, from which every output is chosen.
#pragma once

#include "output/output_frame.h"

namespace vondal {

// Runs the menu until the user leaves it: 0 (Q, Esc), 'e' (Enter, or the viewer left with Enter)
// or ":", "@", "^", which the main menu then acts on.
int RunOutputMenu(const OutputContext& context);

}  // namespace vondal
