// The main program from its command line to its exit status: the console checks, the
// configuration, the start-up screen that reports every file opened, the main menu and quit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"

namespace vondal {

struct RunState;

// Runs Vondal with the arguments of main. Returns the exit status.
int RunVondal(int argc, char** argv);

// A line of the start-up screen at (R0 + rowOffset, C0 + colOffset), in the error colour or the
// start-up colour, flushed at once.
void StartupLine(const RunState& run, int rowOffset, int colOffset, std::string_view text,
                 bool error = false);

}  // namespace vondal
