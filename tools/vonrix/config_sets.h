// What Vonrix takes from Vondal.ini: the `log` of a configuration set, and the list of the sets.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace vondal {

// The log named by a LogFile argument: the `log` value of the set (section) of that name, else
// the `log` value of [DEFAULT], else the argument itself.
std::string LogOfConfigSet(std::string_view name, std::string_view configFile,
                           const std::function<void(std::string_view)>& print);

// Prints the files, sets and captions of the configuration (the reader's list mode).
void ListConfigSets(std::string_view configFile, const std::function<void(std::string_view)>& print);

}  // namespace vondal
