#include "console/console_title.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/text/charset.h"

namespace vondal {

ConsoleTitle::ConsoleTitle(std::string_view cp932) {
  if (!isatty(STDOUT_FILENO)) return;
  std::string title = Cp932ToUtf8(cp932);
  for (char& c : title) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  // Push the title (XTWINOPS 22), set it (OSC 0); terminals without a title stack ignore the push.
  std::fputs(("\x1b[22;0t\x1b]0;" + title + "\x07").c_str(), stdout);
  std::fflush(stdout);
  set_ = true;
}

ConsoleTitle::~ConsoleTitle() {
  if (!set_) return;
  std::fputs("\x1b[23;0t", stdout);
  std::fflush(stdout);
}

}  // namespace vondal
