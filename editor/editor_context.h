// What the record editor works on: the open log with its index, and what the program around it
// tells it (the station's call sign for the title row).
#pragma once

#include <functional>
#include <string>

#include "log/external_file.h"
#include "log/log_file.h"
#include "log/record_index.h"
#include "station/rig.h"

namespace vondal {

struct EditorContext {
  LogFile& log;
  RecordIndex& index;
  std::string callsign{};  // the `callsign` setting
  // Replaces the screen by one of the terminal's new size when it was resized; true when it did
  // (the editor then lays its screen out again). Tests leave it empty.
  std::function<bool()> adoptTerminalSize{};
  // Enters an operation's name in the memory history ("1stonly"); may be empty.
  std::function<void(std::string_view)> recordUse{};
  // The journal (time records) and the external file (its access from the Other menu works on
  // the current field's text, which the function is handed and gives back); may be null or empty.
  SafetyFile* safety = nullptr;
  ExternalFile* external = nullptr;
  std::function<void(std::string& text, size_t maxLength)> externalAccess{};
  // The radio (the `rig` key): the default data of FREQ and MODE. Null without the key.
  Rig* rig = nullptr;
};

}  // namespace vondal
