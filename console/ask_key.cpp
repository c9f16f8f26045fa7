#include "console/ask_key.h"

#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace vondal {

int AskKey(int fd, const std::function<void()>& ask) {
  termios saved;
  const bool terminal = isatty(fd) && tcgetattr(fd, &saved) == 0;
  if (terminal) {
    termios oneKey = saved;
    oneKey.c_lflag &= ~(ICANON | ECHO);
    oneKey.c_cc[VMIN] = 1;
    oneKey.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &oneKey);  // TCSANOW: a key already typed stays to be read
  }
  ask();
  unsigned char key = 0;
  ssize_t got;
  do {
    got = read(fd, &key, 1);
  } while (got < 0 && errno == EINTR);
  if (terminal) tcsetattr(fd, TCSANOW, &saved);
  return got == 1 ? key : EOF;
}

}  // namespace vondal
