// One key typed in answer to a question asked on standard output before the program takes the
// terminal (the configuration's "続行しますか (Y/N)").
#pragma once

#include <functional>

namespace vondal {

// Calls `ask` to show the question and returns the first byte then read from `fd`, or EOF. On
// a terminal the key is read without waiting for Enter, and echo is off before the question is
// shown: a key typed the moment it appears (or queued behind a slow machine) is never echoed.
// The terminal's modes are put back before the function returns.
int AskKey(int fd, const std::function<void()>& ask);

}  // namespace vondal
