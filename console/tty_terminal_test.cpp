#include "console/tty_terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace vondal {
namespace {

// Collects what a TtyTerminal writes.
class Output {
 public:
  Output() { EXPECT_EQ(pipe2(fds_, O_NONBLOCK), 0); }
  ~Output() {
    close(fds_[0]);
    close(fds_[1]);
  }
  int fd() const { return fds_[1]; }
  std::string Take() {
    std::string out;
    char buffer[4096];
    for (ssize_t n; (n = read(fds_[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
    return out;
  }

 private:
  int fds_[2];
};

TEST(TtyTerminal, ColoursFollowTheConsoleOrderAndChangeOncePerRun) {
  Output output;
  TtyTerminal terminal(output.fd());
  terminal.DrawRun(0, 0, "ab", 0x1E);  // yellow bright on blue
  terminal.DrawRun(0, 2, "cd", 0x1E);
  terminal.DrawRun(0, 4, "e", 0xC3);  // cyan on bright red
  terminal.MoveCursor(5, 6);
  terminal.Sync();
  EXPECT_EQ(output.Take(), "\x1b[1;1H\x1b[93;44mabcd\x1b[36;101me\x1b[6;7H");
}

TEST(TtyTerminal, EveryTwoByteCharacterTakesTwoCells) {
  Output output;
  TtyTerminal terminal(output.fd());
  // 漢 is drawn two cells wide by every terminal: written as it is.
  terminal.DrawRun(2, 10, "漢", 0x07);
  // □ is one cell wide in most terminals: the cell after it is blanked and the cursor placed
  // behind both explicitly.
  terminal.DrawRun(3, 10, "□x", 0x07);
  terminal.MoveCursor(0, 0);
  terminal.Sync();
  EXPECT_EQ(output.Take(),
            "\x1b[3;11H\x1b[37;40m\xE6\xBC\xA2"
            "\x1b[4;11H\x1b[12G \x1b[11G\xE2\x96\xA1\x1b[13Gx"
            "\x1b[1;1H");
}

TEST(TtyTerminal, HalfWidthKanaFrameGlyphsAndStrayBytes) {
  Output output;
  TtyTerminal terminal(output.fd());
  terminal.DrawRun(0, 0, "ｱ\x01\x06\x80", 0x07);
  terminal.Sync();
  EXPECT_EQ(output.Take(), "\x1b[1;1H\x1b[37;40m\xEF\xBD\xB1\xE2\x94\x8C\xE2\x94\x80?\x1b[1;1H");
}

TEST(TtyTerminal, TitleIsUtf8WithoutControlBytes) {
  Output output;
  TtyTerminal terminal(output.fd());
  terminal.SetTitle("ﾛｸﾞ\x07.VD");
  terminal.Sync();
  EXPECT_EQ(output.Take(), "\x1b]0;\xEF\xBE\x9B\xEF\xBD\xB8\xEF\xBE\x9E .VD\x07\x1b[1;1H");
}

// A cursor shape the user gave the terminal stays unless the program set one of its own.
TEST(TtyTerminal, CursorShapeIsPutBackOnlyAfterTheProgramSetOne) {
  Output output;
  TtyTerminal terminal(output.fd());
  int told = 0;
  terminal.onCursorShapeSet = [&told] { ++told; };
  terminal.SetCursorSize(0);
  terminal.Forget();
  terminal.Sync();
  EXPECT_EQ(output.Take().find(" q"), std::string::npos);
  EXPECT_FALSE(terminal.CursorShapeSet());

  terminal.SetCursorSize(80);
  terminal.SetCursorSize(25);
  terminal.Sync();
  EXPECT_EQ(output.Take(), "\x1b[2 q\x1b[4 q\x1b[1;1H");
  EXPECT_TRUE(terminal.CursorShapeSet());
  EXPECT_EQ(told, 1);
  terminal.SetCursorSize(0);
  terminal.Sync();
  EXPECT_EQ(output.Take(), "\x1b[0 q\x1b[1;1H");
}

}  // namespace
}  // namespace vondal
