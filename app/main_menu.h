// The main menu: one line of single-key items from which every function of the program is
// reached. A function returns 0 (back to the menu) or a key code that the menu acts on as if it
// had been typed, so that functions chain into one another (":" "@" "^" "e").
#pragma once

#include <string>

namespace vondal {

struct RunState;

// The main-menu line, with "!" before E, J and S under the `readonly` toggle and before P
// unless the developer switch is on.
std::string MainMenuLine(bool readonly, bool authorsuse);

// Runs the menu until the user quits. Returns the exit status of quit.
int RunMainMenu(RunState& run);

}  // namespace vondal
