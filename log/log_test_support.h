// Shared pieces of the log tests: a valid record, a LogUi that remembers what it was shown, a
// log with its companion files, and a folder of real files that goes away again.
#pragma once

#include <stdlib.h>

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "log/log_file.h"
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
  bool ShiftHeld() override { return shift; }
  void RecordWritten(int n, bool appended) override { written.emplace_back(n, appended); }

  std::string Line(int row, int col = 0) const {
    auto it = lines.find({row, col});
    return it == lines.end() ? std::string() : it->second;
  }

  std::map<std::pair<int, int>, std::string> lines;
  std::map<int, std::string> notes;  // by row
  std::vector<std::string> reports;
  std::vector<std::pair<int, bool>> written;
  bool shift = false;
};

// The image of a record as a string, for comparing files.
inline std::string Image(const Record& r) {
  RecordImage image = EncodeRecord(r);
  return std::string(image.begin(), image.end());
}

// A log with everything it writes beside it (index, journal), over one file system.
struct LogSet {
  explicit LogSet(FileSystem& fs, Clock clock = LocalNow)
      : safety(fs, counters, std::move(clock)), log(fs, counters, index, safety, ui) {}

  WriteCounters counters;
  RecordIndex index{counters};
  SafetyFile safety;
  RecordingUi ui;
  LogFile log;
};

// A new folder under /tmp, removed with everything in it when the object goes.
class TemporaryFolder {
 public:
  TemporaryFolder() {
    char pattern[] = "/tmp/vondal-test-XXXXXX";
    if (mkdtemp(pattern) != nullptr) path_ = pattern;
  }
  ~TemporaryFolder() {
    if (!path_.empty()) std::system(("rm -rf '" + path_ + "'").c_str());
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string Path(const std::string& name) const { return path_ + "/" + name; }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static void Write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }

 private:
  std::string path_;
};

}  // namespace vondal::testing
