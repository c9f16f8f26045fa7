#include "app/command_prompt.h"

#include <unistd.h>

#include "app/run_state.h"
#include "app/text/charset.h"
#include "app/text/sjis.h"
#include "console/child_process.h"
#include "console/console.h"
#include "console/menu_line.h"
#include "macro/line_input.h"

namespace vondal {
namespace {

constexpr size_t kCommandBytes = 47;
constexpr int kCommandRow = 6;

std::string CurrentFolderPrompt() {
  char folder[4096];
  if (getcwd(folder, sizeof folder) == nullptr) return ">";
  return LocaleToCp932(folder) + ">";
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  for (size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size())) {
    text.replace(pos, from.size(), to);
  }
}

void DrawPromptScreen(const RunState& run) {
  Screen& screen = TheScreen();
  screen.ClearRows(0, screen.Height() - 1);
  int col = screen.PutTextToEnd("$0 ", 1, 0, kPlainAttr, kPlainAttr);
  screen.PutTextToEnd(run.settings.log, 1, col, kPlainAttr, kPlainAttr);
  col = screen.PutTextToEnd("$1 ", 2, 0, kPlainAttr, kPlainAttr);
  screen.PutTextToEnd(run.settings.safety, 2, col, kPlainAttr, kPlainAttr);
  Flush();
}

}  // namespace

std::string SubstitutePaths(std::string_view line, std::string_view logPath, std::string_view safetyPath) {
  std::string text(line);
  ReplaceAll(text, "$0", logPath);
  ReplaceAll(text, "$1", safetyPath);
  return text;
}

int RunCommandPrompt(RunState& run) {
  std::string line;
  for (;;) {
    DrawPromptScreen(run);
    LineInputResult input = InputLine(4, CurrentFolderPrompt(), line, kCommandBytes);
    if (!input.accepted) break;
    line = input.text;
    if (line.empty()) {
      line = CutAtCharacter(run.settings.prompt, kCommandBytes);
      continue;
    }
    if (line.find('$') != std::string::npos) {
      line = SubstitutePaths(line, run.settings.log, run.settings.safety);
      continue;
    }
    // The command's output goes to the program's own screen from row 6 and stays there until
    // a key has been pressed.
    MoveCursor(kCommandRow, 0);
    ShowCursor(true);
    Flush();
    RunChild({"/bin/sh", "-c", line}, true);
    TheTerminal().Sync();
    std::fputs("\r\n\r\n", stdout);
    std::fflush(stdout);
    WaitAnyKey();
    TheTerminal().SetTitle(run.settings.log);
    line.clear();
  }
  TheScreen().ClearRows(0, TheScreen().Height() - 1);
  Repaint();
  return 0;
}

}  // namespace vondal
