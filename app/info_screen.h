// The information screen: the program's version, configuration, files, tables and internal
// counters on pages chosen with single keys. The page last chosen is also what the main menu
// shows behind itself whenever a function returns to it.
#pragma once

#include <string>

namespace vondal {

struct RunState;

// The page shown and the sub-views of the pages that have them.
struct InfoPageState {
  char page = 'I';       // I C S D A F K R, and M T in developer mode
  int autoFillView = 0;  // page A: 0 the `mode` map, 1 the band map, 2 the `mode` lines
  int keyMacroView = 0;  // page K: 0 the comments, 1 the texts of the assigned macros
  int settingsView = 0;  // page S: the part shown when its lines need more than one
};
InfoPageState& TheInfoPage();

// The menu line of the screen; M and T are hidden unless in developer mode.
std::string InfoMenuLine(bool authorsuse);

// Runs the screen's menu until a key leaves it: "e" (Enter: on into the editor), Tab, "@" or
// "^" for the main menu to act on, or 0 (Esc, Q).
int InfoScreen(RunState& run);

// Draws the current page in its frame, without the menu (the main menu's background). The rows
// above the message line are drawn anew; the message line only when the frame reaches it.
void DrawInfoPage(RunState& run);

}  // namespace vondal
