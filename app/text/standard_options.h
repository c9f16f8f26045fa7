// "--help" and "--version": every program of the system answers them on standard output, in the
// locale's charset and with status 0, before anything else it does and whether standard output is
// a terminal or not. No log name, set name or option of the programs is spelt so (a log named
// "--help" is still reached as "./--help").
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace vondal {

enum class StandardOption { kNone, kHelp, kVersion };

// The request among the arguments (CP932, without the program's name): "--help" wins over
// "--version", wherever each stands.
StandardOption FindStandardOption(std::span<const std::string> arguments);

// The lines of a program's help about the two options themselves.
std::string_view StandardOptionLines();

}  // namespace vondal
