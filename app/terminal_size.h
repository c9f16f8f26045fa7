// A terminal that was resized while the program runs: the screen buffer of the new size.
#pragma once

namespace vondal {

struct RunState;

// When the terminal now has another size of at least 80 × 25 (cut to 200 × 80), the run's screen
// is replaced by a blank one of that size and the terminal cleared; the caller draws everything
// again. False when the size is the same or too small (the screen stays as it was, so that
// nothing shown is lost until the terminal is large enough again).
bool AdoptTerminalSize(RunState& run);

}  // namespace vondal
