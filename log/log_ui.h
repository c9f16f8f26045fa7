// What the log files need from the screen around them. The program frame implements it over the
// console; the defaults do nothing, which is what tests and the companion programs want.
#pragma once

#include <string_view>

namespace vondal {

class LogUi {
 public:
  virtual ~LogUi() = default;

  // A text on the start-up screen at row R0 + rowOffset, column C0 + colOffset; `error` draws it
  // in the error colour.
  virtual void StartupLine(int /*rowOffset*/, int /*colOffset*/, std::string_view /*text*/,
                           bool /*error*/ = false) {}

  // A note behind the text of a start-up line (what was repaired in a file), in the error
  // colour: at column C0 + colOffset, or further left over the line's end when the frame is too
  // narrow, so that it is always seen whole.
  virtual void StartupNote(int /*rowOffset*/, int /*colOffset*/, std::string_view /*text*/) {}

  // Brings what was drawn to the terminal (progress of long steps).
  virtual void Flush() {}

  // A progress line of quit (the report line).
  virtual void ReportLine(std::string_view /*text*/) {}

  // Records an operation's use of the temporary pool under a short name ("index").
  virtual void RecordUse(std::string_view /*name*/) {}

  // Whether Shift was held with the most recent key.
  virtual bool ShiftHeld() { return false; }

  // Record n was written: overwritten (appended false) or added at the end. The editor refreshes
  // the lines of its list that show it.
  virtual void RecordWritten(int /*n*/, bool /*appended*/) {}
};

}  // namespace vondal
