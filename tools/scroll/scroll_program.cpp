#include "tools/scroll/scroll_program.h"

#include <cstdio>
#include <string_view>

#include "app/text/block_allocator.h"
#include "app/text/charset.h"
#include "app/text/standard_options.h"
#include "app/text/version.h"
#include "console/key_source.h"
#include "console/tty_session.h"
#include "tools/scroll/scroll_text.h"
#include "tools/scroll/viewer.h"

namespace vondal::scroll {
namespace {

constexpr uint8_t kIdleFrameAttr = 8;

int Fail(std::string_view message) {
  PrintLocal(stderr, "(!) " + std::string(message) + "\n");
  return kFailed;
}

// Earlier output scrolls up out of the view: one line feed on the last row for every row from
// the header row down to the row where the cursor stood, so that what stood there ends just
// above the header.
void ScrollOutEarlierOutput(TtySession& session, int screenRows, int top) {
  int cursorRow = session.CursorRowAtEnter();
  if (cursorRow < 0) cursorRow = screenRows - 1;
  const int lineFeeds = cursorRow - (top - 1) + 1;
  if (lineFeeds <= 0) return;
  session.terminal().Send("\x1b[" + std::to_string(screenRows) + ";1H" + std::string(lineFeeds, '\n'));
}

}  // namespace

int RunScroll(const std::vector<std::string>& args) {
  switch (FindStandardOption(args)) {
    case StandardOption::kHelp:
      PrintLocal(stdout, HelpText());
      return 0;
    case StandardOption::kVersion:
      PrintLocal(stdout, std::string("scroll ") + kProgramVersion + "\n");
      return 0;
    case StandardOption::kNone:
      break;
  }
  int screenRows = 0, screenCols = 0;
  if (!TtySession::StandardStreamsAreTerminals() || !TtySession::TerminalSize(&screenRows, &screenCols)) {
    return Fail("Redirection banned");
  }
  ScrollOptions options;
  if (std::string refusal = ParseOptions(args, screenRows, screenCols, &options); !refusal.empty()) {
    return Fail(refusal);
  }
  BlockAllocator allocator(SIZE_MAX, kScrollBlockSize);
  ScrollText text;
  if (std::string failure =
          ReadText(options.fileName, options.colorMode, options.colorFile, allocator, &text);
      !failure.empty()) {
    return Fail(failure);
  }
  FitViewToText(static_cast<long>(text.count()), &options);

  TtySession session;
  session.Enter(ScreenUse::kInPlace);
  SetKeySource(&session);
  TtyTerminal& terminal = session.terminal();
  terminal.ShowCursor(false);
  ScrollOutEarlierOutput(session, screenRows, options.top);
  Viewer viewer(text, options, screenCols, terminal);
  session.onRepaint = [&viewer] { viewer.DrawAll(); };
  viewer.DrawAll();
  const int status = viewer.Run();

  // The view stays on the screen after the end, its frame greyed; Vondal repaints its own
  // screen instead. The shell's prompt comes below the footer.
  if (!options.startedByVondal) viewer.DrawFrame(kIdleFrameAttr);
  terminal.MoveCursor(options.bottom + (options.memoryReport ? 1 : 2),
                      options.memoryReport ? options.left : 0);
  terminal.ShowCursor(true);
  session.Leave();
  SetKeySource(nullptr);
  if (options.memoryReport) PrintLocal(stderr, allocator.Report() + "\n");
  return status;
}

}  // namespace vondal::scroll
