#include "console/ask_key.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace vondal {
namespace {

// A pseudo-terminal in its usual cooked mode with echo on, as a shell leaves it.
class PseudoTerminal {
 public:
  PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    EXPECT_GE(master_, 0);
    EXPECT_EQ(grantpt(master_), 0);
    EXPECT_EQ(unlockpt(master_), 0);
    slave_ = open(ptsname(master_), O_RDWR | O_NOCTTY);
    EXPECT_GE(slave_, 0);
  }
  ~PseudoTerminal() {
    close(slave_);
    close(master_);
  }
  int slave() const { return slave_; }
  void Type(const char* keys) { EXPECT_EQ(write(master_, keys, std::strlen(keys)), std::strlen(keys)); }
  // What the terminal shows: the program's output and the echo of typed keys.
  std::string Shown() {
    std::string shown;
    char buffer[256];
    pollfd ready{master_, POLLIN, 0};
    while (poll(&ready, 1, 200) > 0) {
      ssize_t n = read(master_, buffer, sizeof buffer);
      if (n <= 0) break;
      shown.append(buffer, n);
    }
    return shown;
  }

 private:
  int master_ = -1;
  int slave_ = -1;
};

// The terminal's modes as one text, field by field (the struct's padding is no mode).
std::string Modes(int fd) {
  termios modes{};
  EXPECT_EQ(tcgetattr(fd, &modes), 0);
  return std::to_string(modes.c_iflag) + " " + std::to_string(modes.c_oflag) + " " +
         std::to_string(modes.c_cflag) + " " + std::to_string(modes.c_lflag) + " " +
         std::string(reinterpret_cast<const char*>(modes.c_cc), NCCS);
}

TEST(AskKey, AKeyTypedAsTheQuestionAppearsIsReadWithoutEcho) {
  PseudoTerminal pty;
  const std::string before = Modes(pty.slave());
  const int key = AskKey(pty.slave(), [&pty] {
    EXPECT_EQ(write(pty.slave(), "Y/N?", 4), 4);
    EXPECT_EQ(pty.Shown(), "Y/N?");
    pty.Type("n");               // the user answers at once, before the program reads
    EXPECT_EQ(pty.Shown(), "");  // given the time to echo it, the terminal does not
  });
  EXPECT_EQ(key, 'n');
  EXPECT_EQ(Modes(pty.slave()), before);
}

}  // namespace
}  // namespace vondal
