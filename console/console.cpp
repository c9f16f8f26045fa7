#include "console/console.h"

#include <cassert>
#include <cstdio>
#include <cstdlib>

#include "app/text/charset.h"

namespace vondal {
namespace {

Screen* theScreen = nullptr;
Terminal* theTerminal = nullptr;
bool cursorVisible = true;
ConsoleSwitches switches;
ConsoleColors colors;
std::function<void()> restorer;

}  // namespace

void AttachConsole(Screen* screen, Terminal* terminal) {
  theScreen = screen;
  theTerminal = terminal;
  cursorVisible = true;
}

bool ConsoleAttached() { return theScreen != nullptr && theTerminal != nullptr; }

Screen& TheScreen() {
  assert(theScreen != nullptr);
  return *theScreen;
}

Terminal& TheTerminal() {
  assert(theTerminal != nullptr);
  return *theTerminal;
}

int MenuRow() { return TheScreen().Height() - 2; }
int MessageRow() { return TheScreen().Height() - 3; }

void Flush() {
  TheScreen().Flush(TheTerminal());
  TheTerminal().Sync();
}

void Repaint() {
  TheTerminal().Clear();
  TheScreen().MarkAllChanged();
  Flush();
}

void ShowCursor(bool visible) {
  if (visible == cursorVisible) return;
  cursorVisible = visible;
  TheTerminal().ShowCursor(visible);
}

void SetCursorSize(int size) {
  if (size < 0 || size > 100) return;
  TheTerminal().SetCursorSize(size);
}

void MoveCursor(int row, int col) { TheTerminal().MoveCursor(row, col); }

ConsoleSwitches& TheConsoleSwitches() { return switches; }
ConsoleColors& TheConsoleColors() { return colors; }

void SetTerminalRestorer(std::function<void()> restore) { restorer = std::move(restore); }

void EndProgram(int status, std::string_view farewell) {
  if (ConsoleAttached()) TheTerminal().Sync();
  if (restorer) restorer();
  if (!farewell.empty()) {
    PrintLocal(stdout, farewell);
    std::fputs("\n", stdout);
  }
  std::fflush(stdout);
  std::exit(status);
}

}  // namespace vondal
