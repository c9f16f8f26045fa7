#include "app/terminal_size.h"

#include <algorithm>

#include "app/run_state.h"
#include "console/console.h"
#include "console/tty_session.h"

namespace vondal {

bool AdoptTerminalSize(RunState& run) {
  int rows = 0;
  int cols = 0;
  if (!run.screen || !TtySession::TerminalSize(&rows, &cols)) return false;
  rows = std::min(rows, kMaxScreenHeight);
  cols = std::min(cols, kMaxScreenWidth);
  if (rows < 25 || cols < 80) return false;
  if (rows == run.screen->Height() && cols == run.screen->Width()) return false;
  // The start-up block of the local pool keeps its first size; a later size has its own buffer.
  auto screen = std::make_unique<Screen>(cols, rows);
  screen->SetFrameGlyphs(run.screen->FrameGlyphs());
  run.screen = std::move(screen);
  AttachConsole(run.screen.get(), &TheTerminal());
  Repaint();
  return true;
}

}  // namespace vondal
