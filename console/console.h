// The program's one screen and the terminal it is shown on, the cursor, and the orderly end of
// the program. Menus and editors draw into TheScreen() and call Flush().
#pragma once

#include <functional>
#include <string_view>

#include "console/screen.h"
#include "console/terminal.h"

namespace vondal {

// Makes `screen` and `terminal` the program's console (neither is owned).
void AttachConsole(Screen* screen, Terminal* terminal);
bool ConsoleAttached();
Screen& TheScreen();
Terminal& TheTerminal();

// The menu line is row H-2, the message line row H-3; row H-1 stays empty.
int MenuRow();
int MessageRow();

// Sends the changed rows to the terminal and puts the cursor back.
void Flush();
// Draws the whole screen again on a cleared terminal (after a resize, a suspend, a child).
void Repaint();

// Cursor: ShowCursor does nothing when the state is already the requested one. SetCursorSize:
// 1-100 applied, 0 restores the size the terminal had at start, others ignored.
void ShowCursor(bool visible);
void SetCursorSize(int size);
void MoveCursor(int row, int col);

// Switches the console layer itself obeys; the program sets them from its settings and menus.
struct ConsoleSwitches {
  bool authorsuse = false;  // developer mode: numbered messages keep their number
  bool sound = true;        // Beep sounds
  bool guide = true;        // the on-screen guide texts are shown
  // The reader can lay its screen out again: a resize of the terminal then arrives as the key
  // scan::kResize at the next read (the record editor asks for it while it waits for keys).
  bool resizeKey = false;
  // The reader takes scan::kWatched, the key of what the key wait watches besides the keyboard
  // (console/key_watch.h; set with WatchKeyScope).
  bool watchKey = false;
};
ConsoleSwitches& TheConsoleSwitches();

// Attributes of the menu line, the message line and the report lines; the colour sets keep
// them current (color/color_set.h).
struct ConsoleColors {
  uint8_t menuKey = kPlainAttr;
  uint8_t menuLabel = kPlainAttr;
  uint8_t message = kPlainAttr;
  uint8_t error = kPlainAttr;
  uint8_t report = kPlainAttr;
};
ConsoleColors& TheConsoleColors();

// Registers what restores the terminal before the program ends (the terminal backend).
void SetTerminalRestorer(std::function<void()> restore);

// Restores the terminal and ends the program with `status`. A non-empty `farewell` (CP932) is
// printed on the restored terminal, so that a message shown on the program's screen is still
// there to read after the program has gone.
[[noreturn]] void EndProgram(int status, std::string_view farewell = {});

}  // namespace vondal
