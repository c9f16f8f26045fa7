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
  int r0 = 1;   // start-up screen origin: row
  int c0 = 11;  // and column
};

}  // namespace vondal
