// `vondal --export-adif=OUT.ADI [LOG]`: the standard ADIF of every record of a log, for scripts
// and cron. It needs no terminal and draws no screen: the log (or the configuration set that
// names it) and the options come as in an interactive run, refusals go to standard error, and
// the exit status is 0 when the file is in place, 1 otherwise.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "app/command_line.h"

namespace vondal {

// Runs the export the command line asks for (commandLine.exportAdif is set); `arguments` are the
// same arguments, CP932. Returns the exit status.
int RunAdifExportCommand(const CommandLine& commandLine, std::span<const std::string> arguments,
                         std::string_view configFile = "+Vondal.ini");

}  // namespace vondal
