// Shared pieces of the log tests: a valid record and a LogUi that remembers what it was shown.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "log/log_ui.h"
#include "log/record.h"

namespace vondal::testing {

// A record that passes every write check.
inline Record ValidRecord(std::string callsign = "JA1ABC", std::string date = "240305",
                          std::string start = "0907") {
  Record r;
  r[DATE] = date;
  r[START] = start;
  r[END] = "0910";
  r[CALLSIGN] = callsign;
  r[FREQ] = "7.050";
  r[MODE] = "CW";
  r[sRST] = "599";
  r[rRST] = "579";
  r[QTH] = "東京都千代田区";
  r[NAME] = "ｽｽﾞｷ";
  return r;
}

class RecordingUi : public LogUi {
 public:
  void StartupLine(int rowOffset, int colOffset, std::string_view text, bool) override {
    lines[{rowOffset, colOffset}] = std::string(text);
  }
  void StartupNote(int rowOffset, int, std::string_view text) override {
    notes[rowOffset] = std::string(text);
  }
  void ReportLine(std::string_view text) override { reports.emplace_back(text); }
  void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
  bool ShiftHeld() override { return shift; }
  void RecordWritten(int n, bool appended) override { written.emplace_back(n, appended); }

  std::string Line(int row, int col = 0) const {
    auto it = lines.find({row, col});
    return it == lines.end() ? std::string() : it->second;
  }

  std::map<std::pair<int, int>, std::string> lines;
  std::map<int, std::string> notes;  // by row
  std::vector<std::string> reports;
  std::vector<std::string> messages;
  std::vector<std::pair<int, bool>> written;
  bool shift = false;
};

}  // namespace vondal::testing
