#include "console/menu_line.h"

#include "app/text/sjis.h"
#include "console/console.h"
#include "console/key_source.h"

namespace vondal {
namespace {

int reportRow = 1;

bool EndsWord(char c) { return c == ' ' || c == '_' || c == '!' || c == '$'; }

// The run of characters from `pos` up to the next blank, "_", "!" or "$" (two-byte characters
// are stepped over whole: their second byte may be "_").
size_t WordEnd(std::string_view text, size_t pos) {
  while (pos < text.size() && !EndsWord(text[pos])) pos += CharLength(text, pos);
  return pos;
}

uint8_t Reversed(uint8_t attr) { return static_cast<uint8_t>((attr << 4) | (attr >> 4)); }

}  // namespace

int DrawMenuMarkup(std::string_view menu, int row) {
  Screen& screen = TheScreen();
  const ConsoleColors& colors = TheConsoleColors();
  int col = 0;
  size_t i = 0;
  if (!menu.empty() && menu[0] == '>') {
    size_t end = WordEnd(menu, 1);
    std::string_view path = menu.substr(1, end - 1);
    uint8_t pathAttr = Reversed(colors.menuLabel);
    col = screen.PutTextToEnd(path, row, col, pathAttr, pathAttr);
    i = end < menu.size() && menu[end] == '$' ? end + 1 : end;
  }
  while (i < menu.size()) {
    char prefix = menu[i];
    bool hidden = prefix == '!';
    bool joined = prefix == '_';
    if (prefix == ' ' || joined || hidden) ++i;
    if (i >= menu.size()) break;
    std::string_view key;
    if (menu[i] == '$') {
      size_t close = menu.find('$', i + 1);
      if (close == std::string_view::npos) close = menu.size();
      key = menu.substr(i + 1, close - i - 1);
      i = close < menu.size() ? close + 1 : close;
    } else {
      size_t length = CharLength(menu, i);
      key = menu.substr(i, length);
      i += length;
    }
    size_t labelEnd = WordEnd(menu, i);
    std::string_view label = menu.substr(i, labelEnd - i);
    i = labelEnd;
    if (hidden) continue;
    if (col > 0) col = joined ? screen.PutChar('_', row, col, kPlainAttr) : col + 1;
    col = screen.PutTextToEnd(key, row, col, colors.menuKey, colors.menuKey);
    col = screen.PutTextToEnd(label, row, col, colors.menuLabel, colors.menuLabel);
  }
  return col;
}

int ShowMenu(std::string_view menu) {
  ShowCursor(false);
  Screen& screen = TheScreen();
  screen.ClearRows(MenuRow(), MenuRow());
  int col = DrawMenuMarkup(menu, MenuRow());
  Flush();
  return col;
}

std::string_view MessageShown(std::string_view text) {
  bool numbered = text.size() >= 3 && text[0] >= '0' && text[0] <= '9' &&
                  !IsLeadByte(static_cast<unsigned char>(text[1])) && text[2] == ')';
  if (numbered && !TheConsoleSwitches().authorsuse) return text.substr(3);
  return text;
}

void ShowMessage(std::string_view text) {
  uint8_t attr = TheConsoleColors().message;
  TheScreen().PutTextToEnd(MessageShown(text), MessageRow(), 0, attr, attr);
  Flush();
}

void FatalMessage(std::string_view text) {
  ShowMessage(text);
  MoveCursor(MenuRow(), 0);
  SetCursorSize(0);
  ShowCursor(true);
  Flush();
  EndProgram(1, MessageShown(text));
}

KeyEvent WaitAnyKey() {
  ShowMenu(TheConsoleSwitches().guide ? ">確認> $何かｷｰを押してください$" : ">確認>");
  return ReadKey();
}

void Beep() {
  if (!TheConsoleSwitches().sound) return;
  TheTerminal().Bell();
  TheTerminal().Sync();
}

void RejectKey(int code) {
  if (code == 27) return;
  Beep();
  if ((code >= 0 && code <= 0xFF && IsLeadByte(static_cast<unsigned char>(code))) || code == 0xFF) ReadKey();
}

void ReportLine(std::string_view text, int step) {
  if (step < 0) {
    reportRow = 1;
    return;
  }
  if (reportRow < TheScreen().Height() - 1) {
    uint8_t attr = TheConsoleColors().report;
    TheScreen().PutTextToEnd(text, reportRow, 1, attr, attr);
  }
  reportRow += step;
  Flush();
}

}  // namespace vondal
