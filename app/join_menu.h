// Join read from the main menu: the file name asked for, then both passes over the file.
#pragma once

namespace vondal {

struct RunState;

// Returns 0 (back to the main menu).
int RunJoinMenu(RunState& run);

}  // namespace vondal
