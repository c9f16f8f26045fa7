// What one run of the main program holds between start-up and quit: the settings, the screen,
// the open log with its index and safety file, the external file and the colour sets.
#pragma once

#include <memory>
#include <string>

#include "app/settings.h"
#include "app/startup_screen.h"
#include "color/color_sets.h"
#include "console/screen.h"
#include "log/external_file.h"
#include "log/file_system.h"
#include "log/log_file.h"
#include "log/record_index.h"
#include "log/safety_file.h"
#include "log/write_counters.h"
#include "station/rig.h"

namespace vondal {

struct RunState {
  Settings settings;
  std::unique_ptr<Screen> screen;
  int r0 = 1;             // start-up screen origin: row
  int c0 = 11;            // and column
  std::string macroFile;  // the `macro` value without its start choice

  StartupScreen ui;
  FileSystem& fs = RealFileSystem();
  WriteCounters counters;
  RecordIndex index{counters};
  SafetyFile safety{fs, counters};
  LogFile log{fs, counters, index, safety, ui};
  ExternalFile external{fs, counters};
  ColorSets colors{fs, counters};
  std::unique_ptr<Rig> rig;  // the radio of the `rig` key; null without it
};

}  // namespace vondal
