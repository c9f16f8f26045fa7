// One run of scroll from its command line to its exit status: the checks, the file, the terminal
// and the viewer. main.cpp only converts the arguments.
#pragma once

#include <string>
#include <vector>

namespace vondal::scroll {

// Exit statuses: left with Enter or Esc, or ended by an error.
inline constexpr int kLeftWithEnter = 13;
inline constexpr int kLeftWithEsc = 27;
inline constexpr int kFailed = 1;

// Runs scroll with `args` (CP932, without the program's name) on the terminal of standard input
// and output. Errors are printed to the standard error stream as "(!) %s\n"; standard output
// must be a terminal ("Redirection banned"). "--help" and "--version" are answered first, on
// standard output whatever it is.
int RunScroll(const std::vector<std::string>& args);

}  // namespace vondal::scroll
