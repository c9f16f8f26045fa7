// Starting another program in the terminal: the viewer scroll, the developer's command prompt.
#pragma once

#include <string>
#include <vector>

namespace vondal {

// Runs `argv` (CP932; argv[0] is looked up in PATH unless it holds a "/") and waits for it. The
// terminal is handed over first and taken back afterwards: key modes off, cursor shown, colours
// reset, the user's terminal modes back, and the alternate screen left unless `keepScreen`
// (the command prompt keeps it, so that the command's output stays on the program's screen).
// While the child runs this program ignores SIGINT and SIGQUIT. The caller repaints.
//
// Returns the child's exit status, 128 + the signal that ended it, or -1 when no child could be
// started (an argv[0] that cannot be run gives 127).
int RunChild(const std::vector<std::string>& argv, bool keepScreen);

}  // namespace vondal
