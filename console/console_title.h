// The terminal window's title while a command-line program of the system runs (Vonrix): the
// user's title is pushed, ours set, and the user's popped back when the object goes. Nothing is
// sent when standard output is no terminal (a pipe or a file gets no escape sequences).
#pragma once

#include <string_view>

namespace vondal {

class ConsoleTitle {
 public:
  explicit ConsoleTitle(std::string_view cp932);
  ~ConsoleTitle();
  ConsoleTitle(const ConsoleTitle&) = delete;
  ConsoleTitle& operator=(const ConsoleTitle&) = delete;

 private:
  bool set_ = false;
};

}  // namespace vondal
