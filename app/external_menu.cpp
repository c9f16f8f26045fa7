#include "app/external_menu.h"

#include "app/run_state.h"
#include "color/color_set.h"
#include "console/console.h"
#include "console/key_source.h"
#include "console/menu_line.h"
#include "console/viewer.h"
#include "macro/edit_error.h"
#include "macro/edit_state.h"
#include "macro/line_input.h"

namespace vondal {
namespace {

void DrawCurrentFile(const ExternalFile& external) {
  Screen& screen = TheScreen();
  screen.ClearRows(0, screen.Height() - 1);
  screen.PutTextToEnd("現在", 1, 1, kPlainAttr, kPlainAttr);
  const std::string value = external.isOpen() ? external.Value() : "-";
  screen.PutTextToEnd(value, 2, 3, kPlainAttr, kPlainAttr);
  Flush();
}

void ShowResult(const ExternalResult& result) {
  if (result.message.empty()) return;
  ShowMessage(result.message);
  if (result.error) Beep();
}

// R and W: asks for the name until a file opens or the user gives up with Esc.
void PromptAndOpen(ExternalFile& external, char mode) {
  const char* prompt = mode == 'R' ? "読込外部ﾌｧｲﾙ名" : "書出外部ﾌｧｲﾙ名";
  std::string name = external.name();
  for (;;) {
    LineInputResult input = InputLine(MenuRow() - 3, prompt, name, kExternalNameBytes);
    if (!input.accepted) return;
    name = input.text;
    TheEditState().text = name;
    std::string failure = external.Open(mode, name);
    if (failure.empty()) return;
    // As an error: it aborts a running macro and stays on the message line until the next key,
    // while the name is asked for again.
    ShowMessage(failure, TheEditState());
  }
}

// S: the file in the viewer; reading goes on where it stood.
int View(ExternalFile& external) {
  if (!TheConsoleSwitches().authorsuse || !external.isOpen()) return 0;
  external.CloseForViewing();
  const int status = RunViewer(external.name(), ViewerColorLetters());
  if (std::string failure = external.Reopen(); !failure.empty()) ShowMessage(failure);
  return status == 13 ? 'e' : 0;
}

}  // namespace

int RunExternalMenu(RunState& run) {
  ExternalFile& external = run.external;
  DrawCurrentFile(external);
  ShowMenu(kExternalMenu);
  const KeyEvent key = ReadKey();
  switch (key.upper) {
    case 13:
      return 'e';
    case 'R':
    case 'W':
      PromptAndOpen(external, static_cast<char>(key.upper));
      break;
    case 'X':
    case 'H':
      ShowResult(external.Access(TheEditState().text, key.upper == 'H'));
      break;
    case 'S':
      return View(external);
    case 'C':
      external.Close();
      break;
    default:
      break;
  }
  return 0;
}

}  // namespace vondal
