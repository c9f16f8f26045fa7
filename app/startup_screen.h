// The log files' view of the screen (log/log_ui.h) for the main program: start-up lines on the
// start-up screen, report lines, the Shift state of the last key.
#pragma once

#include <string>
#include <string_view>

#include "log/log_ui.h"

namespace vondal {

class StartupScreen : public LogUi {
 public:
  // Start-up lines are drawn relative to the origin (r0, c0) and end at column `right` (the
  // frame), clearing what stood there before.
  void SetOrigin(int r0, int c0, int right) {
    r0_ = r0;
    c0_ = c0;
    right_ = right;
  }

  void StartupLine(int rowOffset, int colOffset, std::string_view text, bool error = false) override;
  void StartupNote(int rowOffset, int colOffset, std::string_view text) override;
  void Flush() override;
  void ReportLine(std::string_view text) override;
  void RecordUse(std::string_view name) override;
  bool ShiftHeld() override;
  // RecordWritten stays empty: the record editor draws the lines of a record it wrote itself.

  // The last report line (quit's failures are printed once more when the program has ended).
  const std::string& lastReport() const { return lastReport_; }

 private:
  int r0_ = 1;
  int c0_ = 11;
  int right_ = 78;
  std::string lastReport_;
};

}  // namespace vondal
