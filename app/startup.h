// The main program from its command line to its exit status: the console checks, the
// configuration, the start-up screen that reports every file opened, the main menu and quit.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings.h"

namespace vondal {

struct RunState;

// Runs Vondal with the arguments of main. Returns the exit status.
int RunVondal(int argc, char** argv);

// Start-up before the terminal is taken (steps 4 and 5): the local pool with the temporary
// pool's 52,000-byte quota inside it ("quota"), the screen buffer of cols × rows from the local
// pool, the field table, then the command line and the configuration, whose key tables take
// their room in the quota ("itable") and whose values are kept in the local pool. The final
// temporary pool is made by the next reset. None when the program ends here (the listing, a
// refused command line, the question answered no): exitStatus then holds the status.
std::unique_ptr<RunState> PrepareRun(int cols, int rows, std::span<const std::string> arguments,
                                     int& exitStatus, const ConfigureIo& io = {},
                                     std::string_view configFile = "+Vondal.ini");

// A line of the start-up screen at (R0 + rowOffset, C0 + colOffset), in the error colour or the
// start-up colour, flushed at once.
void StartupLine(const RunState& run, int rowOffset, int colOffset, std::string_view text,
                 bool error = false);

}  // namespace vondal
