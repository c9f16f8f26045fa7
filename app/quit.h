// The orderly end of the main program (Q in the main menu).
#pragma once

#include <optional>

namespace vondal {

struct RunState;

// Shown when quit saved everything, and printed once more on the terminal it gives back.
inline constexpr char kNormalEnd[] = "正常終了";

// Asks for Enter first under the `diehard` toggle, saves the colour sets and macros where
// changed and the index, and shows "正常終了" when nothing failed. Returns the exit status (1
// when a save failed), or nothing when the user chose to go back to the main menu.
std::optional<int> Quit(RunState& run);

}  // namespace vondal
