// The colour editor as the main menu runs it: its texts typed with the string editor.
#pragma once

namespace vondal {

struct RunState;

// Runs the colour editor on the run's colour sets; returns what RunColorEditor returns.
int EditColors(RunState& run);

}  // namespace vondal
