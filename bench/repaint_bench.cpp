// A full repaint of a 200 × 80 screen through the terminal backend: bytes written and
// attribute changes per repaint, against the screen's plain text in UTF-8 (what `cat` of the
// same text would write) and the number of runs of equal attribute.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/text/charset.h"
#include "bench/stopwatch.h"
#include "console/screen.h"
#include "console/tty_terminal.h"

namespace {

// A screen like the editor's: record lines with Japanese text, several colours per line.
void Fill(vondal::Screen& screen) {
  const char* texts[] = {"240305 0907 JA1ABC 7.050 CW 599 599 東京都千代田区 ﾔﾏﾀﾞ ", "※□○←↑ ﾃｽﾄ ", "QSO ",
                         "漢字かなカナ "};
  for (int row = 0; row < screen.Height(); ++row) {
    int col = 0;
    int k = row;
    while (col < screen.Width()) {
      uint8_t attr = static_cast<uint8_t>(0x07 + (k % 5) * 0x10 + (k % 3));
      col = screen.PutTextToEnd(texts[k % 4], row, col, attr, 0x0A);
      ++k;
    }
  }
}

size_t CountRuns(const vondal::Screen& screen) {
  size_t runs = 0;
  for (int row = 0; row + 1 < screen.Height(); ++row) {
    int width = row + 2 == screen.Height() ? screen.Width() - 1 : screen.Width();
    for (int col = 0; col < width; ++col) {
      if (col == 0 || (screen.AttrAt(row, col) != screen.AttrAt(row, col - 1) &&
                       screen.KindAt(row, col) != vondal::kSecondHalf)) {
        ++runs;
      }
    }
  }
  return runs;
}

}  // namespace

int main() {
  int devNull = open("/dev/null", O_WRONLY);
  vondal::Screen screen(200, 80);
  Fill(screen);

  // The reference: the screen's text converted to UTF-8 and written in one go.
  std::string text;
  for (int row = 0; row + 1 < screen.Height(); ++row) text.append(screen.RowText(row)).push_back('\n');
  std::string utf8 = vondal::Cp932ToUtf8(text);

  // One repaint counted through a pipe-less terminal: bytes and SGR changes.
  vondal::TtyTerminal counting(devNull);
  screen.MarkAllChanged();
  screen.Flush(counting);
  counting.Sync();  // warm the glyph cache
  size_t before = counting.BytesWritten();
  screen.MarkAllChanged();
  screen.Flush(counting);
  counting.Sync();
  size_t bytes = counting.BytesWritten() - before;

  // SGR changes of a repaint, counted on the bytes themselves.
  int pipeFds[2];
  if (pipe(pipeFds) != 0) return 1;
  fcntl(pipeFds[1], F_SETPIPE_SZ, 1 << 20);
  vondal::TtyTerminal recorded(pipeFds[1]);
  screen.MarkAllChanged();
  screen.Flush(recorded);
  recorded.Sync();
  close(pipeFds[1]);
  std::string output;
  char buffer[65536];
  for (ssize_t n; (n = read(pipeFds[0], buffer, sizeof buffer)) > 0;) output.append(buffer, n);
  size_t sgr = 0;
  for (size_t pos = output.find("\x1b["); pos != std::string::npos; pos = output.find("\x1b[", pos + 2)) {
    size_t end = output.find_first_of("HGmq", pos + 2);
    if (end != std::string::npos && output[end] == 'm') ++sgr;
  }
  size_t runs = CountRuns(screen);

  const int rounds = 200;
  vondal::bench::Stopwatch repaintTime;
  for (int i = 0; i < rounds; ++i) {
    screen.MarkAllChanged();
    screen.Flush(counting);
    counting.Sync();
  }
  double repaintUs = repaintTime.Seconds() * 1e6 / rounds;
  vondal::bench::Stopwatch writeTime;
  for (int i = 0; i < rounds; ++i) {
    if (write(devNull, utf8.data(), utf8.size()) < 0) return 1;
  }
  double catUs = writeTime.Seconds() * 1e6 / rounds;

  std::printf("full repaint 200x80\n");
  std::printf("  bytes written       %8zu   plain UTF-8 text %8zu   ratio %.2f\n", bytes, utf8.size(),
              static_cast<double>(bytes) / utf8.size());
  std::printf("  attribute changes   %8zu   runs of equal attr %6zu   ratio %.2f (at most 1.00)\n", sgr, runs,
              static_cast<double>(sgr) / runs);
  std::printf("  time per repaint    %8.1f us   write of the text %6.1f us   ratio %.1f\n", repaintUs, catUs,
              repaintUs / catUs);
  return sgr <= runs ? 0 : 1;
}
