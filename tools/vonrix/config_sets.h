// What Vonrix takes from Vondal.ini: the `log` of a configuration set, and the list of the sets.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "log/file_system.h"

namespace vondal {

// The log file a LogFile argument names, with its extension completed: the `log` of the set
// (section) of that name; else, unless the argument itself names a log file that exists, the
// `log` of [DEFAULT]; else the argument itself. What the reader has to say goes to print.
std::string LogOfConfigSet(std::string_view name, std::string_view configFile, FileSystem& fs,
                           const std::function<void(std::string_view)>& print);

// Prints the files, sets and captions of the configuration (the reader's list mode).
void ListConfigSets(std::string_view configFile, const std::function<void(std::string_view)>& print);

}  // namespace vondal
