// What one run of the main program holds between start-up and quit: the settings, the screen
// and terminal, and the open files.
#pragma once

#include <memory>
#include <string>

#include "app/settings.h"
#include "console/screen.h"

namespace vondal {

struct RunState {
  Settings settings;
  std::unique_ptr<Screen> screen;
  // What the main menu shows behind itself: the start-up screen as it stood when start-up ended
  // (the information screen's current page takes its place once that screen exists).
  std::unique_ptr<Screen> background;
  int r0 = 1;   // start-up screen origin: row
  int c0 = 11;  // and column
};

}  // namespace vondal
